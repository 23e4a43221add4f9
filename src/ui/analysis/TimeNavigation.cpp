#include "ui/analysis/TimeNavigation.h"

#include "core/loading/AnalysisSet.h"
#include "core/logdata/LogAnalysis.h"
#include "ui/analysis/ChartView.h"
#include "ui/analysis/ChartZoom.h"
#include "ui/common/UiText.h"
#include "ui/common/XPButton.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QSlider>

#include <qcustomplot.h>

#include <algorithm>

namespace {

constexpr double ScrollFraction = 0.025;

int DeviceIndexOf(const TAnalysisSet& analyses, const TLogAnalysis* analysis)
{
    for (int d = 0; d < analyses.DeviceCount(); ++d)
        if (analyses.Analysis(d) == analysis)
            return d;
    return -1;
}

} // namespace

TTimeNavigation::TTimeNavigation(TAnalysisSet& analyses, TChartView& view, TChartZoom& zoom,
    TNavigationHost& host, const TNavigationControls& controls, QObject* parent)
    : QObject(parent)
    , analyses(analyses)
    , view(view)
    , zoom(zoom)
    , host(host)
    , controls(controls)
{
    scrollTimer.setSingleShot(false);
    connect(controls.ButtonJumpLeft, &QPushButton::clicked, this, [this] { ButtonJumpClick(-1); });
    connect(controls.ButtonJumpRight, &QPushButton::clicked, this, [this] { ButtonJumpClick(1); });
    connect(controls.ButtonScrollLeft, &QPushButton::clicked, this,
        [this] { ButtonScrollClick(true); });
    connect(controls.ButtonScrollRight, &QPushButton::clicked, this,
        [this] { ButtonScrollClick(false); });
    controls.ButtonScrollLeft->installEventFilter(this);
    controls.ButtonScrollRight->installEventFilter(this);
    for (QWidget* chart :
        {static_cast<QWidget*>(&view.Chart()), static_cast<QWidget*>(&view.Chart2())}) {
        chart->setFocusPolicy(Qt::StrongFocus);
        chart->installEventFilter(this);
    }
    ApplyLanguage();
}

TTimeNavigation::~TTimeNavigation() = default;

void TTimeNavigation::ApplyLanguage()
{
    controls.ButtonJumpLeft->setToolTip(UiText(TextId::TxtHintJumpLeft));
    controls.ButtonScrollLeft->setToolTip(UiText(TextId::TxtHintScrollLeft));
    controls.ButtonScrollRight->setToolTip(UiText(TextId::TxtHintScrollRight));
    controls.ButtonJumpRight->setToolTip(UiText(TextId::TxtHintJumpRight));
}

int TTimeNavigation::SpanEntry() const
{
    return controls.SpanTime->currentIndex();
}

TTimeSpan TTimeNavigation::Window() const
{
    return {view.WindowStart(), view.WindowEnd()};
}

bool TTimeNavigation::Loaded() const
{
    return analyses.DayList().Count() > 0;
}

void TTimeNavigation::ComputeRange(int kind)
{
    const TTimeSpan range = ::ComputeRange(kind, analyses.RequestedFrom(), analyses.RequestedTo());
    analyses.SetRange(range.start, range.end);
}

void TTimeNavigation::ApplySpanTime(int kind)
{
    view.SetTimeIncrement(0);
    ComputeRange(kind);
    const int entry = SpanEntry();
    const TTimeSpan window
        = SpanWindow(entry, view.WindowStart(), {analyses.RangeStart(), analyses.RangeEnd()});
    if (kind == 0) {
        view.SetTimeLabelFormat("hh:mm");
    } else {
        view.SetTimeLabelFormat(" dd. mmm ");
        if (kind >= 2)
            view.SetTimeIncrement(7);
    }
    view.SetTimeWindow(window.end, window.start);
}

void TTimeNavigation::SpanTimeChange()
{
    if (!Loaded())
        return;
    zoom.UndoZoom();
    const int kind = PeriodKindOf(SpanEntry());
    for (const auto& analysis : analyses.Analyses()) {
        if (!analysis)
            continue;
        analysis->SetSumFieldsAvailable(kind != 0);
        analysis->SetMonthlyBars(kind == 3);
    }
    host.RemoveAllSeries();
    if (host.OverviewTabActive()) {
        host.BuildOverviewSelector();
        for (const auto& analysis : analyses.Analyses())
            if (analysis)
                analysis->RestoreOverviewSeries();
    } else if (TLogAnalysis* current = analyses.CurrentAnalysis()) {
        current->RestoreShownSeries();
    }
    ApplySpanTime(kind);
    RefreshAfterMove(true);
    host.UpdateExcelAction();
}

void TTimeNavigation::RefreshAfterMove(bool syncSlider)
{
    host.FillTable();
    host.UpdateValueAxes();
    UpdateYieldText();
    UpdateChartTitle();
    if (syncSlider)
        SyncSlider();
}

void TTimeNavigation::SyncSlider()
{
    if (!Loaded())
        return;
    const TSliderState state = SliderStateFor(SpanEntry(), view.WindowStart(),
        {analyses.RangeStart(), analyses.RangeEnd()}, analyses.DayList());
    // Setting the slider here must not move the window again.
    const QSignalBlocker quiet(controls.SliderTime);
    controls.SliderTime->setMaximum(state.maximum);
    controls.SliderTime->setValue(state.position);
}

