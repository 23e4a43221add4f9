#pragma once
// Reading one log file into the analysis of its device: the header gives the device and
// its fields, the records give the points, and the file's day is appended.
//
// The work is split in two. Prepare does what the file gives on its own: its text, its
// header and, when asked, its records read ahead into lists of points. It needs no
// analysis, so files of one device can be prepared on several threads at once. ReadInto
// then puts the file into its device's analysis, the device's files in date order. When
// the device's state reads the records differently from what was read ahead (a field
// known with another kind, a run the file would continue), ReadInto reads them again.

#include "core/logdata/LogAnalysis.h"
#include "core/logdata/LogFileText.h"
#include "core/logdata/RecordSinks.h"
#include "core/logdata/TimeStamp.h"

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TRecordCells;

class TLogFileReader {
public:
    explicit TLogFileReader(std::string path);

    // Any failure is kept for ReadInto to report in its place.
    void Prepare(bool readAhead);
    // Prepares the file first unless done; fails with a language-table text.
    void ReadInto(TLogAnalysis& analysis);
    // Whether ReadInto took the records read ahead, rather than reading them again.
    bool TookReadAhead() const { return tookReadAhead; }
    // Reads the file only up to its last line end: a logger may be writing the last line.
    void ReadCompleteLinesOnly() { completeLinesOnly = true; }
    // Prepares the file unless done, and fails as ReadInto would when its text cannot be
    // read, before anything of the analysis changes.
    void CheckText();
    // The times of the records ReadInto adds are appended to the list as well.
    void KeepRecordTimes(std::vector<double>& list) { recordTimes = &list; }
    // The size of the text read: the file's, or up to its last line end.
    std::size_t BytesRead() const { return text.bytes.size(); }

private:
    // The date patterns a file's time stamps are read with: A and B as the header says,
    // C and D after a stamp failed to convert. The pattern length decides how much of a
    // line the day date is read from.
    enum class TPattern { A, B, C, D };

    // A header cell as the file gives it.
    struct TColumnHeader {
        bool readable = false; // a name, a unit and a kind of value
        std::string name;
        std::string unit;
        ValueKind kind = KindNone;
        double factor = 1.0; // unit scaling, e.g. W to kW
        bool dayTotal = false;
    };

    // The header line as the file gives it; its failures come in their place among the
    // device's steps.
    struct TFileHeader {
        bool valid = false; // a stamp header and a ";" in it
        std::string logName; // the device-name cell, empty when there is none
        bool stampValid = false; // the stamp header after the device name
        TPattern pattern = TPattern::A;
        std::vector<TColumnHeader> columns;
    };

    struct TColumnTarget {
        bool read = false;
        TFieldSeries* series = nullptr; // none when read ahead
        double factor = 1.0;
        bool continues = false; // the previous record had a value in this column
        // The last cell read in this column and its scaled value: a cell of the same bytes
        // has the same value, and values often repeat from record to record.
        std::string_view lastCell;
        std::uint64_t lastKey = 0; // of lastCell, see TRecordCells::Key
        double lastValue = 0;
    };

    // The records read ahead, and what they took for granted about the device.
    struct TReadAhead {
        TPattern pattern; // after the header's day totals
        std::vector<bool> read;
        std::vector<bool> bars;
        TDay day;
        TAheadPoints points;
    };

    struct TStampedValue {
        TDateTime time;
        double value;
    };
    // A day total found in the header parse, added to its series once the file loads.
    struct TDayTotal {
        TFieldSeries* series;
        TDateTime time;
        double value;
    };

    // What ends the reading of a file's records: a record that is not readable.
    struct TBadRecord { };

    void ReadText();
    void ReadFileHeader();
    TColumnHeader ReadColumnHeader(std::string_view cell) const;
    // The columns as the device reads them when every readable column has its series, and
    // its kind is the one this file gives it; which of them are day bars.
    std::vector<bool> HeaderTargets();
    void ReadAhead();

    void ApplyHeader(TLogAnalysis& analysis);
    void IdentifyDevice(TLogAnalysis& analysis);
    void ApplyColumn(TLogAnalysis& analysis, const TColumnHeader& column, int index);
    bool AheadFits(const TDay& day, const TSeriesSink& sink) const;
    std::vector<TFieldSeries*> TargetSeries() const;
    void AddDayTotals();

    // The times of the records that files of the same day gave the device before, sorted;
    // fails when this file has no record of its own beyond them.
    std::vector<double> KnownRecordTimes(const TLogAnalysis& analysis, const TDay& day);
    static std::vector<double> RecordTimesOf(const std::string& otherPath);
    // The times of this file's records, read into nothing.
    std::vector<double> RecordTimes(TDay day);

    std::optional<TStampedValue> DayTotal(int column);
    void SplitLastRecord();
    TDateTime DayDate();
    bool TryDayDate(std::string_view line, TDateTime& date);
    std::optional<TDateTime> FirstRecordDay();
    template <class Sink> void ReadRecords(TDay& day, Sink& sink);
    // onDay: the record is taken to that day, keeping its time of day.
    template <class Sink>
    void ReadRecord(TDay& day, TRecordCells& cells, std::string_view line,
        std::optional<TDateTime> onDay, Sink& sink);

    TDateOrder Order() const
    {
        return pattern == TPattern::A || pattern == TPattern::D ? TDateOrder::YearMonthDay
                                                                : TDateOrder::DayMonthYear;
    }
    // Converts with the current pattern, and once more after switching it.
    bool ConvertTimeStamp(std::string_view text, TDateTime& t);
    [[noreturn]] void FailInvalid() const;

    const std::string path;
    bool completeLinesOnly = false;
    std::vector<double>* recordTimes = nullptr;
    bool prepared = false;
    std::exception_ptr textFailure;
    TLogFileText text;
    TFileHeader header;
    std::optional<TReadAhead> ahead;
    bool tookReadAhead = false;
    std::vector<TColumnTarget> targets;
    std::vector<TDayTotal> dayTotals;
    // While reading a file of a day read before: the times not to be added again.
    const std::vector<double>* knownTimes = nullptr;
    // The last non-empty record's stamp and cells, which day totals are taken from.
    bool lastRecordSplit = false;
    std::string_view lastStamp;
    std::vector<std::string_view> lastCells;
    TPattern pattern = TPattern::A;
    TTimeStampReader stamps;
};
