#include "ui/analysis/ChartZoom.h"

#include "core/loading/TimeWindow.h"
#include "ui/analysis/ChartView.h"

#include <QMouseEvent>

namespace {

constexpr double MinimumTimeSpan = 1.0 / 24;
constexpr double MinimumValueSpan = 0.01;
// QCustomPlot takes a release within this Manhattan distance of the press for a click,
// not for a drag: neither a zoom nor its undo.
constexpr int ClickTolerance = 3;

void KeepMinimumValueSpan(QCPAxis* axis)
{
    const QCPRange range = axis->range();
    const double v = range.upper - range.lower;
    if (v < MinimumValueSpan) {
        const double centre = range.lower + v * 0.5;
        axis->setRange(centre - MinimumValueSpan / 2, centre + MinimumValueSpan / 2);
    }
}

} // namespace

TChartZoom::TChartZoom(TChartView& view, std::function<int()> spanEntry,
    std::function<void()> updateValueAxes, QObject* parent)
    : QObject(parent)
    , view(view)
    , chart(view.Chart())
    , spanEntry(std::move(spanEntry))
    , updateValueAxes(std::move(updateValueAxes))
{
    chart.installEventFilter(this);
    // Runs after the chart's own rectangle zoom, which is connected first.
    connect(chart.selectionRect(), &QCPSelectionRect::accepted, this, [this] { ChartZoom(); });
}

TChartZoom::~TChartZoom() = default;

bool TChartZoom::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &chart)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto& mouse = static_cast<const QMouseEvent&>(*event);
        if (mouse.button() == Qt::RightButton) {
            ChartMouseDown(mouse);
            return true;
        }
        if (mouse.button() == Qt::LeftButton) {
            pressPos = mouse.position().toPoint();
            pressTime = chart.xAxis->range();
            pressLeft = chart.yAxis->range();
            pressRight = chart.yAxis2->range();
        }
        break;
    }
    case QEvent::MouseMove:
        if (rightDragging) {
            ChartMouseMove(static_cast<const QMouseEvent&>(*event));
            return true;
        }
        break;
    case QEvent::MouseButtonRelease: {
        const auto& mouse = static_cast<const QMouseEvent&>(*event);
        if (mouse.button() == Qt::RightButton) {
            ChartMouseUp();
            return true;
        }
        if (mouse.button() == Qt::LeftButton)
            return LeftRelease(mouse);
        break;
    }
    case QEvent::MouseButtonDblClick:
        if (static_cast<const QMouseEvent&>(*event).button() == Qt::LeftButton) {
            ChartUndoZoom();
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool TChartZoom::LeftRelease(const QMouseEvent& event)
{
    QCPSelectionRect* rect = chart.selectionRect();
    const QPoint releasePos = event.position().toPoint();
    if (!rect || !rect->isActive() || releasePos.x() >= pressPos.x()
        || (releasePos - pressPos).manhattanLength() <= ClickTolerance)
        return false;
    // A rectangle drawn from right to left asks for the whole window again.
    rect->cancel();
    ChartUndoZoom();
    chart.replot(QCustomPlot::rpQueuedReplot);
    return true;
}

void TChartZoom::ChartZoom()
{
    if (!cache.Zoomed) {
        cache.ExactDateTime = view.TimeExactDateTime();
        cache.DateTimeFormat = view.TimeLabelFormat();
        cache.Increment = view.TimeIncrement();
        savedTime = pressTime;
        savedLeft = pressLeft;
        savedRight = pressRight;
        cache.Zoomed = true;
    }
    QCPRange time = chart.xAxis->range();
    const double d = time.upper - time.lower;
    if (d < MinimumTimeSpan) {
        time.lower += (d - MinimumTimeSpan) * 0.5;
        time.upper -= (d - MinimumTimeSpan) * 0.5;
        chart.xAxis->setRange(time);
    }
    KeepMinimumValueSpan(chart.yAxis);
    KeepMinimumValueSpan(chart.yAxis2);

    view.SetTimeExactDateTime(false);
    if (PeriodKindOf(spanEntry()) != 0) {
        if (d >= 7) {
            view.SetTimeIncrement(1);
            view.SetTimeLabelFormat(" dd. mmm ");
        } else {
            view.SetTimeLabelFormat(" dd. mmm hh:mm ");
            view.SetTimeIncrement(d >= 1 ? 1.0 / 24 : 0);
        }
    }
    chart.replot(QCustomPlot::rpQueuedReplot);
}

void TChartZoom::ChartUndoZoom()
{
    if (cache.Zoomed) {
        view.SetTimeLabelFormat(cache.DateTimeFormat);
        view.SetTimeExactDateTime(cache.ExactDateTime);
        view.SetTimeIncrement(cache.Increment);
        chart.xAxis->setRange(savedTime);
        chart.yAxis->setRange(savedLeft);
        chart.yAxis2->setRange(savedRight);
        cache.Zoomed = false;
    }
    updateValueAxes();
}

void TChartZoom::UndoZoom()
{
    if (cache.Zoomed)
        ChartUndoZoom();
}

void TChartZoom::ChartMouseDown(const QMouseEvent& event)
{
    const double y = event.position().y();
    grabLeft = chart.yAxis->pixelToCoord(y);
    grabRight = chart.yAxis2->pixelToCoord(y);
    rightDragging = true;
}

void TChartZoom::ChartMouseMove(const QMouseEvent& event)
{
    // The value grabbed stays under the pointer.
    const double y = event.position().y();
    chart.yAxis->moveRange(grabLeft - chart.yAxis->pixelToCoord(y));
    chart.yAxis2->moveRange(grabRight - chart.yAxis2->pixelToCoord(y));
    chart.replot(QCustomPlot::rpQueuedReplot);
}

void TChartZoom::ChartMouseUp()
{
    rightDragging = false;
}
