#include "core/settings/IniSettings.h"

#include <algorithm>

#include "core/settings/DeviceSections.h"
#include "core/settings/DeviceSettings.h"
#include "core/settings/IniFile.h"
#include "core/settings/IniLocation.h"

#include "core/base/KalvexError.h"

#include <mutex>

namespace {

constexpr const char* MainSection = "Main";
constexpr const char* ChildSection = "Child";
constexpr std::int32_t HighestLanguage = 7;
constexpr std::int32_t LargestColor = 0xFFFFFF;
// The settings dialog offers no wider line.
constexpr std::int32_t LargestLineWidth = 10;

// Loading reads device settings on several threads; the instance is made under a lock.
std::mutex& InstanceLock()
{
    static std::mutex lock;
    return lock;
}

std::unique_ptr<TIniSettings>& Instance()
{
    static std::unique_ptr<TIniSettings> instance;
    return instance;
}

void WriteDeviceKeys(TIniDocument& ini, const std::string& section, const TDeviceSettings& device)
{
    ini.WriteInteger(section, "LineWidth", device.GetLineWidth());
    ini.WriteBool(section, "OthersUseBars", device.OthersUseBars());
    ini.WriteBool(section, "OutputsUseBars", device.OutputsUseBars());
}

// The first label and colour saved for a key also become its defaults.
void WriteValueKeys(TIniDocument& ini, const std::string& number, const std::string& valueKey,
    std::uint32_t color, const std::string& label)
{
    if (!ini.HasKey(LabelsSection("Default"), valueKey)) {
        ini.WriteString(LabelsSection("Default"), valueKey, label);
        ini.WriteInteger(ColorsSection("Default"), valueKey, color);
    }
    ini.WriteString(LabelsSection(number), valueKey, label);
    ini.WriteInteger(ColorsSection(number), valueKey, color);
}

} // namespace

TIniSettings::TIniSettings()
{
    auto opened = std::make_unique<TIniFile>(LocateIniFile());
    const TIniDocument& ini = opened->Current();
    excelPath = ini.ReadString(MainSection, "ExcelPath", {});
    mainSettings.LastUsedDir = ini.ReadString(MainSection, "LastUsedDir", ProgramDirectory());
    const std::int32_t language = ini.ReadInteger(MainSection, "Language", 0);
    mainSettings.FollowPollSeconds
        = std::clamp<std::int32_t>(ini.ReadInteger(MainSection, "FollowPollSeconds", 2), 1, 3600);
    mainSettings.Language
        = static_cast<std::int8_t>(language < 0 || language > HighestLanguage ? 0 : language);
    childSettings.AxisMin = ini.ReadInteger(ChildSection, "AxisMin", -10);
    childSettings.AxisMax = ini.ReadInteger(ChildSection, "AxisMax", 120);
    childSettings.PrintTitle = ini.ReadString(ChildSection, "PrintTitle", {});
    childSettings.DynamicScaling = ini.ReadBool(ChildSection, "DynamicScaling", true);
    childSettings.HeaderWidth0 = ini.ReadInteger(ChildSection, "HeaderWidth0", 130);
    childSettings.HeaderWidth1 = ini.ReadInteger(ChildSection, "HeaderWidth1", 36);
    childSettings.HeaderWidth2 = ini.ReadInteger(ChildSection, "HeaderWidth2", 36);
    file = std::move(opened);
}

TIniSettings::~TIniSettings() = default;

bool TIniSettings::HasIniFile() const
{
    return file != nullptr;
}

const std::string& TIniSettings::FilePath() const
{
    static const std::string none;
    return file ? file->Path() : none;
}

void TIniSettings::SetExcelPath(const std::string& path)
{
    const std::lock_guard guard(fileLock);
    excelPath = path;
    if (!file)
        return;
    file->Update([&](TIniDocument& ini) { ini.WriteString(MainSection, "ExcelPath", path); });
}

void TIniSettings::SetMainSettings(int language, const std::string& lastUsedDir)
{
    const std::lock_guard guard(fileLock);
    mainSettings.Language = static_cast<std::int8_t>(language);
    mainSettings.LastUsedDir = lastUsedDir;
    if (!file)
        return;
    file->Update([&](TIniDocument& ini) {
        ini.WriteInteger(MainSection, "Language", mainSettings.Language);
        ini.WriteString(MainSection, "LastUsedDir", lastUsedDir);
    });
}

