// The settings file on any bytes. The document: what was read and written reads back
// the same, and a value written reads back unchanged. The store over the file: every
// main, child and device setting is read, written back, and read again unchanged.

#include "FuzzSupport.h"

#include "core/bus/BusVocabulary.h"
#include "core/settings/DeviceSections.h"
#include "core/settings/DeviceSettings.h"
#include "core/settings/IniDocument.h"
#include "core/settings/IniSettings.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <tuple>
#include <vector>

namespace {

constexpr std::size_t MaxDeviceValues = 200;

std::vector<TIniEntry> Sorted(std::vector<TIniEntry> entries)
{
    std::sort(entries.begin(), entries.end(), [](const TIniEntry& a, const TIniEntry& b) {
        return std::tie(a.section, a.key, a.value) < std::tie(b.section, b.key, b.value);
    });
    return entries;
}

void CheckDocument(std::string_view bytes)
{
    const TIniDocument read = TIniDocument::Parse(bytes);
    const std::string written = read.Serialize();
    const TIniDocument again = TIniDocument::Parse(written);
    // The same settings, in any order: keys of a nameless section ("[]") are written first,
    // where the file's keys outside any section are.
    Require(Sorted(again.Entries()) == Sorted(read.Entries()),
        "a file written from what was read holds the same");
    Require(again.Serialize() == written, "writing what was read again changes nothing");

    // Any text without line breaks, NUL characters and blanks at its ends can be a value.
    std::string value;
    for (const char c : bytes.substr(0, 300)) {
        if (c != '\0' && c != '\r' && c != '\n')
            value += c;
    }
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
        value.erase(0, 1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
        value.pop_back();
    TIniDocument fresh;
    fresh.WriteString("Main", "LastUsedDir", value);
    Require(
        TIniDocument::Parse(fresh.Serialize()).ReadString("Main", "LastUsedDir", "\x01") == value,
        "a value written reads back unchanged");
}

struct TStoredSettings {
    std::string excelPath;
    MainSettings main;
    ChildSettings child;
};

TStoredSettings ReadStore()
{
    ReleaseIniSettings();
    const TIniSettings& ini = GetIniSettings();
    return {ini.GetExcelPath(), ini.GetMainSettings(), ini.GetChildSettings()};
}

bool operator==(const TStoredSettings& a, const TStoredSettings& b)
{
    return a.excelPath == b.excelPath && a.main.Language == b.main.Language
        && a.main.LastUsedDir == b.main.LastUsedDir && a.child.PrintTitle == b.child.PrintTitle
        && a.child.AxisMin == b.child.AxisMin && a.child.AxisMax == b.child.AxisMax
        && a.child.DynamicScaling == b.child.DynamicScaling
        && a.child.HeaderWidth0 == b.child.HeaderWidth0
        && a.child.HeaderWidth1 == b.child.HeaderWidth1
        && a.child.HeaderWidth2 == b.child.HeaderWidth2;
}

// The values of device "Labels:<number>"/"Colors:<number>" keys, as a device reading its
// log header adds them.
std::unique_ptr<TDeviceSettings> DeviceFrom(const std::vector<TIniEntry>& entries, int number)
{
    auto device = std::make_unique<TDeviceSettings>(number, std::string(), true);
    for (const TIniEntry& entry : entries) {
        if (device->ValueCount() >= static_cast<int>(MaxDeviceValues))
            break;
        if (entry.section != LabelsSection(std::to_string(number))
            && entry.section != ColorsSection(std::to_string(number)))
            continue;
        const auto header = SplitColumnHeader(entry.key);
        if (!header)
            continue;
        const ValueKind kind = ValueKindOfUnit(header->unit);
        device->AddValue(header->name, header->unit, kind == KindNone ? KindInput : kind);
    }
    return device;
}

// The bus number of the first device section, or −1.
int FirstDeviceNumber(const std::vector<TIniEntry>& entries)
{
    for (const TIniEntry& entry : entries) {
        const std::size_t colon = entry.section.find(':');
        if (colon == std::string::npos)
            continue;
        const std::string_view digits = std::string_view(entry.section).substr(colon + 1);
        int number = -1;
        const auto [end, error]
            = std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (error == std::errc() && end == digits.data() + digits.size() && number >= 0)
            return number;
    }
    return -1;
}

std::string Lowered(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

void CheckStore(const TFuzzFolder& folder, std::string_view bytes)
{
    WriteTestFile(folder.SettingsPath(), bytes);
    const TStoredSettings read = ReadStore();
    const std::vector<TIniEntry> entries = TIniDocument::Parse(bytes).Entries();
    const int number = FirstDeviceNumber(entries);
    std::unique_ptr<TDeviceSettings> device;
    if (number >= 0)
        device = DeviceFrom(entries, number);

    TIniSettings& ini = GetIniSettings();
    ini.SetExcelPath(read.excelPath);
    ini.SetMainSettings(read.main.Language, read.main.LastUsedDir);
    ini.SetChildSettings(read.child);
    if (device)
        ini.WriteDeviceSettings(*device);
    Require(ReadStore() == read, "main and child settings written back read the same");
    if (!device)
        return;
    const auto again = DeviceFrom(entries, number);
    Require(again->ValueCount() == device->ValueCount(), "the device has the same values");
    // Keys ignore case, as Windows' do: values whose names differ only in case ("Mi[%]",
    // "MI[%]") share one stored label and colour.
    std::map<std::string, int> keyUses;
    for (int i = 0; i < device->ValueCount(); ++i)
        ++keyUses[Lowered(ValueKey(device->GetValueName(i), device->GetUnit(i)))];
    for (int i = 0; i < device->ValueCount(); ++i) {
        if (keyUses[Lowered(ValueKey(device->GetValueName(i), device->GetUnit(i)))] > 1)
            continue;
        Require(again->GetLabel(i) == device->GetLabel(i), "a device value keeps its label");
        Require(again->GetColor(i) == device->GetColor(i), "a device value keeps its colour");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TFuzzFolder folder;
    const std::string_view bytes = AsText(data, size);
    CheckDocument(bytes);
    CheckStore(folder, bytes);
    return 0;
}
