#pragma once
// Day logs of small made-up devices, written into the test's temporary directory, for
// loading whole analyses.

#include "core/loading/AnalysisSet.h"
#include "core/logdata/LogFixture.h"

#include <string>

class AnalysisFixture : public LogFixture {
protected:
    // One day of a device with a temperature, a power and its logged day total (and, when
    // given, a year counter): two records, at 00:00 and 12:00; the day total is read from
    // the second. Named prefix + yymmdd + ".csv".
    std::string WriteEnergyDay(const std::string& prefix, int year, int month, int day,
        const std::string& dayTotal, const std::string& yearTotal = {});
    // One day of a device with temperatures and an output only.
    std::string WriteTemperatureDay(const std::string& prefix, int year, int month, int day);
    // Not a log file at all, under a log file's name.
    std::string WriteGarbageDay(const std::string& prefix, int year, int month, int day);

    static std::string DayFileName(const std::string& prefix, int year, int month, int day);
};
