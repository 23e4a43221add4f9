#pragma once
// The one place where settings persist between runs: Kalvex.ini in the folder Velmora
// of the user's application-data directory. Read once at creation; every change is
// written to the file at once.

#include "core/settings/DerivedValues.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class TDeviceSettings;
class TIniFile;

struct MainSettings {
    std::int8_t Language = 0; // 0 = no choice yet (German), 1 … 7
    std::string LastUsedDir;
    // How often a followed analysis looks at its files' sizes; network folders send no
    // notifications.
    std::int32_t FollowPollSeconds = 2;
};

struct ChildSettings {
    std::string PrintTitle;
    std::int32_t AxisMin = -10;
    std::int32_t AxisMax = 120;
    bool DynamicScaling = true;
    std::int32_t HeaderWidth0 = 130;
    std::int32_t HeaderWidth1 = 36;
    std::int32_t HeaderWidth2 = 36;
};

class TIniSettings {
public:
    // Locates, opens and reads the file; fails with the INI access text when there is no
    // usable location. A file that cannot be read gives the defaults.
    TIniSettings();
    ~TIniSettings();
    TIniSettings(const TIniSettings&) = delete;
    TIniSettings& operator=(const TIniSettings&) = delete;

    bool HasIniFile() const;
    const std::string& FilePath() const;

    // Each setter stores its values, then writes them at once; a failed write raises the
    // INI access text and the values stay set.
    const std::string& GetExcelPath() const { return excelPath; }
    void SetExcelPath(const std::string& path);

    MainSettings GetMainSettings() const { return mainSettings; }
    void SetMainSettings(int language, const std::string& lastUsedDir);

    ChildSettings GetChildSettings() const { return childSettings; }
    void SetChildSettings(const ChildSettings& settings);

    // Per-device sections "Dev:", "Labels:" and "Colors:", written in one replacement of
    // the file; "Dev:Default" only while it is empty, "Labels:Default"/"Colors:Default"
    // only for keys it does not hold yet. Fails with the INI access text.
    void WriteDeviceSettings(const TDeviceSettings& device);
    // One value's label and colour; a failure is ignored.
    void WriteValueSettings(const std::string& number, const std::string& valueKey,
        std::uint32_t color, const std::string& label);

    // Puts the line width (1 to 10) and the bars-or-lines choices saved in "Dev:" + the
    // device's number into the device; what is missing or unreadable stays as it was.
    void ReadDeviceSettings(TDeviceSettings& device) const;
    // Reads for a value being added to a device; a stored colour that is no integer
    // from 0 to 0xFFFFFF gives the fallback.
    std::uint32_t ReadColor(
        const std::string& section, const std::string& key, std::uint32_t fallback) const;
    std::string ReadLabel(
        const std::string& section, const std::string& key, const std::string& fallback) const;

    // The derived values of a device prefix; setting them writes them at once and fails
    // with the INI access text.
    TDerivedValues GetDerivedValues(const std::string& prefix) const;
    void SetDerivedValues(const std::string& prefix, const TDerivedValues& values);

private:
    std::unique_ptr<TIniFile> file;
    // Loading reads labels and colours on several threads while the file's cache may be
    // refreshed; every use of the file goes through this lock.
    mutable std::mutex fileLock;
    std::string excelPath;
    MainSettings mainSettings;
    ChildSettings childSettings;
};

// The single instance: created on the first call and on every call while none exists;
// a failed construction reaches the caller.
TIniSettings& GetIniSettings();
// Destroys the instance; the next GetIniSettings creates it again.
void ReleaseIniSettings();
// The instance when one exists, without trying to create it.
TIniSettings* ExistingIniSettings();
