#include "LogFixture.h"

#include "core/base/DateTime.h"
#include "core/base/KalvexError.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace std::string_literals;

namespace {

const std::string Header = "dd.mm.yy hh:mm;T1[°C];P[kW];R1[%]";

double At(int day, int hour, int minute)
{
    return EncodeDate(2007, 3, day) + (hour * 60 + minute) * OneMinute;
}

class LogReaderTest : public LogFixture { };

} // namespace

TEST_F(LogReaderTest, ConstantPowerOverADayIsTwoPointsAndSumsTo144)
{
    std::vector<std::string> lines = {"dd.mm.yy hh:mm;P[kW]"};
    for (const auto& record : MinuteRecords(2007, 3, 15, "6,0"))
        lines.push_back(record);
    const auto path = WriteLog("10070315.csv", lines);
    auto analysis = NewAnalysis();
    analysis->ReadLogFile(path);

    ASSERT_EQ(analysis->DayCount(), 1);
    EXPECT_EQ(analysis->FileCount(), 1);
    EXPECT_EQ(analysis->FileName(0), path);
    EXPECT_DOUBLE_EQ(analysis->Day(0).dayDate, EncodeDate(2007, 3, 15));
    EXPECT_DOUBLE_EQ(analysis->Day(0).last, EncodeDate(2007, 3, 16));
    const int p = FieldOf(*analysis, "P");
    ASSERT_GE(p, 0);
    // Two points of the run and the closing null point at the day's last record.
    EXPECT_EQ(DescribePoints(*analysis->Series(p)),
        "15.03.2007 00:00=6,00\n15.03.2007 23:59=6,00\n15.03.2007 23:59=null\n");

    analysis->BuildSums();
    const int ptag = FieldOf(*analysis, "Ptag");
    ASSERT_GE(ptag, 0);
    ASSERT_EQ(analysis->Series(ptag)->Points().Count(), 1);
    EXPECT_DOUBLE_EQ(analysis->Series(ptag)->Points().X(0), EncodeDate(2007, 3, 15) + 0.5);
    EXPECT_NEAR(analysis->Series(ptag)->Points().Y(0), 144.0, 1e-9);
}

TEST_F(LogReaderTest, WattColumnsBecomeKilowattByTheFloatFactor)
{
    const auto path = WriteLog("10070315.csv",
        {"DATE & TIME;P[W];T1[C];T2[°C]", "2007-03-15 12:00;1500;20,5;21",
            "2007-03-15 12:01;1500;20,5;21"});
    auto analysis = NewAnalysis();
    analysis->ReadLogFile(path);
    const int p = FieldOf(*analysis, "P");
    ASSERT_GE(p, 0);
    EXPECT_EQ(analysis->UnitOf(p), "[kW]");
    EXPECT_EQ(analysis->DeviceSettings()->GetUnit(p), "[kW]");
    EXPECT_EQ(analysis->Series(p)->Points().Y(0), 1500 * 0.0010000000474974513);
    EXPECT_EQ(analysis->Series(p)->Points().Y(1), 1500 * 0.0010000000474974513);
    EXPECT_EQ(analysis->UnitOf(FieldOf(*analysis, "T1")), "[°C]");
    EXPECT_EQ(analysis->UnitOf(FieldOf(*analysis, "T2")), "[°C]");
    EXPECT_EQ(analysis->DeviceSettings()->GetValueKind(p), KindOther);
}

TEST_F(LogReaderTest, RunningTotalsAreSkippedAndDayTotalsGiveOneBarPerDay)
{
    auto analysis = NewAnalysis();
    analysis->ReadLogFile(WriteLog("10070315.csv",
        {"dd.mm.yy hh:mm;Qges[kWh];Qtag[kWh];QSum[kWh];T1[°C]", "15.03.2007 10:00;100;1,5;7;20",
            "15.03.2007 10:01;101;2,5;8;21", "15.03.2007 23:59;102;3,5;9;22", "", ""}));
    analysis->ReadLogFile(WriteLog("10070316.csv",
        {"dd.mm.yy hh:mm;QDay[kWh];T1[°C]", "16.03.2007 10:00;0,5;20", "16.03.2007 10:01;4,25;21",
            "16.03.2007 10:02;;22"}));

    EXPECT_EQ(FieldOf(*analysis, "Qges"), -1);
    EXPECT_EQ(FieldOf(*analysis, "Pges"), -1);
    EXPECT_EQ(FieldOf(*analysis, "QSum"), -1);
    const int ptag = FieldOf(*analysis, "Ptag");
    ASSERT_GE(ptag, 0);
    EXPECT_EQ(analysis->DeviceSettings()->ValueCount(), 2);
    // The last non-empty record of each file gives the day's total; in the second file
    // that record's cell is empty, so the records themselves feed the bar (last wins).
    EXPECT_EQ(
        DescribePoints(*analysis->Series(ptag)), "15.03.2007 12:00=3,50\n16.03.2007 12:00=4,25\n");
    EXPECT_EQ(analysis->Series(ptag)->Style().kind, TDrawingKind::SumBars);
    // The empty lines at the end of the first file end its records like a bad record:
    // the points stay, the closing null point is not added.
    EXPECT_EQ(DescribePoints(*analysis->Series(FieldOf(*analysis, "T1"))),
        "15.03.2007 10:00=20,00\n15.03.2007 10:01=21,00\n15.03.2007 23:59=null\n"
        "15.03.2007 23:59=22,00\n16.03.2007 10:00=20,00\n16.03.2007 10:01=21,00\n"
        "16.03.2007 10:02=22,00\n16.03.2007 10:02=null\n");
}

