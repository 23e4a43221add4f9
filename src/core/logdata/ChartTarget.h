#pragma once
// What the analysis needs of a chart: its series come and go and change their style.
// The user interface implements it; the analysis holds non-owning pointers that may be
// null (command-line tool, tests). A chart only borrows the series it is given: it must
// let go of it on DetachSeries and before the analysis that owns the series is destroyed.

class TFieldSeries;

class TChartTarget {
public:
    virtual ~TChartTarget() = default;

    // The series goes onto the chart and into its legend. A series that is on the chart
    // already stays there once (the window empties its charts and has the analysis put
    // its shown series back).
    virtual void AttachSeries(TFieldSeries& series) = 0;
    // The series leaves the chart and its legend.
    virtual void DetachSeries(TFieldSeries& series) = 0;
    // The series' style (drawing kind, offset, colour, pen, title, axis, bar width)
    // changed; its points did not.
    virtual void SeriesRestyled(TFieldSeries& series) = 0;
    // Width of the plot area in pixels; monthly bars are a 36th of it.
    virtual int PlotWidth() const = 0;
};
