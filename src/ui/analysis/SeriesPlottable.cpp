#include "ui/analysis/SeriesPlottable.h"

#include "ui/analysis/SeriesGraph.h"

#include <limits>

namespace {

constexpr double DayBarWidth = 0.75; // of a day

bool Shifted(TDrawingKind kind)
{
    return kind == TDrawingKind::OffsetLine || kind == TDrawingKind::OffsetArea;
}

QCPAxis* ValueAxis(QCustomPlot& plot, TVerticalAxis axis)
{
    return axis == TVerticalAxis::Right ? plot.yAxis2 : plot.yAxis;
}

QSharedPointer<QCPGraphDataContainer> GraphData(const TFieldSeries& series)
{
    const TPointSeries& points = series.Points();
    const double offset = Shifted(series.Style().kind) ? series.Style().offset : 0.0;
    QVector<QCPGraphData> data(points.Count());
    for (int i = 0; i < points.Count(); ++i) {
        data[i].key = points.X(i);
        data[i].value
            = points.IsNull(i) ? std::numeric_limits<double>::quiet_NaN() : points.Y(i) + offset;
    }
    auto container = QSharedPointer<QCPGraphDataContainer>::create();
    container->set(data, true);
    return container;
}

QSharedPointer<QCPBarsDataContainer> BarsData(const TFieldSeries& series)
{
    const TPointSeries& points = series.Points();
    QVector<QCPBarsData> data;
    data.reserve(points.Count());
    for (int i = 0; i < points.Count(); ++i)
        if (!points.IsNull(i))
            data.append(QCPBarsData(points.X(i), points.Y(i)));
    auto container = QSharedPointer<QCPBarsDataContainer>::create();
    container->set(data, true);
    return container;
}

// The zero line of an area: its offset across the series' time span.
QSharedPointer<QCPGraphDataContainer> BaseLineData(const TFieldSeries& series)
{
    const TPointSeries& points = series.Points();
    auto container = QSharedPointer<QCPGraphDataContainer>::create();
    if (!points.IsEmpty()) {
        const double offset = series.Style().offset;
        container->add(QCPGraphData(points.X(0), offset));
        container->add(QCPGraphData(points.X(points.Count() - 1), offset));
    }
    return container;
}

} // namespace

QColor ChartColor(TColor color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

TSeriesPlottable::TSeriesPlottable(QCustomPlot& plot, const TFieldSeries& series)
    : plot(&plot)
{
    Build(series);
}

TSeriesPlottable::~TSeriesPlottable()
{
    Remove();
}

void TSeriesPlottable::Remove()
{
    if (!plot)
        return;
    if (baseLine)
        plot->removePlottable(baseLine);
    if (main)
        plot->removePlottable(main);
}

void TSeriesPlottable::Build(const TFieldSeries& series)
{
    const TSeriesStyle& style = series.Style();
    QCPAxis* valueAxis = ValueAxis(*plot, style.axis);
    if (style.kind == TDrawingKind::SumBars) {
        auto* bars = new QCPBars(plot->xAxis, valueAxis);
        bars->setData(BarsData(series));
        main = bars;
    } else {
        auto* graph = new TSeriesGraph(plot->xAxis, valueAxis);
        graph->setData(GraphData(series));
        if (style.kind == TDrawingKind::OffsetArea) {
            baseLine = new QCPGraph(plot->xAxis, valueAxis);
            baseLine->setData(BaseLineData(series));
            baseLine->setPen(Qt::NoPen);
            baseLine->setSelectable(QCP::stNone);
            baseLine->removeFromLegend();
            graph->setChannelFillGraph(baseLine);
            // The area's edges lie under its line and its base, so smoothing the fill
            // shows nothing; it would double the cost of every repaint.
            graph->setAntialiasedFill(false);
        }
        main = graph;
    }
    builtStyle = style;
    ApplyLook(style);
}

void TSeriesPlottable::Restyle(const TFieldSeries& series)
{
    const TSeriesStyle& style = series.Style();
    if (style.kind != builtStyle.kind || style.offset != builtStyle.offset) {
        Remove();
        Build(series);
        return;
    }
    builtStyle = style;
    ApplyLook(style);
}

void TSeriesPlottable::ApplyLook(const TSeriesStyle& style)
{
    const QColor color = ChartColor(style.color);
    QPen pen(color, style.penWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    QCPAxis* valueAxis = ValueAxis(*plot, style.axis);
    main->setValueAxis(valueAxis);
    main->setPen(pen);
    main->setName(QString::fromStdString(style.title));
    if (QCPBars* bars = Bars()) {
        bars->setBrush(color);
        if (style.barWidthMode == TBarWidthMode::Pixels) {
            bars->setWidthType(QCPBars::wtAbsolute);
            bars->setWidth(std::max(style.barWidthPixels, 1));
        } else {
            bars->setWidthType(QCPBars::wtPlotCoords);
            bars->setWidth(DayBarWidth);
        }
        return;
    }
    QCPGraph* graph = Graph();
    graph->setLineStyle(style.stairs ? QCPGraph::lsStepLeft : QCPGraph::lsLine);
    if (baseLine) {
        baseLine->setValueAxis(valueAxis);
        graph->setBrush(color);
    } else {
        graph->setBrush(Qt::NoBrush);
    }
}
