#include "ui/analysis/ChartView.h"

#include "core/base/DateTime.h"
#include "ui/analysis/ChartLook.h"
#include "ui/analysis/DateTimeTicker.h"
#include "ui/analysis/LaneAxisTicker.h"

#include <qcustomplot.h>

#include <QDate>

#include <algorithm>
#include <cmath>

namespace {

constexpr int RepaintDelayMs = 50;
constexpr double UpperLeftMin = -40;
constexpr double UpperLeftMax = 250;
constexpr double LanesTop = 110;
constexpr double NoLanesBottom = -10;
// Extra room below the fitted minimum: the left axis 0.1, the right axis 0.2.
constexpr double LeftFitRoom = 0.1;
constexpr double RightFitRoom = 0.2;

double Today()
{
    const QDate today = QDate::currentDate();
    return EncodeDate(today.year(), today.month(), today.day());
}

// Whole-number bounds around the values with 2 % of their span on either side and a
// little more room below and a whole unit above. The minimum is rounded down, so values
// below zero stay inside the axis as well.
QCPRange FittedRange(const TValueRange& values, double roomBelow)
{
    const double mn = std::floor(values.smallest);
    const double mx = std::trunc(values.largest);
    const double e = (mx - mn) * 0.02;
    return QCPRange(mn - e - roomBelow, mx + e + 1);
}

// A title stands in the first row of its chart's layout while it has a text.
void SetTitleOf(QCustomPlot& plot, QCPTextElement& title, const QString& text)
{
    QCPLayoutGrid* layout = plot.plotLayout();
    const bool inLayout
        = layout->elementCount() > 0 && layout->hasElement(0, 0) && layout->element(0, 0) == &title;
    title.setText(text);
    if (text.isEmpty() && inLayout) {
        layout->take(&title);
        layout->simplify();
        title.setVisible(false);
    } else if (!text.isEmpty() && !inLayout) {
        layout->insertRow(0);
        layout->addElement(0, 0, &title);
        title.setVisible(true);
    }
    plot.replot(QCustomPlot::rpQueuedReplot);
}

} // namespace

TChartView::TChartView(QCustomPlot& chart, QCustomPlot& chart2, QObject* parent)
    : QObject(parent)
    , chart(chart)
    , chart2(chart2)
    , upper(chart)
    , lower(chart2)
{
    ApplyUpperChartLook(chart);
    ApplyLowerChartLook(chart2);

    timeTicker = QSharedPointer<TDateTimeTicker>::create(chart.xAxis);
    chart.xAxis->setTicker(timeTicker);
    timeTicker2 = QSharedPointer<TDateTimeTicker>::create(chart2.xAxis);
    chart2.xAxis->setTicker(timeTicker2);
    laneTicker = QSharedPointer<TLaneAxisTicker>::create();
    chart2.yAxis->setTicker(laneTicker);
    chart2.yAxis->setRange(NoLanesBottom, LanesTop);
    chart.yAxis->setRange(UpperLeftMin, UpperLeftMax);

    marginGroup = new QCPMarginGroup(&chart);
    chart.axisRect()->setMarginGroup(QCP::msLeft | QCP::msRight, marginGroup);
    chart2.axisRect()->setMarginGroup(QCP::msLeft | QCP::msRight, marginGroup);
    for (QCustomPlot* plot : {&chart, &chart2})
        plot->plotLayout()->setAutoMargins(QCP::msNone);

    title = new QCPTextElement(&chart, QString(), ChartFont());
    title->setVisible(false);
    lowerTitle = new QCPTextElement(&chart2, QString(), ChartFont());
    lowerTitle->setVisible(false);

    repaintTimer.setInterval(RepaintDelayMs);
    repaintTimer.setSingleShot(true);
    connect(&repaintTimer, &QTimer::timeout, this, &TChartView::RepaintTimerTimer);
    connect(chart.xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
        &TChartView::FollowUpperTimeAxis);
    connect(&chart, &QCustomPlot::beforeReplot, this, [this] { PrepareRepaint(this->chart); });
    connect(&chart2, &QCustomPlot::beforeReplot, this, [this] { PrepareRepaint(this->chart2); });
    connect(&chart, &QCustomPlot::afterReplot, this, &TChartView::NoteRepainted);
    connect(&chart2, &QCustomPlot::afterReplot, this, &TChartView::NoteRepainted);

    const double today = Today();
    SetTimeWindow(today + 1, today);
}

