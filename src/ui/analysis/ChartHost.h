#pragma once
// What the chart values of an analysis window need from the window itself.

struct ChildSettings;

class TChartHost {
public:
    virtual ~TChartHost() = default;
    // The last tab ("Overview", every device) is selected.
    virtual bool OverviewTabActive() const = 0;
    // The window's own value-axis settings.
    virtual const ChildSettings& CurrentChildSettings() const = 0;
    // A value was shown or hidden: the main window brings its commands up to date.
    virtual void ChartContentChanged() = 0;
};
