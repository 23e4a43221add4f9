// The table view of an analysis window over a year of one-minute logs of three
// participants, on the "Overview" tab: filling the table for the "1 year" window and for
// a quarter, and switching from the charts to the table until it is painted with its
// columns grown to their texts.
// Runs offscreen unless a platform is chosen.

#include "support/BenchmarkWindow.h"
#include "ui/analysis/Childform.h"
#include "ui/analysis/TableGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QTabBar>

#include <benchmark/benchmark.h>

#include <iostream>

namespace {

TChildform* window = nullptr;

void SelectSpan(int span)
{
    const QSignalBlocker quiet(window->SpanTime);
    window->SpanTime->setCurrentIndex(span);
}

// Paints the grid, lets it widen the columns it found too narrow and paints it again,
// as the event loop would.
void PaintGrid()
{
    for (int pass = 0; pass < 3; ++pass) {
        window->Grid->viewport()->repaint();
        QCoreApplication::sendPostedEvents();
    }
}

// The time-window kind is the argument: 6 "1 year", 5 "1 quarter".
void FillTable(benchmark::State& state)
{
    SelectSpan(static_cast<int>(state.range(0)));
    window->ShowTableView(true);
    for (auto _ : state)
        window->FillTable();
    state.counters["rows"] = window->Grid->RowCount();
    state.counters["columns"] = window->Grid->ColumnCount();
}

void SwitchToTableView(benchmark::State& state)
{
    SelectSpan(6);
    for (auto _ : state) {
        state.PauseTiming();
        window->ShowTableView(false);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        window->ShowTableView(true);
        PaintGrid();
    }
}

BENCHMARK(FillTable)->Arg(6)->Arg(5)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(SwitchToTableView)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

} // namespace

int main(int argc, char** argv)
{
    UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    const TBenchmarkYear year;
    const TBenchmarkWindow bench(year);
    window = bench.Window();
    window->TabSetDevices->setCurrentIndex(window->TabSetDevices->count() - 1);
    SelectSpan(5);
    window->ShowTableView(true);
    std::cout << bench.LoadedFiles()
              << " files loaded; table on the overview tab: " << window->Grid->ColumnCount()
              << " columns; grid " << window->Grid->width() << " x " << window->Grid->height()
              << " pixels\n";

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