TChartView::~TChartView() = default;

void TChartView::RemoveAllSeries()
{
    upper.DetachAll();
    lower.DetachAll();
}

void TChartView::SetAxisTitles(const QString& left, const QString& right, const QString& lowerLeft)
{
    chart.yAxis->setLabel(left);
    chart.yAxis2->setLabel(right);
    chart2.yAxis->setLabel(lowerLeft);
    chart.replot(QCustomPlot::rpQueuedReplot);
    chart2.replot(QCustomPlot::rpQueuedReplot);
}

QCPGraph* TChartView::MakePlaceholder(QCustomPlot& plot, QCPAxis* valueAxis)
{
    auto* graph = new QCPGraph(plot.xAxis, valueAxis);
    graph->addData(Today(), 0);
    graph->setPen(Qt::NoPen);
    graph->setSelectable(QCP::stNone);
    graph->removeFromLegend();
    return graph;
}

void TChartView::SetPlaceholder(Placeholder which, bool attach)
{
    QPointer<QCPGraph>& graph = placeholders[which];
    QCustomPlot& plot = which == UpperLeft || which == UpperRight ? chart : chart2;
    QCPAxis* axis = which == UpperLeft || which == LowerLeft ? plot.yAxis : plot.yAxis2;
    if (attach) {
        if (!graph)
            graph = MakePlaceholder(plot, axis);
        axis->setLabel(QStringLiteral(" "));
    } else if (graph) {
        plot.removePlottable(graph);
    }
    plot.replot(QCustomPlot::rpQueuedReplot);
}

void TChartView::SetPlaceholders(bool upperLeft, bool lowerRight, bool lowerLeft)
{
    SetPlaceholder(UpperLeft, upperLeft);
    SetPlaceholder(LowerLeft, lowerLeft);
    SetPlaceholder(LowerRight, lowerRight);
    if (!lowerRight)
        chart2.yAxis2->setLabel(QString());
}

bool TChartView::PlaceholderAttached(Placeholder which) const
{
    return !placeholders[which].isNull();
}

void TChartView::SetOutputLanes(const QStringList& names)
{
    laneTicker->SetLaneNames(names);
    const int n = static_cast<int>(names.size());
    const double bottom = n == 0 ? NoLanesBottom : 140.0 - n * TLaneAxisTicker::LaneHeight;
    chart2.yAxis->setRange(bottom, LanesTop);
    chart2.replot(QCustomPlot::rpQueuedReplot);
}

QString TChartView::OutputLaneName(int k) const
{
    return laneTicker->LaneName(k);
}

const QStringList& TChartView::OutputLaneNames() const
{
    return laneTicker->LaneNames();
}

void TChartView::SetFixedLeftRange(int axisMin, int axisMax)
{
    chart.yAxis->setRange(std::min(axisMin, axisMax), std::max(axisMin, axisMax));
    chart.replot(QCustomPlot::rpQueuedReplot);
}

void TChartView::ScaleValueAxes(bool dynamicScaling, int axisMin, int axisMax)
{
    const double from = WindowStart();
    const double to = WindowEnd();
    if (!dynamicScaling) {
        SetFixedLeftRange(axisMin, axisMax);
    } else if (const auto left = upper.ValueRangeOn(TVerticalAxis::Left, from, to)) {
        chart.yAxis->setRange(FittedRange(*left, LeftFitRoom));
    }
    // The right axis has no fixed range of its own: it always fits its values.
    if (const auto right = upper.ValueRangeOn(TVerticalAxis::Right, from, to))
        chart.yAxis2->setRange(FittedRange(*right, RightFitRoom));
    chart.replot(QCustomPlot::rpQueuedReplot);
}

void TChartView::SetTimeWindow(double end, double start)
{
    chart.xAxis->setRange(start, end);
    chart.replot(QCustomPlot::rpQueuedReplot);
}

void TChartView::FollowUpperTimeAxis(const QCPRange& range)
{
    chart2.xAxis->setRange(range);
    chart2.replot(QCustomPlot::rpQueuedReplot);
}

double TChartView::WindowStart() const
{
    return chart.xAxis->range().lower;
}

