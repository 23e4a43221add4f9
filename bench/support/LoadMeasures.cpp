#include "support/LoadMeasures.h"

#include "core/loading/AnalysisSet.h"
#include "core/loading/LoadLogFiles.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

double PeakMegabytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:"))
            return std::stod(line.substr(6)) / 1024.0; // kilobytes
    }
    return 0;
}

void ResetPeakMemory()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

namespace {

double PeriodMegabytes(const TLogFileList& files)
{
    std::uintmax_t bytes = 0;
    for (const TLogFileEntry& file : files)
        bytes += std::filesystem::file_size(file.path);
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

} // namespace

void MeasureLoad(
    benchmark::State& state, const TBenchmarkLogs& logs, TDateTime from, TDateTime to, int workers)
{
    size_t files = 0;
    double peak = 0;
    TLoadHooks hooks;
    hooks.workers = workers;
    for (auto _ : state) {
        state.PauseTiming();
        ResetPeakMemory();
        state.ResumeTiming();
        auto set = std::make_unique<TAnalysisSet>();
        TLogFileList found = FindLogFiles(logs.LogDirectory());
        KeepPeriod(found, from, to);
        const TLoadResult result = LoadLogFiles(*set, found, from, to, hooks);
        files = result.loadedFiles.size();
        if (!result.failures.empty())
            state.SkipWithError(("failed: " + result.failures[0].path).c_str());
        benchmark::DoNotOptimize(set->AnnualOverview());
        state.PauseTiming();
        peak = std::max(peak, PeakMegabytes());
        set.reset();
        state.ResumeTiming();
    }
    TLogFileList found = FindLogFiles(logs.LogDirectory());
    KeepPeriod(found, from, to);
    state.counters["files"] = static_cast<double>(files);
    state.counters["MB_read"] = PeriodMegabytes(found);
    state.counters["peak_MB"] = peak;
    state.counters["per_file"] = benchmark::Counter(static_cast<double>(files),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void MeasureWholeProcess(benchmark::State& state, const TBenchmarkLogs& logs, int threads)
{
    // The kalvex-cli built with the benchmark, beside it.
    const std::string cli
        = (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "kalvex-cli").string();
    const std::string threadText = std::to_string(threads);
    std::vector<const char*> arguments{
        cli.c_str(), "dump", logs.LogDirectory().c_str(), "--threads", threadText.c_str(), nullptr};
    double peak = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = ::fork();
        if (child == 0) {
            const int devNull = ::open("/dev/null", O_WRONLY);
            ::dup2(devNull, STDOUT_FILENO);
            ::execv(arguments[0], const_cast<char* const*>(arguments.data()));
            ::_exit(127);
        }
        int status = 0;
        rusage usage{};
        ::wait4(child, &status, 0, &usage);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            state.SkipWithError("kalvex-cli failed");
        peak = std::max(peak, static_cast<double>(usage.ru_maxrss) / 1024.0);
    }
    state.counters["files"] = static_cast<double>(logs.FileCount());
    state.counters["peak_MB"] = peak;
}