void TTimeNavigation::SliderTimeChange()
{
    if (!Loaded())
        return;
    zoom.UndoZoom();
    const TTimeSpan window
        = SliderWindow(SpanEntry(), controls.SliderTime->value(), controls.SliderTime->maximum(),
            view.WindowStart(), {analyses.RangeStart(), analyses.RangeEnd()}, analyses.DayList());
    view.SetTimeWindow(window.end, window.start);
    RefreshAfterMove(false);
}

void TTimeNavigation::ButtonJumpClick(int step)
{
    if (!Loaded())
        return;
    const int entry = SpanEntry();
    QSlider* slider = controls.SliderTime;
    if (IsHourEntry(entry)) {
        zoom.UndoZoom();
        view.SetTimeWindow(view.WindowEnd() + step, view.WindowStart() + step);
        RefreshAfterMove(true);
    } else if (entry == SpanOneDay) {
        slider->setValue(slider->value() + step);
    } else {
        slider->setValue(step < 0 ? 0 : slider->maximum());
    }
}

void TTimeNavigation::ButtonScrollClick(bool left)
{
    if (PeriodKindOf(SpanEntry()) == 0)
        return;
    QSlider* slider = controls.SliderTime;
    if (left && slider->value() > 0)
        slider->setValue(slider->value() - 1);
    else if (!left && slider->value() < slider->maximum())
        slider->setValue(slider->value() + 1);
}

void TTimeNavigation::ButtonScrollMouseDown(bool left)
{
    if (PeriodKindOf(SpanEntry()) != 0 || !Loaded())
        return;
    StopScrollTimer();
    scrollTimer.setInterval(ScrollIntervalMs);
    scrollTimer.setProperty("left", left);
    tickHandler = connect(&scrollTimer, &QTimer::timeout, this, &TTimeNavigation::ScrollTimerTick);
    scrollTimer.start();
}

void TTimeNavigation::ScrollTimerTick()
{
    // Stopped while the step works, so a slow repaint never queues further ticks.
    scrollTimer.stop();
    ScrollStep(scrollTimer.property("left").toBool());
    scrollTimer.start();
}

void TTimeNavigation::StopScrollTimer()
{
    scrollTimer.stop();
    disconnect(tickHandler);
    tickHandler = {};
}

void TTimeNavigation::ButtonScrollMouseUp()
{
    StopScrollTimer();
    UpdateYieldText();
    UpdateChartTitle();
}

void TTimeNavigation::ButtonScrollKeyDown(bool left)
{
    if (PeriodKindOf(SpanEntry()) != 0 || !Loaded())
        return;
    StopScrollTimer();
    ScrollStep(left);
}

void TTimeNavigation::ScrollStep(bool left)
{
    if (PeriodKindOf(SpanEntry()) != 0)
        return;
    const double start = view.WindowStart();
    const double end = view.WindowEnd();
    const double step = (left ? -ScrollFraction : ScrollFraction) * (end - start);
    view.SetTimeWindow(end + step, start + step);
    SyncSlider();
    UpdateChartTitle();
}

void TTimeNavigation::UpdateYieldText()
{
    yieldText.clear();
    if (analyses.DeviceCount() == 0 || host.OverviewTabActive())
        return;
    const TLogAnalysis* current = analyses.CurrentAnalysis();
    yieldText = ::YieldText(PeriodKindOf(SpanEntry()), view.WindowStart(), current,
        DeviceIndexOf(analyses, current), analyses.MonthlyOverview(), analyses.AnnualOverview());
}

void TTimeNavigation::UpdateChartTitle()
{
    if (!Loaded())
        return;
    view.SetTitle(QString::fromStdString(ChartTitleText(SpanEntry(), Window(), yieldText)));
}

bool TTimeNavigation::IsScrollButton(QObject* object, bool& left) const
{
    left = object == controls.ButtonScrollLeft;
    return left || object == controls.ButtonScrollRight;
}

bool TTimeNavigation::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress
        && (watched == &view.Chart() || watched == &view.Chart2()))
        return ChartKeyPress(*static_cast<QKeyEvent*>(event))
            || QObject::eventFilter(watched, event);
    bool left = false;
    if (!IsScrollButton(watched, left))
        return QObject::eventFilter(watched, event);
    const auto* button = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: // a quick second click
        if (button->isEnabled() && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            ButtonScrollMouseDown(left);
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            ButtonScrollMouseUp();
        break;
    case QEvent::KeyPress:
        // Every press, the keyboard's own repeats included, is one step.
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space)
            ButtonScrollKeyDown(left);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool TTimeNavigation::ChartKeyPress(const QKeyEvent& event)
{
    if (!Loaded() || event.modifiers() & ~Qt::KeypadModifier)
        return false;
    QSlider* slider = controls.SliderTime;
    switch (event.key()) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const bool left = event.key() == Qt::Key_Left;
        if (PeriodKindOf(SpanEntry()) == 0)
            ButtonScrollKeyDown(left);
        else
            ButtonScrollClick(left);
        return true;
    }
    case Qt::Key_PageUp:
        ButtonJumpClick(-1);
        return true;
    case Qt::Key_PageDown:
        ButtonJumpClick(1);
        return true;
    case Qt::Key_Home:
    case Qt::Key_End:
        slider->setValue(event.key() == Qt::Key_Home ? 0 : slider->maximum());
        return true;
    default:
        return false;
    }
}
