// Ten years of one-minute logs of five participants (about 18,000 files, 1.5 GB), written
// once per run into a temporary folder (this takes about half a minute): the whole load
// one file after the other and on the machine's cores, the same as kalvex-cli processes,
// and the last 1, 5 and 10 years of it, whose time per file shows whether the cost grows
// linearly with the files.

#include "core/loading/DeviceReaders.h"
#include "support/BenchmarkYear.h"
#include "support/LoadMeasures.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <iostream>

namespace {

const TBenchmarkDecade* decade = nullptr;

// The argument is the number of devices read at once.
void LoadTenYears(benchmark::State& state)
{
    MeasureLoad(state, *decade, decade->From(), decade->To(), static_cast<int>(state.range(0)));
}

BENCHMARK(LoadTenYears)
    ->ArgName("workers")
    ->Arg(1)
    ->Arg(DefaultLoadWorkers())
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

void DumpTenYears(benchmark::State& state)
{
    MeasureWholeProcess(state, *decade, static_cast<int>(state.range(0)));
}

BENCHMARK(DumpTenYears)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(DefaultLoadWorkers())
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

// The last N years of the ten, on the machine's cores.
void LoadLastYears(benchmark::State& state)
{
    const int years = static_cast<int>(state.range(0));
    MeasureLoad(state, *decade, EncodeDate(2025 - years, 1, 1), decade->To(), DefaultLoadWorkers());
}

BENCHMARK(LoadLastYears)
    ->ArgName("years")
    ->Arg(1)
    ->Arg(5)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    QCoreApplication app(argc, argv);
    const TBenchmarkDecade logs;
    decade = &logs;
    std::cout << "generated " << logs.FileCount() << " log files, " << logs.Megabytes()
              << " MB; peak memory before loading " << PeakMegabytes() << " MB\n";
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
