#include "core/loading/TimeWindow.h"
#include "core/loading/AnalysisFixture.h"
#include "core/loading/LoadLogFiles.h"

#include "core/base/KalvexError.h"

#include <gtest/gtest.h>

namespace {

TDateTime At(int year, int month, int day, int hour = 0, int minute = 0)
{
    return EncodeDate(year, month, day) + hour / 24.0 + minute / 1440.0;
}

TDayList Days(std::initializer_list<int> dayNumbers)
{
    TDayList list;
    for (const int d : dayNumbers)
        list.Add(FormatDateTime("yyyymmdd", d), d);
    return list;
}

} // namespace

TEST(TimeWindowTest, RangesGrowToWholeMonthsQuartersAndYears)
{
    const TDateTime from = At(2024, 1, 15);
    const TDateTime to = At(2024, 3, 10);
    EXPECT_EQ(ComputeRange(0, from + 0.5, to).start, from);
    EXPECT_EQ(ComputeRange(0, from, to).end, At(2024, 3, 11));
    for (const int kind : {1, 2}) {
        const TTimeSpan range = ComputeRange(kind, from, to);
        EXPECT_EQ(range.start, At(2024, 1, 1)) << kind;
        EXPECT_EQ(range.end, At(2024, 4, 1)) << kind;
    }
    // An end on the last day of a month, quarter or year needs nothing more.
    EXPECT_EQ(ComputeRange(1, from, At(2024, 3, 31)).end, At(2024, 4, 1));
    EXPECT_EQ(ComputeRange(2, from, At(2024, 3, 31)).end, At(2024, 4, 1));
    EXPECT_EQ(ComputeRange(2, At(2024, 11, 5), At(2024, 11, 20)).start, At(2024, 10, 1));
    EXPECT_EQ(ComputeRange(2, At(2024, 11, 5), At(2024, 11, 20)).end, At(2025, 1, 1));
    EXPECT_EQ(ComputeRange(1, from, At(2024, 12, 15)).end, At(2025, 1, 1));
    EXPECT_EQ(ComputeRange(3, from, At(2024, 12, 31)).end, At(2025, 1, 1));
    EXPECT_EQ(ComputeRange(3, from, At(2024, 12, 30)).end, At(2025, 1, 1));
    EXPECT_EQ(ComputeRange(3, from, At(2024, 12, 30)).start, At(2024, 1, 1));
}

TEST(TimeWindowTest, HourWindowsEndAtMidnightRatherThanCrossingIt)
{
    const TTimeSpan range{At(2024, 3, 1), At(2024, 3, 31)};
    TTimeSpan w = SpanWindow(SpanEightHours, At(2024, 3, 5, 20), range);
    EXPECT_NEAR(w.start, At(2024, 3, 5, 16), 1e-9);
    EXPECT_NEAR(w.end, At(2024, 3, 6), 1e-9);
    w = SpanWindow(SpanEightHours, At(2024, 3, 5, 15), range);
    EXPECT_NEAR(w.start, At(2024, 3, 5, 15), 1e-9);
    EXPECT_NEAR(w.end, At(2024, 3, 5, 23), 1e-9);
    w = SpanWindow(SpanOneDay, At(2024, 3, 5, 15), range);
    EXPECT_EQ(w.start, At(2024, 3, 5));
    EXPECT_EQ(w.end, At(2024, 3, 6));
    // Beyond the range end the window moves back into it.
    w = SpanWindow(SpanOneHour, At(2024, 3, 31, 10), range);
    EXPECT_NEAR(w.start, At(2024, 3, 30, 23), 1e-9);
    EXPECT_THROW(SpanWindow(7, At(2024, 3, 5), range), KalvexError);
}

TEST(TimeWindowTest, CalendarWindowsTakeTheWholeMonthQuarterOrYearOfTheStart)
{
    const TTimeSpan range{At(2024, 1, 1), At(2025, 1, 1)};
    TTimeSpan w = SpanWindow(SpanOneMonth, At(2024, 3, 17, 9), range);
    EXPECT_EQ(w.start, At(2024, 3, 1));
    EXPECT_EQ(w.end, At(2024, 4, 1));
    w = SpanWindow(SpanOneQuarter, At(2024, 3, 17), range);
    EXPECT_EQ(w.start, At(2024, 1, 1));
    EXPECT_EQ(w.end, At(2024, 4, 1));
    w = SpanWindow(SpanOneYear, At(2024, 3, 17), range);
    EXPECT_EQ(w.start, At(2024, 1, 1));
    EXPECT_EQ(w.end, At(2025, 1, 1));
    EXPECT_EQ(PeriodKindOf(SpanOneDay), 0);
    EXPECT_EQ(PeriodKindOf(SpanOneYear), 3);
}

