#include "support/BenchmarkYear.h"

#include "samplegen/SampleGenerator.h"

#include <cstdlib>

TBenchmarkYear::TBenchmarkYear()
{
    ::setenv("LocalAppData", settings.path().toLocal8Bit().constData(), 1);
    TSampleOptions options;
    options.outputDir = logs.path().toStdString();
    options.from = {2024, 1, 1};
    options.to = {2024, 12, 31};
    options.devices = {10, 21, 30};
    fileCount = GenerateSampleLogs(options).size();
    logDirectory = options.outputDir;
}

TDateTime TBenchmarkYear::From() const
{
    return EncodeDate(2024, 1, 1);
}

TDateTime TBenchmarkYear::To() const
{
    return EncodeDate(2024, 12, 31);
}