TEST_F(LogReaderTest, ColumnsWithoutFieldStillTakeTheirCells)
{
    auto analysis = NewAnalysis();
    analysis->ReadLogFile(WriteLog("10070315.csv",
        {"dd.mm.yy hh:mm;X[l];Comment;V'[l/min];U[V];R1[%]", "15.03.2007 10:00;5;abc;3,5;230;40",
            "15.03.2007 10:01;6;def;3,75;231;50"}));
    const TDeviceSettings& device = *analysis->DeviceSettings();
    ASSERT_EQ(device.ValueCount(), 2);
    EXPECT_EQ(device.GetValueName(0), "V");
    EXPECT_EQ(device.GetValueName(1), "R1");
    EXPECT_EQ(DescribePoints(*analysis->Series(0)),
        "15.03.2007 10:00=3,50\n15.03.2007 10:01=3,75\n15.03.2007 10:01=null\n");
    EXPECT_EQ(analysis->Series(1)->Points().Y(1), 50.0);
    EXPECT_TRUE(analysis->Series(1)->Style().stairs);
}

TEST_F(LogReaderTest, RunsOfEqualValuesKeepTheirFirstAndLatestPoint)
{
    auto analysis = NewAnalysis();
    analysis->ReadLogFile(WriteLog("10070315.csv",
        {Header, "15.03.2007 10:00;20;1;0", "15.03.2007 10:01;20;1;0", "15.03.2007 10:02;20;Err;0",
            "15.03.2007 10:03;20;1;0", "15.03.2007 10:04;21;1;0"}));
    EXPECT_EQ(DescribePoints(*analysis->Series(0)),
        "15.03.2007 10:00=20,00\n15.03.2007 10:03=20,00\n15.03.2007 10:04=21,00\n"
        "15.03.2007 10:04=null\n");
    // "Err" breaks the run: the value after it is added, the next one stretches the run.
    EXPECT_EQ(DescribePoints(*analysis->Series(1)),
        "15.03.2007 10:00=1,00\n15.03.2007 10:01=1,00\n15.03.2007 10:04=1,00\n"
        "15.03.2007 10:04=null\n");
}

TEST_F(LogReaderTest, ALongPauseOpensAGapInEveryColumnWithAValue)
{
    auto analysis = NewAnalysis();
    analysis->ReadLogFile(WriteLog("10070315.csv",
        {Header, "15.03.2007 10:00;20;1;0", "15.03.2007 10:01;21;1;0", "15.03.2007 10:02;22;1;0",
            "15.03.2007 10:10;23;;0", "15.03.2007 10:11;24;2;0"}));
    EXPECT_EQ(DescribePoints(*analysis->Series(0)),
        "15.03.2007 10:00=20,00\n15.03.2007 10:01=21,00\n15.03.2007 10:02=22,00\n"
        "15.03.2007 10:10=null\n15.03.2007 10:10=23,00\n15.03.2007 10:11=24,00\n"
        "15.03.2007 10:11=null\n");
    // The empty cell at 10:10 has no gap point; the interval is measured anew after it.
    EXPECT_EQ(DescribePoints(*analysis->Series(1)),
        "15.03.2007 10:00=1,00\n15.03.2007 10:02=1,00\n15.03.2007 10:11=2,00\n"
        "15.03.2007 10:11=null\n");
    EXPECT_DOUBLE_EQ(analysis->Day(0).intervalMinutes, 1.0);
}

TEST_F(LogReaderTest, RecordsRunningBackwardsAreIgnored)
{
    auto analysis = NewAnalysis();
    analysis->ReadLogFile(WriteLog("10070315.csv",
        {Header, "15.03.2007 10:00;20;1;0", "15.03.2007 10:05;21;1;0", "15.03.2007 10:03;99;9;9",
            "15.03.2007 10:10;22;1;0"}));
    EXPECT_EQ(DescribePoints(*analysis->Series(0)),
        "15.03.2007 10:00=20,00\n15.03.2007 10:05=21,00\n15.03.2007 10:10=22,00\n"
        "15.03.2007 10:10=null\n");
}

