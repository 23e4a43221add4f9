#pragma once
// One field's series drawn on a chart: the plottables built from its points and style.
// Lines and stairs are graphs; an area is a graph filled down to a base-line graph at
// its own offset (the lane's zero line), not to the bottom of the axis; day and month
// sums are bars. Null points break lines and leave gaps between bars.

#include "core/logdata/FieldSeries.h"

#include <qcustomplot.h>

class TSeriesPlottable {
public:
    // Builds the plottables on the chart, on its bottom axis and the style's value axis.
    TSeriesPlottable(QCustomPlot& plot, const TFieldSeries& series);
    // Takes the plottables off the chart (when the chart still exists).
    ~TSeriesPlottable();
    TSeriesPlottable(const TSeriesPlottable&) = delete;
    TSeriesPlottable& operator=(const TSeriesPlottable&) = delete;

    // Follows a changed style. Only a change of what the points turn into (drawing kind,
    // offset) builds the data again; axis, colour, pen, title and bar width change in place.
    void Restyle(const TFieldSeries& series);

    QCPAbstractPlottable* Plottable() const { return main; }
    QCPGraph* Graph() const { return qobject_cast<QCPGraph*>(main); }
    QCPBars* Bars() const { return qobject_cast<QCPBars*>(main); }
    QCPGraph* BaseLine() const { return baseLine; }

private:
    void Build(const TFieldSeries& series);
    void Remove();
    void ApplyLook(const TSeriesStyle& style);

    QPointer<QCustomPlot> plot;
    QPointer<QCPAbstractPlottable> main;
    QPointer<QCPGraph> baseLine;
    TSeriesStyle builtStyle;
};

// A chart colour from a stored colour value (red + 256 × green + 65536 × blue).
QColor ChartColor(TColor color);
