#pragma once
// A window's derived values brought up to changed definitions: each device of a changed
// prefix computes them anew and gets a new value list; the values it showed stay shown
// where they still exist. Also says which names a device's formulas may use.

#include <QStringList>

#include <functional>
#include <string>
#include <vector>

class TAnalysisSet;
class TLogAnalysis;

struct TDerivedValueHost {
    std::function<bool(TLogAnalysis&, int field)> showValue;
    std::function<void(TLogAnalysis&, int field)> hideValue;
    // Builds the device's value list anew and restyles its values.
    std::function<void(int deviceIndex, TLogAnalysis&)> rebuildValueList;
    // Shows the selected tab's list and values again.
    std::function<void()> reselectTab;
};

class TDerivedValueUpdate {
public:
    TDerivedValueUpdate(TAnalysisSet& analyses, TDerivedValueHost host);
    void Apply(const QStringList& prefixes);

    // The measured values a formula of the device may use: neither sums nor derived.
    static std::vector<std::string> MeasuredNames(const TLogAnalysis& analysis);
    // The names a new derived value may not take: every value but the derived ones.
    static std::vector<std::string> TakenNames(const TLogAnalysis& analysis);

private:
    TAnalysisSet& analyses;
    TDerivedValueHost host;
};
