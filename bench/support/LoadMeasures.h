#pragma once
// The measures every loading benchmark takes: a complete load of generated logs with the
// peak memory it needed, and kalvex-cli loading them as a whole process.

#include "core/base/DateTime.h"
#include "support/BenchmarkYear.h"

#include <benchmark/benchmark.h>

// The peak memory of this process since the last reset, in megabytes.
double PeakMegabytes();
// Lets the peak start again from what the process holds now.
void ResetPeakMemory();

// Times the whole load of the logs' files from `from` to `to` (scan, read, finish, overview)
// with the given number of workers. Counters: files, the period's megabytes read, the peak
// memory of the process during a load (peak_MB) and the time per file.
void MeasureLoad(
    benchmark::State& state, const TBenchmarkLogs& logs, TDateTime from, TDateTime to, int workers);

// Times `kalvex-cli dump` of all the logs as a process of its own with the given
// number of threads; the counter peak_MB is that process's peak memory.
void MeasureWholeProcess(benchmark::State& state, const TBenchmarkLogs& logs, int threads);