TEST_F(LogReaderTest, ABadRecordEndsTheFileButKeepsWhatWasRead)
{
    auto analysis = NewAnalysis();
    const auto path = WriteLog("10070315.csv",
        {Header, "15.03.2007 10:00;20;1;0", "15.03.2007 10:01;abc;1;0", "15.03.2007 10:02;22;1;0"});
    analysis->ReadLogFile(path);
    ASSERT_EQ(analysis->DayCount(), 1);
    // No closing null point after a bad record.
    EXPECT_EQ(DescribePoints(*analysis->Series(0)), "15.03.2007 10:00=20,00\n");
    EXPECT_DOUBLE_EQ(analysis->Day(0).last, EncodeDate(2007, 3, 16));

    // Too few cells end the reading the same way (the cells before stay); more cells
    // than columns do not.
    analysis->ReadLogFile(WriteLog("10070316.csv",
        {Header, "16.03.2007 10:00;20;1;0;7;8", "16.03.2007 10:01;21", "16.03.2007 10:02;22;1;0"}));
    EXPECT_EQ(DescribePoints(*analysis->Series(0)),
        "15.03.2007 10:00=20,00\n16.03.2007 10:00=20,00\n16.03.2007 10:01=21,00\n");
    // A missing last cell is just empty.
    analysis->ReadLogFile(
        WriteLog("10070317.csv", {Header, "17.03.2007 10:00;20;1", "17.03.2007 10:01;21;1"}));
    EXPECT_EQ(analysis->Series(0)->Points().Count(), 6);
}

TEST_F(LogReaderTest, TheFirstRecordTakesTheSecondRecordsDate)
{
    auto analysis = NewAnalysis();
    analysis->ReadLogFile(WriteLog("10070315.csv",
        {Header, "14.03.2007 00:00;20;1;0", "15.03.2007 00:01;21;1;0", "15.03.2007 00:02;22;1;0"}));
    EXPECT_DOUBLE_EQ(analysis->Day(0).dayDate, EncodeDate(2007, 3, 15));
    EXPECT_DOUBLE_EQ(analysis->Series(0)->Points().X(0), At(15, 0, 0));

    // Dates of other lengths take it just as well, keeping the first record's time.
    auto longYear = NewAnalysis();
    longYear->ReadLogFile(WriteLog("10070310.csv",
        {Header, "9.3.2007 0:05;20;1;0", "10.3.2007 0:06;21;1;0", "10.3.2007 0:07;22;1;0"}));
    EXPECT_EQ(DescribePoints(*longYear->Series(0)),
        "10.03.2007 00:05=20,00\n10.03.2007 00:06=21,00\n10.03.2007 00:07=22,00\n"
        "10.03.2007 00:07=null\n");
    auto shortYear = NewAnalysis();
    shortYear->ReadLogFile(WriteLog("10070310.csv",
        {Header, "9.03.07 8:00;20;1;0", "10.03.07 8:01;21;1;0", "10.03.07 8:02;22;1;0"}));
    EXPECT_EQ(DescribePoints(*shortYear->Series(0)),
        "10.03.2007 08:00=20,00\n10.03.2007 08:01=21,00\n10.03.2007 08:02=22,00\n"
        "10.03.2007 08:02=null\n");
}

TEST_F(LogReaderTest, AFirstRecordOfTheDayBeforeKeepsItsDateWhenTheSecondsWouldPutItAfter)
{
    struct Case {
        std::vector<std::string> lines;
        std::string points;
    };
    const Case cases[] = {
        {{"DATE & TIME;T1[°C]", "2007-03-14 23:59;20", "2007-03-15 00:00;21",
             "2007-03-15 00:01;22"},
            "14.03.2007 23:59=20,00\n15.03.2007 00:00=21,00\n15.03.2007 00:01=22,00\n"
            "15.03.2007 00:01=null\n"},
        {{"dd.mm.yy hh:mm;T1[°C]", "14.03.07 23:59;20", "15.03.07 00:01;21", "15.03.07 00:02;22"},
            "14.03.2007 23:59=20,00\n15.03.2007 00:01=21,00\n15.03.2007 00:02=22,00\n"
            "15.03.2007 00:02=null\n"},
    };
    for (const Case& c : cases) {
        auto analysis = NewAnalysis();
        analysis->ReadLogFile(WriteLog("10070315.csv", c.lines));
        EXPECT_DOUBLE_EQ(analysis->Day(0).dayDate, EncodeDate(2007, 3, 15));
        EXPECT_EQ(DescribePoints(*analysis->Series(0)), c.points);
    }
}

