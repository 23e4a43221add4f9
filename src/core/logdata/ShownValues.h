#pragma once
// What the read-out under the pointer and the markers A and B show of a value: its
// reading at a moment (a day or month total for a day-sum field), and from A to B the
// readings, their change and, for a flow or a power, the volume or energy in between.

#include <optional>
#include <string>

class TLogAnalysis;

// The reading at t; for a day-sum field the day's total, or the month's while the device
// shows month bars. None where the chart draws no line.
std::optional<double> ShownValueAt(const TLogAnalysis& analysis, int field, double t);

struct TMarkerComparison {
    std::optional<double> atStart;
    std::optional<double> atEnd;
    std::optional<double> change;
    // The integral from the earlier to the later marker of a measured rate, in amountUnit
    // ("[l]", "[kWh]"); none for other values.
    std::optional<double> amount;
    std::string amountUnit;
};
TMarkerComparison CompareAtMarkers(const TLogAnalysis& analysis, int field, double a, double b);
