// The charts of an analysis window over ten years of one-minute logs of five participants,
// every value of the first solar controller shown: one full repaint of both charts in the
// last year's window, and switching the time window from "1 month" to "1 year" with the
// repaint it causes.
// Runs offscreen unless a platform is chosen.

#include "core/loading/TimeWindow.h"
#include "core/logdata/LogAnalysis.h"
#include "support/BenchmarkWindow.h"
#include "ui/analysis/ChartView.h"
#include "ui/analysis/Childform.h"

#include <QApplication>
#include <QComboBox>

#include <qcustomplot.h>

#include <benchmark/benchmark.h>

#include <iostream>

namespace {

TChildform* window = nullptr;

void Choose(int entry)
{
    window->SpanTime->setCurrentIndex(entry);
    window->ChartView().RepaintNow();
}

void RepaintBothChartsTenYears(benchmark::State& state)
{
    Choose(SpanOneYear);
    for (auto _ : state) {
        window->Chart2->replot();
        window->Chart->replot();
    }
}

void SwitchToOneYearTenYears(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        Choose(SpanOneMonth);
        state.ResumeTiming();
        Choose(SpanOneYear);
    }
}

BENCHMARK(RepaintBothChartsTenYears)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(SwitchToOneYearTenYears)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    const TBenchmarkDecade decade;
    const TBenchmarkWindow bench(decade);
    window = bench.Window();
    Choose(SpanOneYear);
    const int shown = ShowEveryValue(*window->AnalysisSet().Analysis(0));
    window->ChartView().RepaintNow();
    std::cout << bench.LoadedFiles() << " files loaded; " << shown
              << " values of the first solar controller shown; charts " << window->Chart->width()
              << " x " << window->Chart->height() << " and " << window->Chart2->width() << " x "
              << window->Chart2->height() << " pixels\n";

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
