#pragma once
// A derived value of a device, defined by the user: a name, a unit and a formula over
// the device's measured values. Stored per device prefix in the section "Derived:" +
// prefix of the settings file:
//   Count=1
//   Name1=dT
//   Unit1=[K]
//   Formula1=T1 - T2

#include <string>
#include <vector>

struct TDerivedValue {
    std::string name;
    std::string unit; // with its brackets, e.g. "[K]"
    std::string expression;
    bool operator==(const TDerivedValue&) const = default;
};

using TDerivedValues = std::vector<TDerivedValue>;

class TIniDocument;

std::string DerivedSection(const std::string& prefix);
TDerivedValues ReadDerivedValues(const TIniDocument& ini, const std::string& prefix);
void WriteDerivedValues(TIniDocument& ini, const std::string& prefix, const TDerivedValues& values);

// "[K]" for "K" or "[K]"; empty stays empty.
std::string BracketedUnit(const std::string& unit);
