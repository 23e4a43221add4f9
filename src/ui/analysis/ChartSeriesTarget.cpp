#include "ui/analysis/ChartSeriesTarget.h"

#include <algorithm>

TChartSeriesTarget::TChartSeriesTarget(QCustomPlot& plot)
    : plot(plot)
{
}

TChartSeriesTarget::~TChartSeriesTarget() = default;

std::vector<TChartSeriesTarget::Shown>::iterator TChartSeriesTarget::Find(
    const TFieldSeries& series)
{
    return std::find_if(
        shown.begin(), shown.end(), [&](const Shown& s) { return s.series == &series; });
}

std::vector<TChartSeriesTarget::Shown>::const_iterator TChartSeriesTarget::Find(
    const TFieldSeries& series) const
{
    return std::find_if(
        shown.begin(), shown.end(), [&](const Shown& s) { return s.series == &series; });
}

void TChartSeriesTarget::RequestRepaint()
{
    // Queued: a run of changes costs one repaint.
    plot.replot(QCustomPlot::rpQueuedReplot);
}

void TChartSeriesTarget::AttachSeries(TFieldSeries& series)
{
    if (Find(series) != shown.end())
        return;
    shown.push_back({&series, std::make_unique<TSeriesPlottable>(plot, series)});
    RequestRepaint();
}

void TChartSeriesTarget::DetachSeries(TFieldSeries& series)
{
    const auto it = Find(series);
    if (it == shown.end())
        return;
    shown.erase(it);
    RequestRepaint();
}

void TChartSeriesTarget::SeriesRestyled(TFieldSeries& series)
{
    const auto it = Find(series);
    if (it == shown.end())
        return;
    it->plottable->Restyle(series);
    RequestRepaint();
}

int TChartSeriesTarget::PlotWidth() const
{
    return plot.axisRect()->width();
}

void TChartSeriesTarget::DetachAll()
{
    if (shown.empty())
        return;
    shown.clear();
    RequestRepaint();
}

bool TChartSeriesTarget::Holds(const TFieldSeries& series) const
{
    return Find(series) != shown.end();
}

const TSeriesPlottable* TChartSeriesTarget::PlottableOf(const TFieldSeries& series) const
{
    const auto it = Find(series);
    return it == shown.end() ? nullptr : it->plottable.get();
}

bool TChartSeriesTarget::HasSeriesOn(TVerticalAxis axis) const
{
    return std::any_of(
        shown.begin(), shown.end(), [&](const Shown& s) { return s.series->Style().axis == axis; });
}

std::optional<TValueRange> TChartSeriesTarget::ValueRangeOn(
    TVerticalAxis axis, double fromX, double toX) const
{
    std::optional<TValueRange> range;
    for (const Shown& s : shown) {
        if (s.series->Style().axis != axis)
            continue;
        const auto own = s.series->ValueRangeBetween(fromX, toX);
        if (!own)
            continue;
        if (!range) {
            range = own;
            continue;
        }
        range->smallest = std::min(range->smallest, own->smallest);
        range->largest = std::max(range->largest, own->largest);
    }
    return range;
}
