#include "core/settings/DerivedValues.h"

#include "core/settings/IniDocument.h"

namespace {

std::string Key(const char* what, size_t number)
{
    return what + std::to_string(number);
}

} // namespace

std::string DerivedSection(const std::string& prefix)
{
    return "Derived:" + prefix;
}

TDerivedValues ReadDerivedValues(const TIniDocument& ini, const std::string& prefix)
{
    const std::string section = DerivedSection(prefix);
    TDerivedValues values;
    const int count = ini.ReadInteger(section, "Count", 0);
    for (int i = 1; i <= count; ++i) {
        TDerivedValue value;
        value.name = ini.ReadString(section, Key("Name", i), "");
        value.unit = BracketedUnit(ini.ReadString(section, Key("Unit", i), ""));
        value.expression = ini.ReadString(section, Key("Formula", i), "");
        if (!value.name.empty() && !value.expression.empty())
            values.push_back(std::move(value));
    }
    return values;
}

void WriteDerivedValues(TIniDocument& ini, const std::string& prefix, const TDerivedValues& values)
{
    const std::string section = DerivedSection(prefix);
    // Entries beyond the count are left as they are: the count says what holds.
    ini.WriteInteger(section, "Count", static_cast<std::int64_t>(values.size()));
    for (size_t i = 0; i < values.size(); ++i) {
        ini.WriteString(section, Key("Name", i + 1), values[i].name);
        ini.WriteString(section, Key("Unit", i + 1), values[i].unit);
        ini.WriteString(section, Key("Formula", i + 1), values[i].expression);
    }
}

std::string BracketedUnit(const std::string& unit)
{
    if (unit.empty() || (unit.front() == '[' && unit.back() == ']'))
        return unit;
    return "[" + unit + "]";
}