TEST_F(LogReaderTest, TheDayDateComesFromTheFirstReadableRecordFromTheSecondOn)
{
    struct Case {
        std::vector<std::string> records;
        double dayDate;
        int points;
    };
    const Case cases[] = {
        // A restart note in the second line: the third gives the day.
        {{"15.03.2007 00:00;20", "restart;21", "15.03.2007 00:02;22"}, EncodeDate(2007, 3, 15), 4},
        // The first record is the last resort.
        {{"15.03.2007 23:50;20", "restart;21", "garbage;22"}, EncodeDate(2007, 3, 15), 4},
        // A note without any cell is no record: the records after it are read.
        {{"15.03.2007 00:00;20", "*** restart ***", "15.03.2007 00:02;22", "15.03.2007 00:03;23"},
            EncodeDate(2007, 3, 15), 4},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines{"dd.mm.yy hh:mm;T1[°C]"};
        lines.insert(lines.end(), c.records.begin(), c.records.end());
        auto analysis = NewAnalysis();
        analysis->ReadLogFile(WriteLog("10070315.csv", lines));
        ASSERT_EQ(analysis->DayCount(), 1);
        EXPECT_DOUBLE_EQ(analysis->Day(0).dayDate, c.dayDate);
        EXPECT_EQ(analysis->Series(0)->Points().Count(), c.points) << "three records and the break";
    }
}

TEST_F(LogReaderTest, RunningOutOfMemoryEndsTheRecordsQuietlyAndKeepsTheDay)
{
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer keeps its shadow memory in the address space this test caps.
    GTEST_SKIP() << "the address space cannot be capped under AddressSanitizer";
#endif
    // Forty columns of changing values over 60,000 records need some 30 MB of points.
    std::vector<std::string> lines{"dd.mm.yy hh:mm"};
    for (int c = 0; c < 40; ++c)
        lines[0] += ";T" + std::to_string(c) + "[°C]";
    for (int r = 0; r < 60000; ++r) {
        char stamp[32];
        std::snprintf(
            stamp, sizeof stamp, "15.03.2007 %02d:%02d:%02d", r / 3600 % 24, r / 60 % 60, r % 60);
        std::string line = stamp;
        for (int c = 0; c < 40; ++c)
            line += ";" + std::to_string(r % 1000 + c);
        lines.push_back(std::move(line));
    }
    const std::string path = WriteLog("10070315.csv", lines);
    lines.clear();
    lines.shrink_to_fit();
    auto analysis = NewAnalysis();

    // The address space is capped so that the text fits but the points do not.
    std::ifstream status("/proc/self/status");
    std::string key;
    long long kilobytes = 0;
    while (status >> key && key != "VmSize:")
        status.ignore(1000, '\n');
    ASSERT_TRUE(status >> kilobytes);
    rlimit previous{};
    ASSERT_EQ(::getrlimit(RLIMIT_AS, &previous), 0);
    rlimit capped = previous;
    capped.rlim_cur = static_cast<rlim_t>(kilobytes + 20 * 1024) * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_AS, &capped), 0);
    bool failed = false;
    try {
        analysis->ReadLogFile(path);
    } catch (const std::exception&) {
        failed = true;
    }
    ::setrlimit(RLIMIT_AS, &previous);

    EXPECT_FALSE(failed);
    ASSERT_EQ(analysis->DayCount(), 1);
    EXPECT_EQ(analysis->FileCount(), 1);
    const TPointSeries& points = analysis->Series(0)->Points();
    ASSERT_GT(points.Count(), 0);
    EXPECT_LT(points.Count(), 60000) << "the cap was not reached";
    EXPECT_FALSE(points.IsNull(points.Count() - 1)) << "no closing null point";
    EXPECT_DOUBLE_EQ(analysis->Day(0).last, EncodeDate(2007, 3, 16));
}

TEST_F(LogReaderTest, DatePatternsSwitchAndRetry)
{
    auto analysis = NewAnalysis();
    // Year-first header, a day-first record (retry in C), then year-first again (D),
    // then a stamp in neither form (last + interval).
    analysis->ReadLogFile(WriteLog("10070315.csv",
        {"DATE & TIME;T1[°C]", "2007-03-15 10:00;20", "15.03.2007 10:01;21", "2007-03-15 10:02;22",
            "garbage;23", "2007-03-15 10:04;24"}));
    EXPECT_EQ(DescribePoints(*analysis->Series(0)),
        "15.03.2007 10:00=20,00\n15.03.2007 10:01=21,00\n15.03.2007 10:02=22,00\n"
        "15.03.2007 10:03=23,00\n15.03.2007 10:04=24,00\n15.03.2007 10:04=null\n");

    // Without a known interval an unreadable stamp is last + 1 minute.
    analysis->ReadLogFile(
        WriteLog("10070316.csv", {"DATE & TIME;T1[°C]", "x;21", "2007-03-16 10:00;20"}));
    EXPECT_DOUBLE_EQ(analysis->Series(0)->Points().X(6), At(16, 0, 1));
    EXPECT_DOUBLE_EQ(analysis->Series(0)->Points().X(7), At(16, 10, 0));

    // Day-first header with year-first records: the day date cannot be read.
    ExpectReadFailure(*analysis,
        WriteLog("10070317.csv",
            {"dd.mm.yy hh:mm;T1[°C]", "2007-03-17 12:30;20", "2007-03-17 12:31;20"}),
        "The file you specified is not a valid log file.");
    EXPECT_EQ(analysis->DayCount(), 2);

    // Short forms and seconds are read; the day is the whole day.
    analysis->ReadLogFile(WriteLog(
        "10070318.csv", {"dd.mm.yy hh:mm;T1[°C]", "18.3.07 9:05:30;20", "18.3.07 9:06:30;25"}));
    EXPECT_DOUBLE_EQ(analysis->Day(2).dayDate, EncodeDate(2007, 3, 18));
    EXPECT_DOUBLE_EQ(analysis->Series(0)->Points().X(9), At(18, 9, 5) + 0.5 * OneMinute);
}

