#pragma once
// The vocabulary that turns what a log file says into devices and fields: bus numbers
// and device names, column names and units, value kinds, sum units and sum labels.
// Pure functions of their inputs and the language table.

#include <optional>
#include <string>
#include <string_view>

enum ValueKind : int { KindInput = 0, KindOther = 1, KindOutput = 2, KindNone = -1 };

// The two characters in front of the last ten of the path (the date digits and ".csv"),
// or the 5th and 6th characters when that position lies before the 5th; −1 when they
// are not a number.
int BusNumberFromPath(std::string_view path);

// The name generated for a bus number in the current language. A negative number fails
// with the insufficient-memory text.
std::string GeneratedDeviceName(int busNumber);

// True when the name, without trailing digits and blanks, is the device kind of the bus
// number in any of the six text arrays ("BusMaster" for bus number 0).
bool NameMatchesDeviceKind(int busNumber, std::string_view name);

struct DeviceIdentity {
    std::string name;
    bool automaticName = false;
};

// An empty log name, or one that is the kind's name, gives the generated name and the
// automatic-name flag; any other name is kept.
DeviceIdentity DeviceNameFromLog(int busNumber, std::string_view logName);

// The name rules: a day-total column ("Q…") is renamed to "P…" with day and year parts
// in their stored spelling; a running total ("ges") gives no name; a "V…" name loses its
// first apostrophe.
std::optional<std::string> ApplyNameRules(std::string name);

struct ColumnHeader {
    std::string name; // after the name rules
    std::string unit; // from the first "[" to the end of the cell
};

// A header cell split into name and unit. No "[" in the cell, or a running total: none.
std::optional<ColumnHeader> SplitColumnHeader(std::string_view cell);

struct NormalisedUnit {
    std::string unit;
    float factor = 1.0f; // applied to the column's values as this 32-bit value
};

NormalisedUnit NormaliseUnit(std::string_view unit);

// The first kind whose unit text contains the unit, or KindNone.
ValueKind ValueKindOfUnit(std::string_view unit);

// The unit of a sum over time of a rate: "[kW]" gives "[kWh]", "[l/min]" gives "[l]".
std::string SumUnit(std::string_view unit);

// What a rate sums up to over time, and the rate's time unit in parts of a day: "[kW]"
// gives "[kWh]" and 24, "[W]" "[Wh]" and 24, "[l/min]" "[l]" and 1440; none for a unit
// that is no rate.
struct TRateAmount {
    std::string unit;
    int unitsPerDay = 0;
};
std::optional<TRateAmount> RateAmountOf(std::string_view unit);

// How a field was named in the file: a name beginning with "P" with "Q" in its place.
std::string LogName(std::string_view fieldName);

// "Sum of energy (Q…)" for a "P" field, "Sum of flow rate (V…)" for a "V" field, the
// name itself otherwise; in the current language.
std::string DefaultSumLabel(std::string_view sourceFieldName);
