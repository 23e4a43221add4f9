#include "support/BenchmarkYear.h"

#include "samplegen/SampleGenerator.h"

#include <cstdlib>
#include <filesystem>

TBenchmarkLogs::TBenchmarkLogs(CivilDate first, CivilDate last, const std::vector<int>& devices)
    : from(EncodeDate(first.year, first.month, first.day))
    , to(EncodeDate(last.year, last.month, last.day))
{
    ::setenv("LocalAppData", settings.path().toLocal8Bit().constData(), 1);
    TSampleOptions options;
    options.outputDir = logs.path().toStdString();
    options.from = first;
    options.to = last;
    options.devices = devices;
    fileCount = GenerateSampleLogs(options).size();
    logDirectory = options.outputDir;
}

double TBenchmarkLogs::Megabytes() const
{
    std::uintmax_t bytes = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(logDirectory)) {
        if (entry.is_regular_file())
            bytes += entry.file_size();
    }
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

TBenchmarkYear::TBenchmarkYear()
    : TBenchmarkLogs({2024, 1, 1}, {2024, 12, 31}, {10, 21, 30})
{
}

TBenchmarkDecade::TBenchmarkDecade()
    : TBenchmarkLogs({2015, 1, 1}, {2024, 12, 31}, {10, 20, 21, 30, 31})
{
}
