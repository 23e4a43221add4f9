#pragma once
// Log files written into a temporary directory and read into an analysis, with the
// settings store pointed into the same directory and the English (GB) texts selected.

#include "core/logdata/LogAnalysis.h"
#include "core/settings/SettingsFixture.h"

#include <memory>
#include <string>
#include <vector>

class LogFixture : public SettingsFixture {
protected:
    void SetUp() override;

    // Writes the lines joined with CR LF (and a final CR LF) as Windows-1252 bytes
    // (the UTF-8 "°" of the test source becomes the byte 0xB0); returns the path.
    std::string WriteLog(const std::string& name, const std::vector<std::string>& lines);
    std::string WriteBytes(const std::string& name, const std::string& bytes);

    // An analysis for March 2007 without charts.
    std::unique_ptr<TLogAnalysis> NewAnalysis() const;

    // Every minute of the day from 00:00 to 23:59, stamped day-first; each record is the
    // stamp followed by ";" and the cells.
    static std::vector<std::string> MinuteRecords(
        int year, int month, int day, const std::string& cells);
};

// Reading the file must fail with exactly this message.
void ExpectReadFailure(TLogAnalysis& analysis, const std::string& path, const std::string& message);

// The series' points as readable text: "x=value" or "x=null" with times as
// "dd.mm.yyyy hh:nn", one per line.
std::string DescribePoints(const TFieldSeries& series);

// The index of the field, −1 when the device does not have it.
int FieldOf(const TLogAnalysis& analysis, const std::string& name);
