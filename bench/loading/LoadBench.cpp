// The whole load of a year of logs of three participants at one-minute intervals (about
// 1,100 files, 100 MB): scan, every file read, every device finished, the day list and
// the overview tables, in this process and as kalvex-cli. Reports the wall time per load
// and the peak memory.

#include "core/loading/AnalysisSet.h"
#include "core/loading/DeviceReaders.h"
#include "core/loading/LoadLogFiles.h"
#include "support/BenchmarkYear.h"
#include "support/LoadMeasures.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>

namespace {

const TBenchmarkYear* year = nullptr;

// The argument is the number of devices read at once: 1 is one file after the other.
void LoadAYear(benchmark::State& state)
{
    MeasureLoad(state, *year, year->From(), year->To(), static_cast<int>(state.range(0)));
}

BENCHMARK(LoadAYear)
    ->ArgName("workers")
    ->Arg(1)
    ->Arg(DefaultLoadWorkers())
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

// The same as `kalvex-cli dump DIR --threads N` as a whole process.
void DumpAYear(benchmark::State& state)
{
    MeasureWholeProcess(state, *year, static_cast<int>(state.range(0)));
}

BENCHMARK(DumpAYear)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(DefaultLoadWorkers())
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

// January of the year, once as it is and once with a backup copy of every file in a
// subfolder: each day is then read twice and its copy merged into the series.
void LoadAMonth(benchmark::State& state)
{
    const bool withCopy = state.range(0) != 0;
    const TDateTime from = year->From();
    const TDateTime to = EncodeDate(2024, 1, 31);
    TLogFileList january = FindLogFiles(year->LogDirectory());
    KeepPeriod(january, from, to);
    QTemporaryDir month;
    const std::filesystem::path root = month.path().toStdString();
    std::filesystem::create_directories(root / "backup");
    for (const TLogFileEntry& file : january) {
        const std::filesystem::path name = std::filesystem::path(file.path).filename();
        std::filesystem::copy_file(file.path, root / name);
        if (withCopy)
            std::filesystem::copy_file(file.path, root / "backup" / name);
    }
    const TLogFileList found = FindLogFiles(root.string());
    for (auto _ : state) {
        auto set = std::make_unique<TAnalysisSet>();
        const TLoadResult result = LoadLogFiles(*set, found, from, to);
        if (!result.failures.empty())
            state.SkipWithError(("failed: " + result.failures[0].path).c_str());
        benchmark::DoNotOptimize(set->DayList().Count());
        state.PauseTiming();
        set.reset();
        state.ResumeTiming();
    }
    state.counters["files"] = static_cast<double>(found.size());
}

BENCHMARK(LoadAMonth)
    ->ArgName("copy")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const TBenchmarkYear logs;
    year = &logs;
    std::cout << "generated " << logs.FileCount() << " log files, " << logs.Megabytes()
              << " MB; peak memory before loading " << PeakMegabytes() << " MB\n";

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
