#pragma once
// Which values the two charts of an analysis window show and how their axes read: the
// units in the axis titles, the other measured values moving to the left axis while no
// input is shown, the placeholders, the output lanes and the value-axis scaling; and the
// clicks in the value lists that show and hide values.

#include "core/bus/BusVocabulary.h"
#include "ui/analysis/GraphPanel.h"

#include <optional>
#include <string>

class TAnalysisSet;
class TChartHost;
class TChartView;
class TLogAnalysis;

class TChartValues : public TValueListHandler {
public:
    TChartValues(TAnalysisSet& analyses, TChartView& view, TChartHost& host);

    // The units of the shown values of a kind, sorted, each once, joined by three spaces:
    // on the "Overview" tab those of every device that are marked for it, otherwise the
    // current device's.
    std::string CollectAxisUnits(ValueKind kind) const;
    // Axis titles, the axis of the other measured values, placeholders and scaling.
    void UpdateValueAxes();
    // One lane per shown output, in device and value order: of every device (only the
    // values marked for the overview) on the "Overview" tab, else of the current device.
    // Without a flag the selected tab decides.
    void BuildOutputLanes(std::optional<bool> overview = std::nullopt);

    // False when the value has no series.
    bool ShowValue(TLogAnalysis& analysis, int value);
    void HideValue(TLogAnalysis& analysis, int value);

    // Ticking a plot box shows the value ("No data available." when it cannot), clearing
    // it hides the value; the lanes are laid out anew either way.
    void ShowGraphClick(TGraphPanel& row, QObject* sender) override;
    // The overview mark follows the box; it takes effect when "Overview" is next built.
    void ShowOverviewClick(TGraphPanel& row, QObject* sender) override;

private:
    TAnalysisSet& analyses;
    TChartView& view;
    TChartHost& host;
};
