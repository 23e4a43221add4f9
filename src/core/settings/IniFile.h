#pragma once
// An INI file on disk. Reads come from the parsed file, parsed again only when the file
// changed on disk. Every write works like a profile-string write on the file as it is
// now: read the current file, change the keys, write the whole file to a temporary file
// in the same folder and rename it over the old one. So two running programs never undo
// each other's other keys, and a crash or a full disk never leaves a half-written file.

#include "core/settings/IniDocument.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include <sys/stat.h>

class TIniFile {
public:
    // The path in the file system's encoding; the file need not exist yet.
    explicit TIniFile(std::string path);

    const std::string& Path() const { return path; }

    // The file as it is now (empty when it is missing or cannot be read).
    const TIniDocument& Current() const;

    // Applies the edit to the current file and replaces the file in one step. A failure
    // raises the "Access to INI file failed" text; the edit then still shows in
    // Current(), so the running program goes on as if it had been saved.
    void Update(const std::function<void(TIniDocument&)>& edit);

private:
    // What identifies one state of the file on disk.
    struct Stamp {
        bool exists = false;
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t size = 0;
        std::int64_t modifiedNs = 0;
        bool operator==(const Stamp&) const = default;
    };

    enum class ReadResult { Read, Missing, Unreadable };

    static Stamp StampOf(const struct stat& status);
    Stamp StampOnDisk() const;
    ReadResult ReadDocument(TIniDocument& document, Stamp& stamp) const;

    std::string path;
    mutable TIniDocument cache;
    mutable std::optional<Stamp> cacheStamp;
};
