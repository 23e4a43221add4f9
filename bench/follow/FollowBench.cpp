// Following a year of logs of three participants at one-minute intervals while their
// loggers write the last day: each iteration appends one minute's record to the last
// day's file of every device, and measures the work until the analysis, with its day
// and month sums, day list and overview tables, is up to date again.

#include "core/loading/AnalysisSet.h"
#include "core/loading/LoadLogFiles.h"
#include "core/loading/LogFileNames.h"
#include "core/loading/LogFollower.h"
#include "support/BenchmarkYear.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string_view>

namespace {

const TBenchmarkYear* year = nullptr;

// A day's file as the logger has written it by a time of day, and the record it writes
// every minute after that: the last record with another time of day.
class TDayLogger {
public:
    TDayLogger(std::string path, const std::string& from)
        : path(std::move(path))
    {
        std::ifstream in(this->path, std::ios::binary);
        std::stringstream whole;
        whole << in.rdbuf();
        std::string text = whole.str();
        lineEnd = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
        // The first record from that time on (a power cut may have taken the time itself).
        for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at)) {
            ++at;
            const std::size_t end = text.find(lineEnd, at);
            if (end == std::string::npos)
                break;
            const std::size_t clock = ClockIn(std::string_view(text).substr(at, end - at));
            if (clock == std::string::npos)
                continue;
            time = text.substr(at + clock, 5);
            if (time >= from) {
                record = text.substr(at, end - at);
                text.resize(end + lineEnd.size());
                std::ofstream(this->path, std::ios::binary | std::ios::trunc) << text;
                minute = std::stoi(time.substr(0, 2)) * 60 + std::stoi(time.substr(3));
                return;
            }
        }
        throw std::runtime_error("no record from " + from + " on in " + this->path);
    }

    // The record of the next minute.
    void WriteMinute()
    {
        ++minute;
        char next[16];
        std::snprintf(next, sizeof next, "%02d:%02d", minute / 60, minute % 60);
        std::string line = record;
        line.replace(ClockIn(line), 5, next);
        std::ofstream(path, std::ios::binary | std::ios::app) << line << lineEnd;
    }

private:
    // Where the stamp's "hh:mm" stands in a record (after a device-name cell, if any).
    static std::size_t ClockIn(std::string_view line)
    {
        auto digit = [&](std::size_t i) { return line[i] >= '0' && line[i] <= '9'; };
        for (std::size_t i = 0; i + 5 < line.size(); ++i)
            if (line[i + 2] == ':' && line[i + 5] == ';' && digit(i) && digit(i + 1) && digit(i + 3)
                && digit(i + 4))
                return i;
        return std::string_view::npos;
    }

    std::string path;
    std::string record;
    std::string time; // of the record, hh:mm
    std::string lineEnd;
    int minute = 0;
};

void AppendAMinuteToTheLastDay(benchmark::State& state)
{
    // The last day's file of every device.
    std::map<std::string, std::string> lastFiles;
    for (const TLogFileEntry& file : FindLogFiles(year->LogDirectory()))
        lastFiles[FileDevicePrefix(file.path)] = file.path;
    std::vector<TDayLogger> loggers;
    char from[8];
    std::snprintf(from, sizeof from, "%02d:00", static_cast<int>(state.range(0)) % 24);
    for (const auto& [prefix, path] : lastFiles)
        loggers.emplace_back(path, from);

    TAnalysisSet set;
    LoadLogFiles(set, FindLogFiles(year->LogDirectory()), year->From(), year->To());
    TLogFollower follower(set, 3600000);
    follower.Start();
    follower.CheckFiles();
    std::size_t records = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (TDayLogger& logger : loggers)
            logger.WriteMinute();
        state.ResumeTiming();
        for (const TLogFollower::TUpdate& update : follower.CheckFiles())
            records += update.newRecords.size();
    }
    if (records != loggers.size() * state.iterations())
        state.SkipWithError("not every appended record was read");
    state.counters["devices"] = static_cast<double>(loggers.size());
    state.counters["files"] = static_cast<double>(set.Analysis(0)->FileCount());
}

// The argument is the hour at which the day's files were cut: the day is read again
// whole, so the later the hour, the more it costs.
BENCHMARK(AppendAMinuteToTheLastDay)
    ->ArgName("hour")
    ->Arg(23) // first: the noon run cuts the files shorter
    ->Arg(12)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(50); // within the hour

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const TBenchmarkYear logs;
    year = &logs;
    std::cout << "generated " << logs.FileCount() << " log files\n";
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
