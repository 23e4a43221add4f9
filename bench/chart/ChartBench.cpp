// The charts of an analysis window over a year of one-minute logs of three participants,
// with every value of the solar controller ticked in its value list in a one-year
// window: one full repaint of both charts, and ticking one value on and off (with the
// repaint that follows).
// Runs offscreen unless a platform is chosen.

#include "core/logdata/LogAnalysis.h"
#include "support/BenchmarkWindow.h"
#include "ui/analysis/ChartView.h"
#include "ui/analysis/Childform.h"
#include "ui/analysis/GraphPanel.h"
#include "ui/analysis/ValueSelector.h"

#include <QApplication>
#include <QCheckBox>

#include <qcustomplot.h>

#include <benchmark/benchmark.h>

#include <iostream>

namespace {

TChildform* window = nullptr;
TLogAnalysis* solar = nullptr;
TGraphPanel* busiest = nullptr;

void RepaintBoth()
{
    window->Chart2->replot();
    window->Chart->replot();
}

void RepaintBothCharts(benchmark::State& state)
{
    for (auto _ : state)
        RepaintBoth();
    state.counters["points_shown"] = 0;
    int points = 0;
    for (int i = 0; i < solar->FieldRecordCount(); ++i)
        if (solar->IsShown(i) && solar->Series(i))
            points += solar->Series(i)->Points().Count();
    state.counters["points_shown"] = points;
}

void ShowOneValue(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        busiest->PlotBox->click(); // off
        RepaintBoth();
        state.ResumeTiming();
        busiest->PlotBox->click();
        RepaintBoth();
    }
}

void HideOneValue(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        busiest->PlotBox->click(); // on
        RepaintBoth();
        state.ResumeTiming();
        busiest->PlotBox->click();
        RepaintBoth();
    }
    busiest->PlotBox->click();
}

BENCHMARK(RepaintBothCharts)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(ShowOneValue)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(HideOneValue)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    const TBenchmarkYear year;
    const TBenchmarkWindow bench(year);
    window = bench.Window();
    const TDateTime from = year.From();
    solar = window->AnalysisSet().Analysis(0);

    // A one-year window, as the time-window list sets it.
    for (const auto& analysis : window->AnalysisSet().Analyses()) {
        analysis->SetSumFieldsAvailable(true);
        analysis->SetMonthlyBars(true);
    }
    window->SetTimeWindow(EncodeDate(2025, 1, 1), from);
    window->SetTimeLabelFormat(" dd. mmm ");
    window->SetTimeIncrement(7);
    int shown = 0;
    auto* panel = dynamic_cast<TValueListPanel*>(solar->ValuePanel());
    for (TGraphPanel* row : RowsOf(*panel->List())) {
        if (!row->PlotBox->isEnabled())
            continue;
        row->PlotBox->click();
        ++shown;
        const auto points = [](TGraphPanel* r) {
            return r->Analysis().Series(r->ValueIndex())->Points().Count();
        };
        if (!busiest || points(row) > points(busiest))
            busiest = row;
    }
    window->ChartView().RepaintNow();
    std::cout << bench.LoadedFiles() << " files loaded; " << shown
              << " values of the solar controller shown; the busiest ("
              << busiest->Name().toStdString() << ") has "
              << solar->Series(busiest->ValueIndex())->Points().Count() << " points; charts "
              << window->Chart->width() << " x " << window->Chart->height() << " and "
              << window->Chart2->width() << " x " << window->Chart2->height() << " pixels\n";

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