TEST(TimeWindowTest, SliderCountsHoursDaysMonthsQuartersAndYears)
{
    const TDayList days = Days({45300, 45301, 45305});
    const TTimeSpan range = ComputeRange(1, At(2024, 1, 15), At(2024, 3, 10));
    TSliderState s = SliderStateFor(SpanOneMonth, At(2024, 3, 1), range, days);
    EXPECT_EQ(s.maximum, 2);
    EXPECT_EQ(s.position, 2);
    s = SliderStateFor(
        SpanOneQuarter, At(2024, 1, 1), ComputeRange(2, At(2024, 1, 15), At(2024, 3, 10)), days);
    EXPECT_EQ(s.maximum, 0);
    EXPECT_EQ(s.position, 0);
    s = SliderStateFor(SpanOneYear, At(2025, 1, 1), {At(2024, 1, 1), At(2026, 1, 1)}, days);
    EXPECT_EQ(s.maximum, 1);
    EXPECT_EQ(s.position, 1);
    s = SliderStateFor(SpanEightHours, At(2024, 3, 5, 16), range, days);
    EXPECT_EQ(s.maximum, 16);
    EXPECT_EQ(s.position, 16);
    s = SliderStateFor(SpanOneDay, 45304.9, range, days);
    EXPECT_EQ(s.maximum, 2);
    EXPECT_EQ(s.position, 2);

    TTimeSpan w = SliderWindow(SpanOneMonth, 2, 2, 0, range, days);
    EXPECT_EQ(w.start, At(2024, 3, 1));
    EXPECT_EQ(w.end, At(2024, 4, 1));
    w = SliderWindow(SpanOneQuarter, 3, 3, 0, {At(2024, 1, 1), At(2025, 1, 1)}, days);
    EXPECT_EQ(w.start, At(2024, 10, 1));
    EXPECT_EQ(w.end, At(2025, 1, 1));
    w = SliderWindow(SpanThreeHours, 7, 21, At(2024, 3, 5, 13), range, days);
    EXPECT_NEAR(w.start, At(2024, 3, 5, 7), 1e-9);
    EXPECT_NEAR(w.end, At(2024, 3, 5, 10), 1e-9);
    w = SliderWindow(SpanOneDay, 1, 2, 0, range, days);
    EXPECT_EQ(w.start, 45301);
    EXPECT_THROW(SliderWindow(-1, 0, 0, 0, range, days), KalvexError);
}

TEST(TimeWindowTest, NearestDayPrefersTheLaterDayOnATie)
{
    const TDayList days = Days({100, 104, 110});
    EXPECT_EQ(NearestDayIndex(days, 90), 0);
    EXPECT_EQ(NearestDayIndex(days, 101.7), 0);
    EXPECT_EQ(NearestDayIndex(days, 102), 1); // 2 days either side
    EXPECT_EQ(NearestDayIndex(days, 104.5), 1);
    EXPECT_EQ(NearestDayIndex(days, 106), 1);
    EXPECT_EQ(NearestDayIndex(days, 120), 2);
    EXPECT_EQ(NearestDayIndex(TDayList(), 120), 0);
}

TEST(TimeWindowTest, TitleNamesTheFirstAndLastDayOrMonth)
{
    const std::string mar1 = FormatDateTime("dd. mmm yyyy", At(2024, 3, 1));
    const std::string mar2 = FormatDateTime("dd. mmm yyyy", At(2024, 3, 2));
    EXPECT_EQ(ChartTitleText(SpanOneDay, {At(2024, 3, 1), At(2024, 3, 2)}, ""), mar1);
    EXPECT_EQ(ChartTitleText(SpanOneHour, {At(2024, 3, 1, 23), At(2024, 3, 2)}, ""), mar1);
    EXPECT_EQ(ChartTitleText(SpanOneDay, {At(2024, 3, 1, 12), At(2024, 3, 2, 12)}, ""),
        mar1 + " - " + mar2);
    const std::string march = FormatDateTime("mmm yyyy", At(2024, 3, 1));
    EXPECT_EQ(
        ChartTitleText(SpanOneMonth, {At(2024, 3, 1), At(2024, 4, 1)}, "Y"), march + "  -  Y");
    EXPECT_EQ(ChartTitleText(SpanOneQuarter, {At(2024, 1, 1), At(2024, 4, 1)}, ""),
        FormatDateTime("mmm yyyy", At(2024, 1, 1)) + " - " + march);
}

class YieldTextTest : public AnalysisFixture {
protected:
    TAnalysisSet set;
};

TEST_F(YieldTextTest, MonthQuarterAndYearSumTheOverviewRowsOfTheirPeriod)
{
    SelectLanguage(2);
    WriteEnergyDay("10", 2024, 1, 20, "10,0");
    WriteEnergyDay("10", 2024, 2, 3, "4,5");
    WriteEnergyDay("10", 2024, 2, 4, "1,25");
    WriteEnergyDay("10", 2024, 4, 2, "100,0");
    const TLoadResult result
        = LoadLogFiles(set, FindLogFiles(TempPath("logs")), At(2024, 1, 1), At(2024, 4, 30));
    ASSERT_TRUE(result.failures.empty());
    const TLogAnalysis* analysis = set.Analysis(0);
    auto yield = [&](int kind, TDateTime start) {
        return YieldText(kind, start, analysis, 0, set.MonthlyOverview(), set.AnnualOverview());
    };
    EXPECT_EQ(yield(1, At(2024, 2, 1)), "Monthly yield Q: 5,75 [kWh]");
    EXPECT_EQ(yield(1, At(2024, 3, 1)), "Monthly yield Q: 0,00 [kWh]");
    EXPECT_EQ(yield(2, At(2024, 1, 1)), "Quarterly yield Q: 15,75 [kWh]");
    EXPECT_EQ(yield(3, At(2024, 1, 1)), "Annual yield Q: 115,75 [kWh]");
    EXPECT_EQ(yield(0, At(2024, 2, 1)), "");
    // Another device index finds no column: the sum is 0.
    EXPECT_EQ(YieldText(1, At(2024, 2, 1), analysis, 1, set.MonthlyOverview(), nullptr),
        "Monthly yield Q: 0,00 [kWh]");
    SelectLanguage(1);
}
