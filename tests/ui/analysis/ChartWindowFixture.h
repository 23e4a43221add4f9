#pragma once
// A small analysis window for the chart and value-list tests: the two charts with their
// chart view, the "Overview" list with a header control over it, one list per device,
// and an analysis set loaded from sample logs written into the test's directory.

#include "core/loading/AnalysisFixture.h"
#include "core/settings/IniSettings.h"
#include "ui/analysis/ChartHost.h"
#include "ui/analysis/ChartValues.h"
#include "ui/analysis/ChartView.h"
#include "ui/analysis/ValueSelector.h"

#include <qcustomplot.h>

#include <QHeaderView>
#include <QScrollArea>
#include <QStandardItemModel>

#include <memory>

// Sample logs of the devices without faults, one file a day from 1 March 2024 to the
// last day given, flat in the folder.
void GenerateMarchSamples(const std::string& folder, const std::vector<int>& devices, int lastDay);

class ChartWindowFixture : public AnalysisFixture, public TChartHost, public TAnalysisSetHooks {
protected:
    void SetUp() override;
    void TearDown() override;

    // Sample logs of the devices (10 solar controller, 21 heating circuit, 30 fresh-water
    // station) for 1 … 3 March 2024, loaded; the first device is selected.
    void LoadSamples(const std::vector<int>& devices);
    // Loads whatever logs were written below TempPath("logs").
    void LoadLogs(TDateTime from, TDateTime to);

    // Selects a device tab (the device count selects "Overview") as the window does.
    void SelectDevice(int index);

    // The device's list and its row for a field name.
    QScrollArea* ListOf(int device) const;
    TGraphPanel* RowOf(int device, const std::string& field) const;
    // Clicks a row's plot box or overview box with the mouse.
    void ClickPlot(TGraphPanel* row);
    void ClickOverview(TGraphPanel* row);

    TLogAnalysis& Device(int index) const { return *set->Analysis(index); }
    int Field(int device, const std::string& name) const;
    // The device's series for a field, as the chart draws it (null when not drawn).
    const TSeriesPlottable* Drawn(int device, const std::string& field) const;

    bool OverviewTabActive() const override { return overviewTab; }
    const ChildSettings& CurrentChildSettings() const override { return settings; }
    void ChartContentChanged() override { ++contentChanges; }

    TChartTarget* UpperChart() override { return &view->UpperTarget(); }
    TChartTarget* LowerChart() override { return &view->LowerTarget(); }
    void BuildValueSelector(int deviceIndex, TLogAnalysis& analysis) override;

    QWidget window;
    QCustomPlot* chart = nullptr;
    QCustomPlot* chart2 = nullptr;
    QScrollArea* overview = nullptr;
    QHeaderView* header = nullptr;
    QStandardItemModel headerModel{0, 3};
    std::unique_ptr<TChartView> view;
    std::unique_ptr<TAnalysisSet> set;
    std::unique_ptr<TChartValues> values;
    ChildSettings settings;
    TValueListMetrics metrics;
    bool overviewTab = false;
    int contentChanges = 0;
};