TEST_F(LogReaderTest, DayDateFallsBackToDateAndTimeAsAWholeDay)
{
    auto analysis = NewAnalysis();
    // Year-first header, day-first records: the date-only reading fails, the day-first
    // date and time is read instead.
    analysis->ReadLogFile(WriteLog(
        "10070315.csv", {"DATE & TIME;T1[°C]", "15.03.2007 12:30;20", "15.03.2007 12:31;21"}));
    EXPECT_DOUBLE_EQ(analysis->Day(0).dayDate, EncodeDate(2007, 3, 15));
    EXPECT_DOUBLE_EQ(analysis->Series(0)->Points().X(1), At(15, 12, 31));
}

TEST_F(LogReaderTest, DeviceNamesFromTheHeader)
{
    auto analysis = NewAnalysis();
    analysis->ReadLogFile(WriteLog("10070315.csv",
        {"Solarregler 1;dd.mm.yy hh:mm;T1[°C]", "Solarregler 1;15.03.2007 10:00;20",
            "Solarregler 1;15.03.2007 10:01;21"}));
    EXPECT_EQ(analysis->DeviceSettings()->GetName(), "Solar controller");
    EXPECT_TRUE(analysis->DeviceSettings()->HasAutomaticName());
    EXPECT_EQ(analysis->DeviceSettings()->GetNumber(), 10);
    EXPECT_EQ(analysis->Series(0)->Points().Count(), 3);

    auto pump = NewAnalysis();
    pump->ReadLogFile(WriteLog("10070316.csv",
        {"Pump;dd.mm.yy hh:mm;T1[°C]", "Pump;16.03.2007 10:00;20", "Pump;16.03.2007 10:01;21"}));
    EXPECT_EQ(pump->DeviceSettings()->GetName(), "Pump");
    EXPECT_FALSE(pump->DeviceSettings()->HasAutomaticName());
    ExpectReadFailure(*pump,
        WriteLog("10070317.csv",
            {"Valve;dd.mm.yy hh:mm;T1[°C];T9[°C]", "Valve;17.03.2007 10:00;20;1",
                "Valve;17.03.2007 10:01;20;1"}),
        "Different bus participants use the same device number");
    EXPECT_EQ(pump->DayCount(), 1);
    EXPECT_EQ(pump->DeviceSettings()->ValueCount(), 1);
    // A file without a name is fine for a named device.
    pump->ReadLogFile(WriteLog("10070318.csv", {"dd.mm.yy hh:mm;T1[°C]", "18.03.2007 10:00;20"}));
    EXPECT_EQ(pump->DayCount(), 2);

    // Letters where the bus number belongs and no name: the device cannot be named.
    auto unnamed = NewAnalysis();
    ExpectReadFailure(*unnamed,
        WriteLog("xy070315.csv", {"dd.mm.yy hh:mm;T1[°C]", "15.03.2007 10:00;20"}),
        Text(TextId::TxtDataStructureMemory));
    EXPECT_EQ(unnamed->DeviceSettings(), nullptr);
}

TEST_F(LogReaderTest, DifferentUnitsWarnOncePerAnalysis)
{
    auto analysis = NewAnalysis();
    std::vector<std::string> warnings;
    analysis->SetUnitsWarningHandler([&](const std::string& text) { warnings.push_back(text); });
    analysis->ReadLogFile(
        WriteLog("10070315.csv", {"dd.mm.yy hh:mm;T1[°C]", "15.03.2007 10:00;20"}));
    analysis->ReadLogFile(
        WriteLog("10070316.csv", {"dd.mm.yy hh:mm;T1[F]", "16.03.2007 10:00;68"}));
    analysis->ReadLogFile(
        WriteLog("10070317.csv", {"dd.mm.yy hh:mm;T1[F]", "17.03.2007 10:00;68"}));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0],
        "Different units were found for field T1. The displayed values/units are probably faulty.");
    // The values still go to the one field.
    EXPECT_EQ(analysis->DeviceSettings()->ValueCount(), 1);
    EXPECT_EQ(analysis->DayCount(), 3);
}

