#include "core/bus/BusVocabulary.h"

#include "core/base/KalvexError.h"

#include <algorithm>
#include <cctype>

namespace {

std::optional<TextId> DeviceKindText(int busNumber)
{
    if (busNumber == 10 || busNumber == 20)
        return TextId::TxtSolarController;
    if (busNumber >= 21 && busNumber <= 29)
        return TextId::TxtHeatingCircuit;
    if (busNumber >= 30 && busNumber <= 39)
        return TextId::TxtFreshWater;
    if (busNumber >= 40 && busNumber <= 49)
        return TextId::TxtExtension;
    return std::nullopt;
}

int KindBase(int busNumber)
{
    if (busNumber >= 21 && busNumber <= 29)
        return 20;
    if (busNumber >= 30 && busNumber <= 39)
        return 30;
    if (busNumber >= 40 && busNumber <= 49)
        return 40;
    return -1;
}

std::string Lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Replaces the first occurrence of what (compared without regard to case) by with.
void ReplaceFirstIgnoringCase(std::string& s, std::string_view what, std::string_view with)
{
    const auto pos = Lower(s).find(what);
    if (pos != std::string::npos)
        s.replace(pos, what.size(), with);
}

void ReplaceFirst(std::string& s, std::string_view what, std::string_view with)
{
    const auto pos = s.find(what);
    if (pos != std::string::npos)
        s.replace(pos, what.size(), with);
}

} // namespace

int BusNumberFromPath(std::string_view path)
{
    // One-based position of the two characters, as the naming scheme counts.
    long long position = static_cast<long long>(path.size()) - 11;
    if (position < 5)
        position = 5;
    if (position + 1 > static_cast<long long>(path.size()))
        return -1;
    std::string_view digits = path.substr(position - 1, 2);
    while (!digits.empty() && digits.front() == ' ')
        digits.remove_prefix(1);
    bool negative = false;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty())
        return -1;
    int value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

std::string GeneratedDeviceName(int busNumber)
{
    if (busNumber < 0)
        Fail(TextId::TxtDataStructureMemory);
    if (busNumber == 0)
        return "BusMaster";
    const auto kind = DeviceKindText(busNumber);
    if (!kind)
        return "BusID " + std::to_string(busNumber);
    const int base = KindBase(busNumber);
    if (base < 0)
        return Text(*kind);
    return Text(*kind) + " " + std::to_string(busNumber - base);
}

bool NameMatchesDeviceKind(int busNumber, std::string_view name)
{
    while (!name.empty() && (name.back() == ' ' || (name.back() >= '0' && name.back() <= '9')))
        name.remove_suffix(1);
    if (busNumber == 0)
        return name == "BusMaster";
    const auto kind = DeviceKindText(busNumber);
    return kind && MatchesAnyLanguage(name, *kind);
}

DeviceIdentity DeviceNameFromLog(int busNumber, std::string_view logName)
{
    if (logName.empty() || NameMatchesDeviceKind(busNumber, logName))
        return {GeneratedDeviceName(busNumber), true};
    return {std::string(logName), false};
}

std::optional<std::string> ApplyNameRules(std::string name)
{
    if (!name.empty() && name.front() == 'Q') {
        ReplaceFirstIgnoringCase(name, "sum", "ges");
        ReplaceFirstIgnoringCase(name, "day", "tag");
        ReplaceFirstIgnoringCase(name, "year", "jahr");
        ReplaceFirst(name, "Tag", "tag");
        ReplaceFirst(name, "Jahr", "jahr");
        if (Lower(name).find("ges") != std::string::npos)
            return std::nullopt;
        name.front() = 'P';
    }
    if (!name.empty() && name.front() == 'V') {
        const auto apostrophe = name.find('\'');
        if (apostrophe != std::string::npos)
            name.erase(apostrophe, 1);
    }
    return name;
}

std::optional<ColumnHeader> SplitColumnHeader(std::string_view cell)
{
    const auto bracket = cell.find('[');
    if (bracket == std::string_view::npos)
        return std::nullopt;
    auto name = ApplyNameRules(std::string(cell.substr(0, bracket)));
    if (!name)
        return std::nullopt;
    return ColumnHeader{std::move(*name), std::string(cell.substr(bracket))};
}

NormalisedUnit NormaliseUnit(std::string_view unit)
{
    if (unit == "[W]")
        return {"[kW]", 0.001f};
    if (unit == "[kW/h]")
        return {"[kWh]", 1.0f};
    if (unit == "[C]")
        return {"[\xC2\xB0"
                "C]",
            1.0f};
    if (unit == "[F]")
        return {"[\xC2\xB0"
                "F]",
            1.0f};
    return {std::string(unit), 1.0f};
}

ValueKind ValueKindOfUnit(std::string_view unit)
{
    static const std::string_view kindUnits[] = {
        "[\xC2\xB0"
        "C][\xC2\xB0"
        "F]",
        "[l/min][W][kW][kWh][kW/h][MBtu/h][gal/min][psi][bar][kW/m\xC2\xB2]",
        "[%]",
    };
    for (int kind = 0; kind < 3; ++kind) {
        if (kindUnits[kind].find(unit) != std::string_view::npos)
            return static_cast<ValueKind>(kind);
    }
    return KindNone;
}

std::string SumUnit(std::string_view unit)
{
    if (unit == "[l/min]")
        return "[l]";
    if (unit == "[kW]")
        return "[kWh]";
    if (unit == "[MBtu/h]")
        return "[MBtu]";
    if (unit == "[gal/min]")
        return "[gal]";
    return std::string(unit);
}

std::optional<TRateAmount> RateAmountOf(std::string_view unit)
{
    if (unit == "[W]")
        return TRateAmount{"[Wh]", 24};
    if (unit == "[kW]" || unit == "[MBtu/h]")
        return TRateAmount{SumUnit(unit), 24};
    if (unit == "[l/min]" || unit == "[gal/min]")
        return TRateAmount{SumUnit(unit), 1440};
    return std::nullopt;
}

std::string LogName(std::string_view fieldName)
{
    std::string name(fieldName);
    if (!name.empty() && name.front() == 'P')
        name.front() = 'Q';
    return name;
}

std::string DefaultSumLabel(std::string_view sourceFieldName)
{
    if (!sourceFieldName.empty() && sourceFieldName.front() == 'P')
        return Text(TextId::TxtSumEnergy) + " (Q" + std::string(sourceFieldName.substr(1)) + ")";
    if (!sourceFieldName.empty() && sourceFieldName.front() == 'V')
        return Text(TextId::TxtSumFlowRate) + " (" + std::string(sourceFieldName) + ")";
    return std::string(sourceFieldName);
}
