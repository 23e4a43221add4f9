#pragma once
// A chart as the analysis sees it: the field series given to it are drawn as plottables,
// restyled in place and taken off again. The chart only borrows the series; it keeps them
// in the order they came, which is the order they are drawn and listed in the legend.

#include "core/logdata/ChartTarget.h"
#include "ui/analysis/SeriesPlottable.h"

#include <memory>
#include <optional>
#include <vector>

class QCustomPlot;

class TChartSeriesTarget : public TChartTarget {
public:
    explicit TChartSeriesTarget(QCustomPlot& plot);
    ~TChartSeriesTarget() override;

    void AttachSeries(TFieldSeries& series) override;
    void DetachSeries(TFieldSeries& series) override;
    void SeriesRestyled(TFieldSeries& series) override;
    int PlotWidth() const override;

    // Takes every series off the chart.
    void DetachAll();
    int SeriesCount() const { return static_cast<int>(shown.size()); }
    bool Holds(const TFieldSeries& series) const;
    // What the chart draws for the series; null when it is not on the chart.
    const TSeriesPlottable* PlottableOf(const TFieldSeries& series) const;
    // Whether any series is drawn against the axis.
    bool HasSeriesOn(TVerticalAxis axis) const;
    // The values the series on the axis show between two times (offset-aware; areas and
    // bars include their base lines); none when they show none.
    std::optional<TValueRange> ValueRangeOn(TVerticalAxis axis, double fromX, double toX) const;

    QCustomPlot& Plot() const { return plot; }

private:
    struct Shown {
        TFieldSeries* series;
        std::unique_ptr<TSeriesPlottable> plottable;
    };

    std::vector<Shown>::iterator Find(const TFieldSeries& series);
    std::vector<Shown>::const_iterator Find(const TFieldSeries& series) const;
    void RequestRepaint();

    QCustomPlot& plot;
    std::vector<Shown> shown;
};