TEST_F(LogReaderTest, NoUnitsWarningForAFileWhoseDayTotalMakesItInvalid)
{
    auto analysis = NewAnalysis();
    std::vector<std::string> warnings;
    analysis->SetUnitsWarningHandler([&](const std::string& text) { warnings.push_back(text); });
    analysis->ReadLogFile(
        WriteLog("10070315.csv", {"dd.mm.yy hh:mm;Qtag[kWh]", "15.03.2007 10:00;1,5"}));
    ExpectReadFailure(*analysis,
        WriteLog("10070316.csv", {"dd.mm.yy hh:mm;Qtag[kW]", "16.03.2007 10:00;abc"}),
        "The file you specified is not a valid log file.");
    EXPECT_TRUE(warnings.empty());
    // Still armed for the next file.
    analysis->ReadLogFile(
        WriteLog("10070317.csv", {"dd.mm.yy hh:mm;Qtag[kW]", "17.03.2007 10:00;2,5"}));
    EXPECT_EQ(warnings.size(), 1u);
    EXPECT_EQ(analysis->DayCount(), 2);
}

TEST_F(LogReaderTest, FailuresSayWhatWentWrongAndLeaveWhatTheyShould)
{
    auto analysis = NewAnalysis();
    const std::string invalid = "The file you specified is not a valid log file.";
    const std::string noValues = "The file you specified does not contain measured values.";

    ExpectReadFailure(*analysis, TempPath("logs/10070301.csv"),
        "Error occurred while opening file\n\n10070301.csv");
    std::filesystem::create_directories(TempPath("logs/10070302.csv"));
    ExpectReadFailure(*analysis, TempPath("logs/10070302.csv"),
        "Error occurred while opening file\n\n10070302.csv");
    ExpectReadFailure(*analysis, WriteBytes("10070303.csv", ""), noValues);
    ExpectReadFailure(*analysis, WriteBytes("10070304.csv", "\r\n\n\r\r\n"), noValues);
    ExpectReadFailure(
        *analysis, WriteBytes("10070305.csv", "\x01\xff\xfe\x00garbage\x9f"s), invalid);
    ExpectReadFailure(*analysis, WriteLog("10070306.csv", {"DATE & TIME T1[°C]"}), invalid);
    ExpectReadFailure(
        *analysis, WriteLog("10070307.csv", {"DATE & TIME x;T1[°C]", "x;15.03.2007"}), invalid);
    EXPECT_EQ(analysis->DayCount(), 0);
    EXPECT_EQ(analysis->FileCount(), 0);
    // The device settings made by the header stay.
    ASSERT_NE(analysis->DeviceSettings(), nullptr);
    EXPECT_EQ(analysis->DeviceSettings()->ValueCount(), 0);

    // A header alone: its fields stay.
    ExpectReadFailure(*analysis, WriteLog("10070308.csv", {"", "dd.mm.yy hh:mm;T1[°C]"}), noValues);
    EXPECT_EQ(analysis->DeviceSettings()->ValueCount(), 1);
    EXPECT_EQ(analysis->FieldRecordCount(), 1);
    // A day total that is not a number.
    ExpectReadFailure(*analysis,
        WriteLog("10070309.csv", {"dd.mm.yy hh:mm;Qtag[kWh]", "15.03.2007 10:00;x1"}), invalid);
    EXPECT_EQ(FieldOf(*analysis, "Ptag"), 1);
    // No value column: the day is discarded.
    ExpectReadFailure(*analysis, WriteLog("10070310.csv", {"dd.mm.yy hh:mm;", "15.03.2007 10:00"}),
        "Error occurred while opening file");
    EXPECT_EQ(analysis->DayCount(), 0);
    EXPECT_EQ(analysis->FileCount(), 0);
    EXPECT_EQ(analysis->FieldRecordCount(), analysis->DeviceSettings()->ValueCount());
}

TEST_F(LogReaderTest, UnreadableFilesFail)
{
    if (PermissionsAreIgnored())
        GTEST_SKIP() << "permissions do not stop this user";
    const auto path = WriteLog("10070315.csv", {"dd.mm.yy hh:mm;T1[°C]", "15.03.2007 10:00;20"});
    std::filesystem::permissions(path, std::filesystem::perms::none);
    auto analysis = NewAnalysis();
    ExpectReadFailure(*analysis, path, "Error occurred while opening file\n\n10070315.csv");
    EXPECT_EQ(analysis->DeviceSettings(), nullptr);
}

