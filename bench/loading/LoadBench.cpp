// The whole load of a year of logs of three participants at one-minute intervals (about
// 1,100 files, 100 MB): scan, every file read, every device finished, the day list and
// the overview tables, in this process and as kalvex-cli. Reports the wall time per load
// and the peak memory.

#include "core/loading/AnalysisSet.h"
#include "core/loading/DeviceReaders.h"
#include "core/loading/LoadLogFiles.h"
#include "core/logdata/LogAnalysis.h"
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

const std::vector<TDerivedValue> TwoFormulas
    = {{"dT", "[K]", "T1 - T2"}, {"warmer", "[°C]", "max(T1, T2)"}};
const std::vector<TDerivedValue> TwoHeatingFormulas
    = {{"spread", "[K]", "TV - TR"}, {"lag", "[K]", "TVsoll - TV"}};

// The load of LoadAYear on the machine's cores, with two derived values defined for each
// of the three devices; compare with LoadAYear/workers:N.
void LoadAYearWithTwoFormulas(benchmark::State& state)
{
    const TLogFileList files = FindLogFiles(year->LogDirectory());
    for (auto _ : state) {
        auto set = std::make_unique<TAnalysisSet>();
        set->SetExtraDerivedValues(
            {{"10", TwoFormulas}, {"21", TwoHeatingFormulas}, {"30", TwoFormulas}});
        TLoadHooks hooks;
        hooks.workers = DefaultLoadWorkers();
        const TLoadResult result = LoadLogFiles(*set, files, year->From(), year->To(), hooks);
        if (!result.failures.empty() || !set->DerivedProblems().empty()) {
            state.SkipWithError("the load or a formula failed");
            break;
        }
        benchmark::DoNotOptimize(set->DayList().Count());
        state.PauseTiming();
        set.reset();
        state.ResumeTiming();
    }
}

BENCHMARK(LoadAYearWithTwoFormulas)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// Adding a difference to each device of a loaded year, as OK in the settings dialog does.
void AddDifferenceToAYear(benchmark::State& state)
{
    TAnalysisSet set;
    LoadLogFiles(set, FindLogFiles(year->LogDirectory()), year->From(), year->To());
    int points = 0;
    for (auto _ : state) {
        for (int d = 0; d < set.DeviceCount(); ++d) {
            TLogAnalysis& analysis = *set.Analysis(d);
            state.PauseTiming();
            analysis.RemoveDerivedValues();
            state.ResumeTiming();
            analysis.AddDerivedValue(
                d == 1 ? TwoHeatingFormulas.front() : TDerivedValue{"dT", "[K]", "T1 - T2"});
        }
    }
    for (int d = 0; d < set.DeviceCount(); ++d) {
        int field = -1;
        set.Analysis(d)->DeviceSettings()->IndexOfValue(d == 1 ? "spread" : "dT", field);
        points += set.Analysis(d)->Series(field)->Points().Count();
    }
    state.counters["points"] = points;
}

BENCHMARK(AddDifferenceToAYear)->Unit(benchmark::kMillisecond)->UseRealTime();

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
