// Reading one log file whose header has very many columns: the header's cost per column
// should not grow with the number of columns. Inputs alone, and the three kinds mixed
// with day totals, which are placed into the middle of the field list.

#include "core/base/DateTime.h"
#include "core/logdata/LogAnalysis.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>

namespace {

std::string WriteWideLog(const QTemporaryDir& folder, int columns, bool mixed)
{
    std::string header = "dd.mm.yy hh:mm";
    std::string record = "15.03.2007 10:00";
    for (int c = 0; c < columns; ++c) {
        const std::string n = std::to_string(c);
        const int kind = mixed ? c % 4 : 0;
        header += kind == 0 ? ";T" + n + "[°C]"
            : kind == 1     ? ";R" + n + "[%]"
            : kind == 2     ? ";P" + n + "[kW]"
                            : ";QP" + n + "tag[kWh]";
        record += ";" + std::to_string(c % 97);
    }
    const std::string path = folder.filePath("10070315.csv").toStdString();
    std::ofstream(path, std::ios::binary) << header << "\r\n"
                                          << record << "\r\n"
                                          << record << "\r\n";
    return path;
}

void ReadWideHeader(benchmark::State& state)
{
    QTemporaryDir folder;
    ::setenv("LocalAppData", folder.path().toLocal8Bit().constData(), 1);
    const int columns = static_cast<int>(state.range(0));
    const std::string path = WriteWideLog(folder, columns, state.range(1) != 0);
    for (auto _ : state) {
        TLogAnalysis analysis(EncodeDate(2007, 3, 1), EncodeDate(2007, 3, 31), nullptr, nullptr);
        analysis.ReadLogFile(path);
        benchmark::DoNotOptimize(analysis.FieldRecordCount());
    }
    state.counters["per column"] = benchmark::Counter(static_cast<double>(columns),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(ReadWideHeader)
    ->ArgsProduct({{2500, 5000, 10000, 20000}, {0, 1}})
    ->ArgNames({"columns", "mixed"})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