TEST_F(LogReaderTest, OddButReadableFiles)
{
    auto analysis = NewAnalysis();
    // UTF-8 with a byte-order mark: the unit is read as "[°C]".
    analysis->ReadLogFile(WriteBytes("10070315.csv",
        "\xEF\xBB\xBF"
        "dd.mm.yy hh:mm;T1[\xC2\xB0"
        "C]\r\n15.03.2007 10:00;20\r\n"));
    EXPECT_EQ(analysis->UnitOf(0), "[°C]");
    // CR-only line ends.
    analysis->ReadLogFile(WriteBytes("10070316.csv",
        "dd.mm.yy hh:mm;T1[\xB0"
        "C]\r16.03.2007 10:00;20\r16.03.2007 10:01;21\r"));
    // NUL bytes in a record end the records of that file.
    analysis->ReadLogFile(WriteBytes("10070317.csv",
        "dd.mm.yy hh:mm;T1[\xB0"
        "C]\n17.03.2007 10:00;20\n17.03.2007 10:01;2\0"
        "1\n"s));
    EXPECT_EQ(analysis->DayCount(), 3);
    EXPECT_EQ(analysis->DeviceSettings()->ValueCount(), 1);
    EXPECT_EQ(DescribePoints(*analysis->Series(0)),
        "15.03.2007 10:00=20,00\n15.03.2007 10:00=null\n16.03.2007 10:00=20,00\n"
        "16.03.2007 10:01=21,00\n16.03.2007 10:01=null\n17.03.2007 10:00=20,00\n");
    // A blank line between records ends them when there are several columns.
    analysis->ReadLogFile(WriteLog("10070318.csv",
        {"dd.mm.yy hh:mm;T1[°C];T2[°C]", "18.03.2007 10:00;20;1", "18.03.2007 10:01;21;1", "",
            "18.03.2007 10:02;22;1"}));
    EXPECT_EQ(analysis->Series(0)->Points().Count(), 8);
}

TEST_F(LogReaderTest, HugeLinesAndManyColumns)
{
    auto analysis = NewAnalysis();
    std::string header = "dd.mm.yy hh:mm";
    std::string record = "15.03.2007 10:00";
    for (int c = 0; c < 10000; ++c) {
        header += ";T" + std::to_string(c) + "[°C]";
        record += ";" + std::to_string(c % 97);
    }
    analysis->ReadLogFile(WriteLog("10070315.csv", {header, record}));
    ASSERT_EQ(analysis->DeviceSettings()->ValueCount(), 10000);
    ASSERT_EQ(analysis->FieldRecordCount(), 10000);
    EXPECT_EQ(analysis->Series(9999)->Points().Y(0), 9999 % 97);

    // A 50 MB line: one value with a very long cell, read as not a number.
    auto big = NewAnalysis();
    std::string line = "16.03.2007 10:00;" + std::string(50u << 20, '7');
    big->ReadLogFile(
        WriteLog("10070316.csv", {"dd.mm.yy hh:mm;T1[°C]", "16.03.2007 09:59;1", line}));
    EXPECT_EQ(DescribePoints(*big->Series(0)), "16.03.2007 09:59=1,00\n");
}

TEST_F(LogReaderTest, UnitFactorsApplyToEveryValueReadExactlyOnce)
{
    const double kilo = 1000 * 0.0010000000474974513;
    auto analysis = NewAnalysis();
    // The last record is stamped after midnight; a later copy of the day's file adds one.
    std::vector<std::string> lines{"dd.mm.yy hh:mm;P[W]", "15.03.2007 23:58;1000",
        "15.03.2007 23:59;2000", "16.03.2007 00:00;1000"};
    analysis->ReadLogFile(WriteLog("10070315.csv", lines));
    lines.push_back("16.03.2007 00:01;1000");
    analysis->ReadLogFile(WriteLog("copy/10070315.csv", lines));
    const TPointSeries& points = analysis->Series(0)->Points();
    ASSERT_EQ(points.Count(), 6);
    for (int i = 0; i < points.Count(); ++i) {
        if (!points.IsNull(i)) {
            EXPECT_TRUE(points.Y(i) == kilo || points.Y(i) == 2 * kilo) << i << ": " << points.Y(i);
        }
    }
    EXPECT_EQ(points.Y(4), kilo); // 16.03. 00:01 of the copy
}

