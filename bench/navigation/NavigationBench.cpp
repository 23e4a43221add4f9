// Moving through a year of one-minute logs of three participants with all values of the
// solar controller shown, each move with the repaint of both charts it causes: switching
// the time window to "1 year", a slider move in the month window, one scroll step in the
// day window, and one read-out update as the pointer moves over the upper chart.
// Runs offscreen unless a platform is chosen.

#include "core/loading/TimeWindow.h"
#include "core/logdata/LogAnalysis.h"
#include "support/BenchmarkWindow.h"
#include "ui/analysis/ChartView.h"
#include "ui/analysis/Childform.h"
#include "ui/analysis/TimeNavigation.h"
#include "ui/analysis/ValueReadout.h"

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QSlider>

#include <qcustomplot.h>

#include <benchmark/benchmark.h>

#include <iostream>

namespace {

TChildform* window = nullptr;

void Repaint()
{
    window->ChartView().RepaintNow();
}

void Choose(int entry)
{
    window->SpanTime->setCurrentIndex(entry);
    Repaint();
}

void SwitchToOneYear(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        Choose(SpanOneMonth);
        state.ResumeTiming();
        Choose(SpanOneYear);
    }
}

void SliderMoveInMonthWindow(benchmark::State& state)
{
    Choose(SpanOneMonth);
    int position = 0;
    for (auto _ : state) {
        position = (position + 5) % (window->SliderTime->maximum() + 1);
        window->SliderTime->setValue(position);
        Repaint();
    }
}

void ScrollStepInDayWindow(benchmark::State& state)
{
    Choose(SpanOneDay);
    window->SliderTime->setValue(window->SliderTime->maximum() / 2);
    Repaint();
    bool left = false;
    for (auto _ : state) {
        window->Navigation().ScrollStep(left);
        Repaint();
        left = !left;
    }
}

void ReadoutOnPointerMove(benchmark::State& state)
{
    Choose(SpanOneDay);
    QCustomPlot* chart = window->Chart;
    const QRect plot = chart->axisRect()->rect();
    int x = plot.left();
    for (auto _ : state) {
        x = x + 7 > plot.right() ? plot.left() : x + 7;
        const QPoint p(x, plot.center().y());
        QMouseEvent move(QEvent::MouseMove, p, chart->mapToGlobal(QPointF(p)), Qt::NoButton,
            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(chart, &move);
    }
    state.counters["values"] = window->Readout()
                                   .ReadoutText(window->ChartView().WindowStart())
                                   .count(QStringLiteral("<tr>"));
}

BENCHMARK(SwitchToOneYear)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(SliderMoveInMonthWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(ScrollStepInDayWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(ReadoutOnPointerMove)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(1.0);

} // namespace

int main(int argc, char** argv)
{
    UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    const TBenchmarkYear year;
    const TBenchmarkWindow bench(year);
    window = bench.Window();
    TLogAnalysis* solar = window->AnalysisSet().Analysis(0);

    // In a year window every value of the solar controller can be ticked.
    Choose(SpanOneYear);
    const int shown = ShowEveryValue(*solar);
    Repaint();
    std::cout << bench.LoadedFiles() << " files loaded; " << shown
              << " values of the solar controller shown; charts " << window->Chart->width() << " x "
              << window->Chart->height() << " and " << window->Chart2->width() << " x "
              << window->Chart2->height() << " pixels\n";

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
