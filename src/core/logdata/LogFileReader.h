#pragma once
// Reading one log file into the analysis of its device: the header gives the device and
// its fields, the records give the points, and the file's day is appended.

#include "core/logdata/LogAnalysis.h"
#include "core/logdata/LogFileText.h"
#include "core/logdata/TimeStamp.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TLogFileReader {
public:
    TLogFileReader(TLogAnalysis& analysis, const std::string& path);
    void Read();

private:
    // The date patterns a file's time stamps are read with: A and B as the header says,
    // C and D after a stamp failed to convert. The pattern length decides how much of a
    // line the day date is read from.
    enum class TPattern { A, B, C, D };

    struct TColumnTarget {
        TFieldSeries* series = nullptr; // none: the column is not read
        double factor = 1.0; // unit scaling, e.g. W to kW
        bool continues = false; // the previous record had a value in this column
        // The last cell read in this column and its scaled value: a cell of the same bytes
        // has the same value, and values often repeat from record to record.
        std::string_view lastCell;
        double lastValue = 0;
    };

    // What ends the reading of a file's records: a record that is not readable.
    struct TBadRecord { };

    void ParseHeader();
    void IdentifyDevice(const std::string& logName);
    void ParseColumn(std::string_view cell, int column);
    bool TakeDayTotal(int column, TFieldSeries& series, double factor);
    void SplitLastRecord();
    TDateTime DayDate();
    void ReadRecords(TDay& day);
    // onDay: the record is taken to that day, keeping its time of day.
    void ReadRecord(TDay& day, std::string_view line, std::optional<TDateTime> onDay);

    TDateOrder Order() const;
    // Converts with the current pattern, and once more after switching it.
    bool ConvertTimeStamp(std::string_view text, TDateTime& t);
    [[noreturn]] void FailInvalid() const;

    TLogAnalysis& analysis;
    const std::string& path;
    TLogFileText text;
    std::vector<TColumnTarget> targets;
    // The last non-empty record's stamp and cells, which day totals are taken from.
    bool lastRecordSplit = false;
    std::string_view lastStamp;
    std::vector<std::string_view> lastCells;
    TPattern pattern = TPattern::A;
    TTimeStampReader stamps;
};