TEST_F(LogReaderTest, ADayReadTwiceAddsOnlyRecordsNotReadYet)
{
    std::vector<std::string> day = MinuteRecords(2007, 3, 15, "6;5");
    const auto part = [&](int from, int to) {
        std::vector<std::string> lines{"dd.mm.yy hh:mm;P[kW];Qtag[kWh]"};
        lines.insert(lines.end(), day.begin() + from, day.begin() + to);
        return lines;
    };
    struct Case {
        const char* what;
        std::vector<std::string> first, second;
        bool secondFails;
    };
    const Case cases[] = {
        {"a copy", part(0, 1440), part(0, 1440), true},
        {"a copy of the morning", part(0, 1440), part(0, 720), true},
        {"two halves", part(0, 720), part(720, 1440), false},
        {"the morning, then the whole day", part(0, 720), part(0, 1440), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto analysis = NewAnalysis();
        const std::string first = WriteLog("10070315.csv", c.first);
        analysis->ReadLogFile(first);
        const std::string second = WriteLog("backup/10070315.csv", c.second);
        const int pointsBefore = analysis->Series(0)->Points().Count();
        if (c.secondFails) {
            ExpectReadFailure(
                *analysis, second, "The same day was already loaded from\n(" + first + ")");
            EXPECT_EQ(analysis->DayCount(), 1);
            EXPECT_EQ(analysis->FileCount(), 1);
            EXPECT_EQ(analysis->Series(0)->Points().Count(), pointsBefore) << "no closing null";
        } else {
            analysis->ReadLogFile(second);
            EXPECT_EQ(analysis->DayCount(), 2);
        }
        const TPointSeries& points = analysis->Series(0)->Points();
        for (int i = 1; i < points.Count(); ++i)
            ASSERT_LE(points.X(i - 1), points.X(i)) << i;
        analysis->BuildSums();
        // The logged day total stays one bar; the day's energy is counted once.
        EXPECT_EQ(analysis->Series(FieldOf(*analysis, "Ptag"))->Points().Count(), 1);
        const int psum = FieldOf(*analysis, "Pmonat");
        ASSERT_GE(psum, 0);
        EXPECT_DOUBLE_EQ(analysis->Series(psum)->Points().Y(0), 5.0);
    }

    // The morning and then the whole day integrate to the day once; the first minute of
    // each part counts.
    auto halves = NewAnalysis();
    std::vector<std::string> power{"dd.mm.yy hh:mm;P[kW]"};
    const std::vector<std::string> minutes = MinuteRecords(2007, 3, 15, "6");
    power.insert(power.end(), minutes.begin(), minutes.begin() + 720);
    halves->ReadLogFile(WriteLog("a/10070315.csv", power));
    power.insert(power.end(), minutes.begin() + 720, minutes.end());
    halves->ReadLogFile(WriteLog("b/10070315.csv", power));
    halves->BuildSums();
    EXPECT_NEAR(halves->Series(FieldOf(*halves, "Ptag"))->Points().Y(0), 144.0, 1e-9);
}

TEST_F(LogReaderTest, AFileThatFailsLeavesNoDayTotal)
{
    auto analysis = NewAnalysis();
    // The first day total is good, the second is no number: the file is not valid.
    ExpectReadFailure(*analysis,
        WriteLog("10070315.csv",
            {"dd.mm.yy hh:mm;Qtag[kWh];QDay2[kWh]", "15.03.2007 10:00;1,5;2",
                "15.03.2007 10:01;1,5;x"}),
        "The file you specified is not a valid log file.");
    const int total = FieldOf(*analysis, "Ptag");
    ASSERT_GE(total, 0) << "the fields of the header stay";
    EXPECT_EQ(analysis->Series(total)->Points().Count(), 0);
}

TEST_F(LogReaderTest, RunsAreStretchedOnlyForwardInTime)
{
    auto analysis = NewAnalysis();
    // The first file stops at a bad record, so its last two equal points have no closing
    // null point after them; a second file of the same day continues the value earlier.
    analysis->ReadLogFile(WriteLog("10070315.csv",
        {"dd.mm.yy hh:mm;T1[°C]", "15.03.2007 23:57;5", "15.03.2007 23:58;7", "15.03.2007 23:59;7",
            "15.03.2007 23:59;x"}));
    analysis->ReadLogFile(WriteLog("copy/10070315.csv",
        {"dd.mm.yy hh:mm;T1[°C]", "15.03.2007 00:05;7", "15.03.2007 00:06;7"}));
    EXPECT_EQ(DescribePoints(*analysis->Series(0)),
        "15.03.2007 00:05=7,00\n15.03.2007 00:06=7,00\n15.03.2007 00:06=null\n"
        "15.03.2007 23:57=5,00\n15.03.2007 23:58=7,00\n15.03.2007 23:59=7,00\n");
}

TEST_F(LogReaderTest, DayBarsFedByRecordsStayAtMidday)
{
    auto analysis = NewAnalysis();
    // No day total can be taken (the last record has none), so the records feed the bars.
    for (const int day : {15, 16, 17}) {
        char stamp[16];
        std::snprintf(stamp, sizeof stamp, "%02d.03.2007", day);
        analysis->ReadLogFile(WriteLog("100703" + std::to_string(day) + ".csv",
            {"dd.mm.yy hh:mm;Qtag[kWh]", std::string(stamp) + " 10:00;5",
                std::string(stamp) + " 10:01;5", std::string(stamp) + " 10:02;Err"}));
    }
    EXPECT_EQ(DescribePoints(*analysis->Series(0)),
        "15.03.2007 12:00=5,00\n16.03.2007 12:00=5,00\n17.03.2007 12:00=5,00\n");
}

TEST_F(LogReaderTest, NamedPipesAreRefusedWithoutWaiting)
{
    const std::string path = TempPath("logs/10070315.csv");
    std::filesystem::create_directories(TempPath("logs"));
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    auto analysis = NewAnalysis();
    ExpectReadFailure(*analysis, path, "Error occurred while opening file\n\n10070315.csv");
}
