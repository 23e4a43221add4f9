// Reading a file's records ahead of its device (on another thread, while the device takes
// its earlier files) must give the device exactly what reading them into its series gives:
// the same points bit for bit, days, fields, warnings and failures, file after file.

#include "LogFixture.h"

#include "core/base/DateTime.h"
#include "core/base/KalvexError.h"
#include "core/logdata/LogFileReader.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace {

// Everything the device holds, times and values in hexadecimal so that no bit goes unseen.
std::string Describe(const TLogAnalysis& analysis, const std::vector<std::string>& warnings)
{
    std::ostringstream text;
    text << std::hexfloat;
    for (int f = 0; f < analysis.FieldRecordCount(); ++f) {
        text << "field " << analysis.DeviceSettings()->GetValueName(f) << " [" << analysis.UnitOf(f)
             << "]";
        if (const TFieldSeries* series = analysis.Series(f)) {
            const TPointSeries& points = series->Points();
            for (int i = 0; i < points.Count(); ++i)
                text << ' ' << points.X(i) << (points.IsNull(i) ? "n" : "=") << points.Y(i);
        }
        text << '\n';
    }
    for (int d = 0; d < analysis.DayCount(); ++d) {
        const TDay& day = analysis.Day(d);
        text << "day " << day.dayDate << ' ' << day.last << ' ' << day.interval << ' '
             << day.intervalMinutes << ' ' << analysis.FileName(d) << '\n';
    }
    for (const std::string& warning : warnings)
        text << "warning " << warning << '\n';
    return text.str();
}

std::string FailureOf(const std::function<void()>& read)
{
    try {
        read();
        return {};
    } catch (const KalvexError& e) {
        return e.what();
    }
}

class ReadAheadTest : public LogFixture {
protected:
    // The day's records from 00:00 on, one a minute, stamped day-first; cells(i) gives the
    // cells of record i, an empty optional leaves the record out.
    static std::vector<std::string> Records(int day, int count,
        const std::function<std::string(int)>& cells, const std::string& dateFormat = "dd.mm.yyyy")
    {
        std::vector<std::string> lines;
        for (int i = 0; i < count; ++i) {
            const TDateTime t = EncodeDate(2007, 3, day) + i * OneMinute;
            lines.push_back(FormatDateTime(dateFormat + " hh:nn", t) + ";" + cells(i));
        }
        return lines;
    }

    static std::vector<std::string> With(std::string header, std::vector<std::string> records)
    {
        records.insert(records.begin(), std::move(header));
        return records;
    }

    // Reads the files in turn into two analyses, straight into one and read ahead into the
    // other; expects the same of both and returns, per file, whether the read ahead was
    // taken.
    std::vector<bool> ReadBothWays(const std::vector<std::string>& paths)
    {
        auto straight = NewAnalysis();
        auto ahead = NewAnalysis();
        std::vector<std::string> straightWarnings, aheadWarnings;
        straight->SetUnitsWarningHandler(
            [&](const std::string& m) { straightWarnings.push_back(m); });
        ahead->SetUnitsWarningHandler([&](const std::string& m) { aheadWarnings.push_back(m); });
        std::vector<bool> took;
        for (const std::string& path : paths) {
            const std::string expected = FailureOf([&] { straight->ReadLogFile(path); });
            TLogFileReader reader(path);
            reader.Prepare(true);
            EXPECT_EQ(FailureOf([&] { reader.ReadInto(*ahead); }), expected) << path;
            took.push_back(reader.TookReadAhead());
        }
        EXPECT_EQ(Describe(*ahead, aheadWarnings), Describe(*straight, straightWarnings));
        return took;
    }
};

} // namespace

TEST_F(ReadAheadTest, RunsBreaksOddStampsAreTakenAsReadAheadAndADayFoundAgainReadAgain)
{
    // T1 climbs in steps of ten minutes, P runs in long equal stretches with an "Err" and an
    // empty cell, R1 switches; ten minutes are missing (a break), one stamp is unreadable
    // (an interval is added) and one goes back in time.
    auto cells = [](int i) {
        const std::string p = i % 97 == 5 ? "Err" : i % 89 == 7 ? "" : i < 300 ? "1,5" : "2,25";
        return std::to_string(20 + i / 10) + ",5;" + p + ";" + (i % 50 < 25 ? "0" : "100");
    };
    std::vector<std::string> day15 = Records(15, 600, cells);
    day15.erase(day15.begin() + 200, day15.begin() + 210);
    day15[400] = "15.03.2007 xx:yy;" + cells(400);
    day15[450] = "15.03.2007 00:10;" + cells(450);
    const std::string header = "dd.mm.yy hh:mm;T1[°C];P[kW];R1[%]";
    const std::string first = WriteLog("10070315.csv", With(header, day15));
    const std::string second = WriteLog("10070316.csv",
        With("DATE & TIME;T1[°C];P[kW];R1[%]", Records(16, 1440, cells, "yyyy-mm-dd")));
    // A later copy of the first day: only its records beyond the first file's are new.
    std::vector<std::string> later = day15;
    const std::vector<std::string> more = Records(15, 700, cells);
    later.insert(later.end(), more.begin() + 600, more.end());
    const std::string copy = WriteLog("copy/10070315.csv", With(header, later));

    EXPECT_EQ(
        ReadBothWays({first, second, copy, first}), (std::vector<bool>{true, true, false, false}));
}