double TChartView::WindowEnd() const
{
    return chart.xAxis->range().upper;
}

void TChartView::SetTimeLabelFormat(const std::string& pattern)
{
    timeTicker->SetLabelFormat(pattern);
    timeTicker2->SetLabelFormat(pattern);
    chart.replot(QCustomPlot::rpQueuedReplot);
    chart2.replot(QCustomPlot::rpQueuedReplot);
}

std::string TChartView::TimeLabelFormat() const
{
    return timeTicker->LabelFormat();
}

void TChartView::SetTimeIncrement(double days)
{
    timeTicker->SetIncrement(days);
    timeTicker2->SetIncrement(days);
    chart.replot(QCustomPlot::rpQueuedReplot);
    chart2.replot(QCustomPlot::rpQueuedReplot);
}

double TChartView::TimeIncrement() const
{
    return timeTicker->Increment();
}

void TChartView::SetTimeExactDateTime(bool exact)
{
    timeTicker->SetExactDateTime(exact);
    timeTicker2->SetExactDateTime(exact);
    chart.replot(QCustomPlot::rpQueuedReplot);
    chart2.replot(QCustomPlot::rpQueuedReplot);
}

bool TChartView::TimeExactDateTime() const
{
    return timeTicker->ExactDateTime();
}

void TChartView::SetTitle(const QString& text)
{
    SetTitleOf(chart, *title, text);
}

QString TChartView::Title() const
{
    return title->text();
}

void TChartView::SetLowerTitle(const QString& text)
{
    SetTitleOf(chart2, *lowerTitle, text);
}

QString TChartView::LowerTitle() const
{
    return lowerTitle->text();
}

void TChartView::SetSideMargins(int percent)
{
    sideMarginPercent = percent;
    ApplyMargins();
}

void TChartView::SetVerticalMargins(int percent)
{
    verticalMarginPercent = percent;
    ApplyMargins();
}

void TChartView::ApplyMargins()
{
    for (QCustomPlot* plot : {&chart, &chart2}) {
        UpdateMargins(*plot);
        plot->replot(QCustomPlot::rpQueuedReplot);
    }
}

void TChartView::UpdateMargins(QCustomPlot& plot)
{
    const QRect area = plot.viewport();
    const int x = area.width() * sideMarginPercent / 100;
    const int y = area.height() * verticalMarginPercent / 100;
    plot.plotLayout()->setMargins(QMargins(x, y, x, y));
}

void TChartView::DrawAtSize(QCustomPlot& plot, QCPPainter& painter, QSize size)
{
    const QRect screen = plot.viewport();
    plot.setViewport(QRect(QPoint(0, 0), size));
    PrepareRepaint(plot);
    // Laid out at the output size once before drawing: the time axis chooses its labels by
    // the width of its plot area, which until then is the screen's.
    for (const auto phase :
        {QCPLayoutElement::upPreparation, QCPLayoutElement::upMargins, QCPLayoutElement::upLayout})
        plot.plotLayout()->update(phase);
    plot.toPainter(&painter, size.width(), size.height());
    plot.setViewport(screen);
}

void TChartView::PrepareRepaint(QCustomPlot& plot)
{
    UpdateMargins(plot);
    // An axis is drawn while it carries a series or a placeholder, the time axis while
    // the chart holds anything.
    plot.xAxis->setVisible(plot.plottableCount() > 0);
    for (QCPAxis* axis : {plot.yAxis, plot.yAxis2})
        axis->setVisible(!axis->plottables().isEmpty());
}

bool TChartView::PlotAreasAligned() const
{
    const QRect a = chart.axisRect()->rect();
    const QRect b = chart2.axisRect()->rect();
    return a.left() == b.left() && a.right() == b.right();
}

void TChartView::NoteRepainted()
{
    // The other chart took its margins before this one's labels were known.
    if (!repaintingForAlignment && !PlotAreasAligned())
        repaintTimer.start();
}

void TChartView::RepaintTimerTimer()
{
    repaintTimer.stop();
    RepaintNow();
}

void TChartView::RepaintNow()
{
    repaintingForAlignment = true;
    for (int round = 0; round < 3; ++round) {
        chart2.replot();
        chart.replot();
        if (PlotAreasAligned())
            break;
    }
    repaintingForAlignment = false;
}