void TIniSettings::SetChildSettings(const ChildSettings& settings)
{
    const std::lock_guard guard(fileLock);
    childSettings = settings;
    if (!file)
        return;
    file->Update([&](TIniDocument& ini) {
        ini.WriteInteger(ChildSection, "AxisMin", settings.AxisMin);
        ini.WriteInteger(ChildSection, "AxisMax", settings.AxisMax);
        ini.WriteString(ChildSection, "PrintTitle", settings.PrintTitle);
        ini.WriteBool(ChildSection, "DynamicScaling", settings.DynamicScaling);
        ini.WriteInteger(ChildSection, "HeaderWidth0", settings.HeaderWidth0);
        ini.WriteInteger(ChildSection, "HeaderWidth1", settings.HeaderWidth1);
        ini.WriteInteger(ChildSection, "HeaderWidth2", settings.HeaderWidth2);
    });
}

void TIniSettings::WriteDeviceSettings(const TDeviceSettings& device)
{
    const std::lock_guard guard(fileLock);
    if (!file)
        return;
    const std::string number = std::to_string(device.GetNumber());
    file->Update([&](TIniDocument& ini) {
        if (!ini.HasAnyKey(DeviceSection("Default")))
            WriteDeviceKeys(ini, DeviceSection("Default"), device);
        WriteDeviceKeys(ini, DeviceSection(number), device);
        for (int i = 0; i < device.ValueCount(); ++i) {
            WriteValueKeys(ini, number, ValueKey(device.GetValueName(i), device.GetUnit(i)),
                device.GetColor(i), device.GetLabel(i));
        }
    });
}

void TIniSettings::WriteValueSettings(const std::string& number, const std::string& valueKey,
    std::uint32_t color, const std::string& label)
{
    const std::lock_guard guard(fileLock);
    if (!file)
        return;
    try {
        file->Update(
            [&](TIniDocument& ini) { WriteValueKeys(ini, number, valueKey, color, label); });
    } catch (const KalvexError&) {
        // One value's label and colour are not worth interrupting the user for.
    }
}

void TIniSettings::ReadDeviceSettings(TDeviceSettings& device) const
{
    const std::lock_guard guard(fileLock);
    if (!file)
        return;
    const TIniDocument& ini = file->Current();
    const std::string section = DeviceSection(std::to_string(device.GetNumber()));
    if (const auto width = ini.FindInteger(section, "LineWidth");
        width && *width >= 1 && *width <= LargestLineWidth)
        device.SetLineWidth(static_cast<unsigned>(*width));
    device.SetOthersUseBars(ini.ReadBool(section, "OthersUseBars", device.OthersUseBars()));
    device.SetOutputsUseBars(ini.ReadBool(section, "OutputsUseBars", device.OutputsUseBars()));
}

std::uint32_t TIniSettings::ReadColor(
    const std::string& section, const std::string& key, std::uint32_t fallback) const
{
    const std::lock_guard guard(fileLock);
    if (!file)
        return fallback;
    const auto stored = file->Current().FindInteger(section, key);
    if (!stored || *stored < 0 || *stored > LargestColor)
        return fallback;
    return static_cast<std::uint32_t>(*stored);
}

std::string TIniSettings::ReadLabel(
    const std::string& section, const std::string& key, const std::string& fallback) const
{
    const std::lock_guard guard(fileLock);
    if (!file)
        return fallback;
    return file->Current().ReadString(section, key, fallback);
}

TIniSettings& GetIniSettings()
{
    const std::lock_guard guard(InstanceLock());
    auto& instance = Instance();
    if (!instance)
        instance = std::make_unique<TIniSettings>();
    return *instance;
}

void ReleaseIniSettings()
{
    const std::lock_guard guard(InstanceLock());
    Instance().reset();
}

TIniSettings* ExistingIniSettings()
{
    const std::lock_guard guard(InstanceLock());
    return Instance().get();
}
