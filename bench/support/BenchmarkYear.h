#pragma once
// The benchmarks' input: a year of one-minute logs of a solar controller, a heating
// circuit and a fresh-water station, written once into a temporary folder. The settings
// file is pointed at a temporary folder too, so a benchmark never touches the user's.

#include "core/base/DateTime.h"

#include <QTemporaryDir>

#include <string>

class TBenchmarkYear {
public:
    TBenchmarkYear();

    const std::string& LogDirectory() const { return logDirectory; }
    size_t FileCount() const { return fileCount; }
    TDateTime From() const;
    TDateTime To() const;

private:
    QTemporaryDir settings;
    QTemporaryDir logs;
    std::string logDirectory;
    size_t fileCount = 0;
};