TEST_F(ReadAheadTest, ARunTheDeviceCouldContinueIsReadAgain)
{
    // A bad cell ends the first file without its closing break, so the second file's equal
    // values stretch the run of the first.
    const std::string header = "dd.mm.yy hh:mm;T1[°C];P[kW]";
    std::vector<std::string> day15 = Records(15, 100, [](int) { return "30,0;1,0"; });
    day15.push_back("15.03.2007 01:40;30,0;1,x");
    const std::string first = WriteLog("10070315.csv", With(header, day15));
    const std::string second
        = WriteLog("10070316.csv", With(header, Records(16, 100, [](int) { return "30,0;1,0"; })));
    const std::string third
        = WriteLog("10070317.csv", With(header, Records(17, 100, [](int) { return "30,0;1,0"; })));

    EXPECT_EQ(ReadBothWays({first, second, third}), (std::vector<bool>{true, false, true}));
}

TEST_F(ReadAheadTest, AFieldOfAnotherKindOrTwiceInOneHeaderIsReadAgain)
{
    // Qtag is first a day total read from the records (its last cell is empty), so its
    // series keeps one bar per day; the next file gives it another unit and kind.
    auto total
        = [](int i) { return "20,0;" + (i == 199 ? std::string() : std::to_string(i / 40)); };
    const std::string bars = WriteLog(
        "10070315.csv", With("dd.mm.yy hh:mm;T1[°C];Qtag[kWh]", Records(15, 200, total)));
    const std::string otherKind
        = WriteLog("10070316.csv", With("dd.mm.yy hh:mm;T1[°C];Qtag[°C]", Records(16, 200, total)));
    const std::string twice
        = WriteLog("10070317.csv", With("dd.mm.yy hh:mm;T1[°C];T1[°C]", Records(17, 200, [](int i) {
              return std::to_string(i / 30) + ";" + std::to_string(i / 20);
          })));

    EXPECT_EQ(ReadBothWays({bars, otherKind, twice}), (std::vector<bool>{true, false, false}));
}

TEST_F(ReadAheadTest, DeviceNamesDayTotalsAndSwitchedDatePatterns)
{
    // A device-name cell before every record, a day total taken from the last record, and
    // stamps that switch from day-first to year-first in the middle of the day.
    std::vector<std::string> lines = {"Heizkreis;dd.mm.yy hh:mm;T1[°C];Qtag[kWh];P[W]"};
    for (const std::string& record : Records(15, 300, [](int i) {
             return std::to_string(i / 7) + ";" + std::to_string(i / 50) + ";"
                 + std::to_string(i * 3);
         }))
        lines.push_back("Heizkreis;" + record);
    for (int i = 150; i < 300; ++i) {
        const TDateTime t = EncodeDate(2007, 3, 15) + i * OneMinute;
        lines[static_cast<size_t>(i) + 1] = "Heizkreis;" + FormatDateTime("yyyy-mm-dd hh:nn", t)
            + ";" + std::to_string(i / 7) + ";5;" + std::to_string(i * 3);
    }
    const std::string named = WriteLog("10070315.csv", lines);
    for (std::string& line : lines) {
        if (const size_t at = line.find("15.03.2007"); at != std::string::npos)
            line.replace(at, 10, "16.03.2007");
        if (const size_t at = line.find("2007-03-15"); at != std::string::npos)
            line.replace(at, 10, "2007-03-16");
    }
    const std::string nextDay = WriteLog("10070316.csv", lines);

    EXPECT_EQ(ReadBothWays({named, nextDay}), (std::vector<bool>{true, true}));
}

TEST_F(ReadAheadTest, FailuresComeWhereTheyCameAndKeepWhatTheFileGaveBefore)
{
    const std::string good = WriteLog("10070315.csv",
        With("dd.mm.yy hh:mm;T1[°C];P[kW]",
            Records(15, 60, [](int i) { return std::to_string(i) + ";1,0"; })));
    const std::string garbage = WriteBytes("10070316.csv", "no log at all\r\n1;2;3\r\n");
    // The device name is taken, then the stamp header is found wanting.
    const std::string badStampHeader
        = WriteLog("10070317.csv", {"Kessel;hh:mm;T1[°C]", "Kessel;01:00;5"});
    // New fields are added before the day total turns out not to be a number.
    const std::string badTotal = WriteLog("10070318.csv",
        {"dd.mm.yy hh:mm;T2[°C];Qtag[kWh]", "18.03.2007 00:00;1;2", "18.03.2007 00:01;1;zz"});
    const std::string headerOnly = WriteLog("10070319.csv", {"dd.mm.yy hh:mm;T1[°C];P[kW]"});
    const std::string missing = TempPath("10070320.csv");
    const std::string goodAgain = WriteLog("10070321.csv",
        With("dd.mm.yy hh:mm;T1[°C];P[kW]",
            Records(21, 60, [](int i) { return std::to_string(i) + ";1,0"; })));

    const std::vector<bool> took
        = ReadBothWays({good, garbage, badStampHeader, badTotal, headerOnly, missing, goodAgain});
    EXPECT_EQ(took, (std::vector<bool>{true, false, false, false, false, false, true}));
}
