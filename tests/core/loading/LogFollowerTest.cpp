#include "core/loading/LogFollower.h"
#include "core/loading/AnalysisFixture.h"
#include "core/loading/LoadLogFiles.h"
#include "core/logdata/SeriesReadings.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

// Hourly records of a temperature and a power, as "hh:00;T1;P".
std::vector<std::string> HourRecords(int day, int fromHour, int toHour, double power)
{
    std::vector<std::string> lines;
    char line[64];
    for (int h = fromHour; h <= toHour; ++h) {
        std::snprintf(line, sizeof line, "2007-03-%02d %02d:00;%d,0;%g", day, h, 20 + h, power);
        lines.push_back(line);
    }
    return lines;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// The day sum of a constant power: its hours, and the first reading's minute.
double Energy(double power, int hours)
{
    return power * hours + power / 60;
}

void Append(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
}

} // namespace

class LogFollowerTest : public AnalysisFixture {
protected:
    static constexpr const char* Header = "DATE & TIME;T1[°C];P[kW]";

    std::string WriteDay(int day, int toHour, double power = 2.0)
    {
        std::vector<std::string> lines{Header};
        const auto records = HourRecords(day, 0, toHour, power);
        lines.insert(lines.end(), records.begin(), records.end());
        return WriteLog(DayFileName("10", 2007, 3, day), lines);
    }

    void Load(TDateTime to = EncodeDate(2007, 3, 31))
    {
        LoadLogFiles(set, FindLogFiles(TempPath()), EncodeDate(2007, 3, 1), to);
        follower.SetProblemHandler(
            [this](const std::string& path, const std::string&) { problems.push_back(path); });
        follower.Start();
        follower.CheckFiles(); // the first look reads each device's newest file anew
    }

    TLogAnalysis& Device() { return *set.Analysis(0); }
    const TPointSeries& Points(const std::string& field)
    {
        return Device().Series(FieldOf(Device(), field))->Points();
    }
    double DaySum(int day)
    {
        return TotalIn(Points("Ptag"), EncodeDate(2007, 3, day), EncodeDate(2007, 3, day + 1))
            .value_or(-1);
    }
    std::optional<double> T1At(int day, int hour)
    {
        return ReadingAt(Points("T1"), EncodeDate(2007, 3, day) + hour / 24.0);
    }

    TAnalysisSet set;
    TLogFollower follower{set, 60000};
    std::vector<std::string> problems;
};

TEST_F(LogFollowerTest, GrownLinesGoIntoSeriesSumsAndOverviewOnlyWhenComplete)
{
    WriteDay(8, 23);
    const std::string today = WriteDay(9, 10);
    Load();
    // 2 kW over the ten hours from 00:00 to 10:00, and the first reading's minute.
    ASSERT_NEAR(DaySum(9), Energy(2, 10), 1e-6);

    // The logger is in the middle of a line: nothing is read of it.
    Append(today, Joined(HourRecords(9, 11, 12, 2.0)) + "2007-03-09 13:00;3");
    const auto grown = follower.CheckFiles();
    ASSERT_EQ(grown.size(), 1u);
    EXPECT_EQ(grown[0].path, today);
    EXPECT_FALSE(grown[0].newDay);
    ASSERT_EQ(grown[0].newRecords.size(), 2u);
    EXPECT_DOUBLE_EQ(grown[0].newRecords[0], EncodeDate(2007, 3, 9) + 11 / 24.0);
    EXPECT_EQ(T1At(9, 11), 31.0);
    EXPECT_NEAR(DaySum(9), Energy(2, 12), 1e-6);
    EXPECT_NEAR(DaySum(8), Energy(2, 23), 1e-6);
    EXPECT_EQ(Device().DayCount(), 2);
    EXPECT_TRUE(follower.CheckFiles().empty());

    Append(today, "3,0;2\r\n");
    const auto completed = follower.CheckFiles();
    ASSERT_EQ(completed.size(), 1u);
    ASSERT_EQ(completed[0].newRecords.size(), 1u);
    EXPECT_EQ(T1At(9, 12), 32.0);
    EXPECT_NEAR(DaySum(9), Energy(2, 13), 1e-6);
    // The overview's day row of the 9th shows the new sum.
    const TOverviewTable& daily = *set.DailyOverview();
    bool found = false;
    for (int r = 0; r < daily.RowCount(); ++r)
        for (int c = 0; c < daily.ColumnCount(); ++c)
            found |= daily.Text(c, r).find("26,03") != std::string::npos;
    EXPECT_TRUE(found);
    EXPECT_TRUE(problems.empty());
}

