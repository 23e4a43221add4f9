#pragma once
// The benchmarks' input: one-minute logs of a period and a set of participants, written
// once into a temporary folder. The settings file is pointed at a temporary folder too,
// so a benchmark never touches the user's.

#include "core/base/DateTime.h"

#include <QTemporaryDir>

#include <string>
#include <vector>

class TBenchmarkLogs {
public:
    TBenchmarkLogs(CivilDate from, CivilDate to, const std::vector<int>& devices);

    const std::string& LogDirectory() const { return logDirectory; }
    size_t FileCount() const { return fileCount; }
    TDateTime From() const { return from; }
    TDateTime To() const { return to; }
    // The size of every file written, in megabytes.
    double Megabytes() const;

private:
    QTemporaryDir settings;
    QTemporaryDir logs;
    std::string logDirectory;
    size_t fileCount = 0;
    TDateTime from = 0;
    TDateTime to = 0;
};

// A year (2024) of a solar controller, a heating circuit and a fresh-water station.
class TBenchmarkYear : public TBenchmarkLogs {
public:
    TBenchmarkYear();
};

// Ten years (2015 to 2024) of two solar controllers, a heating circuit and two fresh-water
// stations: about 18,000 files.
class TBenchmarkDecade : public TBenchmarkLogs {
public:
    TBenchmarkDecade();
};
