#include "core/settings/DeviceSettings.h"

#include "core/settings/DeviceSections.h"
#include "core/settings/IniSettings.h"

#include "core/base/KalvexError.h"

#include <algorithm>
#include <climits>
#include <string_view>
#include <utility>

const TColor DefaultPalette[20]
    = {255, 16711680, 60671, 32768, 10197915, 679542, 0, 16744448, 4259584, 8388736, 16711935,
        8421440, 128, 3289678, 16776960, 6268250, 6447714, 8232734, 65535, 1762984};

namespace {

constexpr int PaletteSize = static_cast<int>(std::size(DefaultPalette));

// Day and month sums are named after their source with "tag" or "monat" appended.
bool IsSumFieldName(std::string_view name)
{
    return name.size() > 3
        && (name.find("tag") != std::string_view::npos
            || name.find("monat") != std::string_view::npos);
}

// The label with its leading sum text put into the current language; any other label
// comes back unchanged.
std::string RetranslatedSumLabel(const std::string& label)
{
    const auto split = label.find(" (");
    if (split == std::string::npos)
        return label;
    const std::string_view head(label.data(), split);
    for (const TextId sumText : {TextId::TxtSumFlowRate, TextId::TxtSumEnergy}) {
        if (MatchesAnyLanguage(head, sumText))
            return Text(sumText) + label.substr(split);
    }
    return label;
}

// The settings store, or none when no usable settings folder exists: the program then
// runs on built-in defaults.
const TIniSettings* UsableIniSettings()
{
    try {
        const TIniSettings& ini = GetIniSettings();
        return ini.HasIniFile() ? &ini : nullptr;
    } catch (const KalvexError&) {
        return nullptr;
    }
}

} // namespace

TDeviceSettings::TDeviceSettings(int number, std::string name, bool automaticName)
    : number(number)
    , name(std::move(name))
    , automaticName(automaticName)
{
    // What the user saved for this bus number, so that a new analysis shows it again.
    if (const TIniSettings* ini = UsableIniSettings())
        ini->ReadDeviceSettings(*this);
}

TDeviceSettings::TDeviceSettings(const TDeviceSettings& other)
    : number(other.number)
    , name(other.name)
    , automaticName(other.automaticName)
    , values(other.values)
    , places(other.places)
    , lineWidth(other.lineWidth)
    , othersUseBars(other.othersUseBars)
    , outputsUseBars(other.outputsUseBars)
{
}

TDeviceSettings::~TDeviceSettings() = default;

void TDeviceSettings::Assign(const TDeviceSettings& source)
{
    if (&source == this)
        return;
    if (&source != backup.get())
        backup.reset();
    number = source.number;
    name = source.name;
    automaticName = source.automaticName;
    values = source.values;
    places = source.places;
    lineWidth = source.lineWidth;
    othersUseBars = source.othersUseBars;
    outputsUseBars = source.outputsUseBars;
}

void TDeviceSettings::AddValue(
    const std::string& valueName, const std::string& unit, ValueKind kind)
{
    if (HasValue(valueName))
        return;
    if (kind != KindInput && kind != KindOther && kind != KindOutput)
        Fail(TextId::TxtDeviceSettingRange);
    const TIniSettings* ini = UsableIniSettings();
    const int paletteIndex = kind == KindOutput ? OutputCount() : InputCount() + OtherCount();
    Value value{unit, valueName, DefaultPalette[paletteIndex % PaletteSize], valueName, false};
    if (ini) {
        const std::string busNumber = std::to_string(number);
        const std::string key = ValueKey(valueName, unit);
        value.color = ini->ReadColor(ColorsSection(busNumber), key, value.color);
        value.label = ini->ReadLabel(LabelsSection(busNumber), key, valueName);
    }
    const int position = values.Count(kind);
    const int end = CountUpTo(kind);
    values.Insert(end, kind, std::move(value));
    try {
        places.emplace(valueName, Place{kind, position});
    } catch (...) {
        values.Erase(end);
        throw;
    }
}

void TDeviceSettings::RemoveValue(const std::string& valueName)
{
    int index = -1;
    if (!IndexOfValue(valueName, index))
        return;
    const Place removed = places.at(valueName);
    values.Erase(index);
    places.erase(valueName);
    // The values behind it in its group moved up by one.
    for (auto& [name, place] : places)
        if (place.kind == removed.kind && place.position > removed.position)
            --place.position;
}

bool TDeviceSettings::HasValue(const std::string& valueName) const
{
    int index = -1;
    return IndexOfValue(valueName, index);
}

bool TDeviceSettings::IndexOfValue(const std::string& valueName, int& index) const
{
    const auto found = places.find(valueName);
    if (found == places.end()) {
        index = -1;
        return false;
    }
    const Place& place = found->second;
    index = values.Start(place.kind) + place.position;
    return true;
}

const TDeviceSettings::Value& TDeviceSettings::At(int index) const
{
    if (index < 0 || index >= ValueCount())
        Fail(TextId::TxtDeviceSettingRange);
    return values[index];
}

TDeviceSettings::Value& TDeviceSettings::At(int index)
{
    return const_cast<Value&>(std::as_const(*this).At(index));
}

const std::string& TDeviceSettings::GetUnit(int index) const
{
    return At(index).unit;
}

const std::string& TDeviceSettings::GetValueName(int index) const
{
    return At(index).name;
}

const std::string& TDeviceSettings::GetLabel(int index) const
{
    return At(index).label;
}

void TDeviceSettings::SetLabel(int index, const std::string& label)
{
    At(index).label = label;
}

TColor TDeviceSettings::GetColor(int index) const
{
    return At(index).color;
}

void TDeviceSettings::SetColor(int index, TColor color)
{
    At(index).color = color;
}

bool TDeviceSettings::IsSumValue(int index) const
{
    return At(index).sum;
}

void TDeviceSettings::SetSumValue(int index, bool sum)
{
    At(index).sum = sum;
}

ValueKind TDeviceSettings::GetValueKind(int index) const
{
    At(index);
    return values.KindAt(index);
}

int TDeviceSettings::CountUpTo(ValueKind kind) const
{
    if (kind != KindInput && kind != KindOther && kind != KindOutput)
        return 0;
    return values.Start(kind) + values.Count(kind);
}

void TDeviceSettings::SetLineWidth(unsigned width)
{
    lineWidth = static_cast<int>(std::clamp(width, 1u, static_cast<unsigned>(INT_MAX)));
}

const std::string& TDeviceSettings::GetDisplayName()
{
    if (automaticName)
        name = GeneratedDeviceName(number);
    return name;
}

void TDeviceSettings::SaveBackup()
{
    if (backup)
        backup->Assign(*this);
    else
        backup = std::make_unique<TDeviceSettings>(*this);
}

void TDeviceSettings::RestoreBackup()
{
    if (!backup)
        return;
    Assign(*backup);
    backup.reset();
}

void TDeviceSettings::DiscardBackup()
{
    backup.reset();
}

void TDeviceSettings::RetranslateSumLabels()
{
    for (int i = InputCount(); i < InputCount() + OtherCount(); ++i) {
        Value& value = values[i];
        if (IsSumFieldName(value.name))
            value.label = RetranslatedSumLabel(value.label);
    }
}
