// kalvex-cli report over a year of one-minute logs of three participants with four values
// of the solar controller shown: the month window for every month (--window month
// --each), so one load, then twelve slider moves, each with its chart picture, table and
// description written. Also the single report of the year window. Runs offscreen unless a
// platform is chosen.

#include "cli/CliReport.h"
#include "core/loading/TimeWindow.h"
#include "support/BenchmarkWindow.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <iostream>
#include <sstream>

namespace {

const TBenchmarkYear* year = nullptr;

void Report(benchmark::State& state, int spanTime, bool each)
{
    QTemporaryDir out;
    TReportRequest request;
    request.directory = year->LogDirectory();
    request.outDirectory = out.path().toStdString();
    request.spanTime = spanTime;
    request.each = each;
    request.show = {"T1", "T2", "Ptag", "R1"};
    int sets = 0;
    for (auto _ : state) {
        std::ostringstream written, messages;
        if (RunReport(request, written, messages) != 0) {
            state.SkipWithError(messages.str().c_str());
            return;
        }
        const std::string paths = written.str();
        sets = int(std::count(paths.begin(), paths.end(), '\n'));
    }
    state.counters["sets"] = sets;
}

void MonthEach(benchmark::State& state)
{
    Report(state, SpanOneMonth, true);
}

void YearWindow(benchmark::State& state)
{
    Report(state, SpanOneYear, false);
}

BENCHMARK(MonthEach)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(YearWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    const TBenchmarkYear benchmarkYear;
    year = &benchmarkYear;
    std::cout << benchmarkYear.FileCount() << " files of a year written\n";
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