TEST_F(LogFollowerTest, ARewrittenFileReplacesItsDayAndABrokenOneIsSaidOnce)
{
    WriteDay(8, 23);
    const std::string today = WriteDay(9, 10);
    Load();

    WriteDay(9, 3, 4.0); // shorter: the logger started the file again
    const auto rewritten = follower.CheckFiles();
    ASSERT_EQ(rewritten.size(), 1u);
    EXPECT_TRUE(rewritten[0].rewritten);
    EXPECT_NEAR(DaySum(9), Energy(4, 3), 1e-6);
    EXPECT_FALSE(T1At(9, 5).has_value()); // past the last record: the day's break
    EXPECT_EQ(T1At(8, 5), 25.0);

    WriteTestFile(today, "no log at all, and longer than before, so that it is read\r\n");
    EXPECT_TRUE(follower.CheckFiles().empty());
    Append(today, "still none\r\n");
    EXPECT_TRUE(follower.CheckFiles().empty());
    EXPECT_EQ(problems, std::vector<std::string>{today});
}

TEST_F(LogFollowerTest, ANewDayIsReadWhenThePeriodHoldsIt)
{
    struct Case {
        const char* name;
        int periodEnd;
        int newDay;
        bool read;
        const char* caption;
    };
    const Case cases[] = {
        {"within the period", 31, 10, true, "to 31.03.2007. (3 files found)"},
        {"period ended on the last day found", 9, 10, true, "to 10.03.2007. (3 files found)"},
        {"period ended before the new day", 9, 11, true, "to 11.03.2007. (3 files found)"},
        {"period ended after the last day", 10, 12, false, "to 10.03.2007. (2 files found)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        set.ResetToEmpty();
        std::filesystem::remove_all(TempPath());
        std::filesystem::create_directories(TempPath());
        WriteDay(8, 23);
        WriteDay(9, 23);
        Load(EncodeDate(2007, 3, c.periodEnd));
        WriteDay(c.newDay, 2, 1.0);
        const auto updates = follower.CheckNow();
        ASSERT_EQ(updates.size(), c.read ? 1u : 0u);
        EXPECT_EQ(set.DayList().Count(), c.read ? 3 : 2);
        EXPECT_NE(set.Caption().find(c.caption), std::string::npos) << set.Caption();
        if (!c.read)
            continue;
        EXPECT_TRUE(updates[0].newDay);
        EXPECT_EQ(updates[0].newRecords.size(), 3u);
        EXPECT_NEAR(DaySum(c.newDay), Energy(1, 2), 1e-6);
        EXPECT_EQ(set.RangeEnd(), EncodeDate(2007, 3, c.newDay) + 1);
    }
}

TEST_F(LogFollowerTest, DerivedValuesFollowTheirInputs)
{
    set.SetExtraDerivedValues({{"10", {{"Twice", "[K]", "T1 * 2"}}}});
    WriteDay(8, 23);
    const std::string today = WriteDay(9, 10);
    Load();
    Append(today, Joined(HourRecords(9, 11, 12, 2.0)));
    ASSERT_EQ(follower.CheckFiles().size(), 1u);
    EXPECT_EQ(ReadingAt(Points("Twice"), EncodeDate(2007, 3, 9) + 11 / 24.0), 62.0);
}
