#pragma once
// What the fuzz targets share: a folder of their own for the input file and the settings
// store, and a check that stops the run with a message when an invariant breaks.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Made once per process: LocalAppData points into it (so the settings file is
// <folder>/Velmora/Kalvex.ini) and the English (GB) texts are selected. In /dev/shm when
// there is one, as every input writes files.
class TFuzzFolder {
public:
    TFuzzFolder();
    ~TFuzzFolder();

    const std::string& Path() const { return path; }
    std::string SettingsPath() const { return path + "/Velmora/Kalvex.ini"; }
    // Writes the bytes as the named file in the folder; returns its path.
    std::string Write(const std::string& name, std::string_view bytes) const;

private:
    std::string path;
};

// Prints what broke and aborts, so libFuzzer saves the input and the replay fails.
void Require(bool holds, const char* what);

std::string_view AsText(const std::uint8_t* data, std::size_t size);
