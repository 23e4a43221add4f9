#include "core/logdata/SeriesSums.h"
#include "core/base/DateTime.h"

#include <gtest/gtest.h>

namespace {

// Every minute of the day at a constant value, stored as two points as the reader does.
void AddConstantDay(TFieldSeries& s, double day, double value)
{
    s.AddPoint(day, value);
    s.AddPoint(day + 1439.0 / 1440, value);
}

} // namespace

TEST(DayIntegral, ConstantPowerOverADay)
{
    TFieldSeries power(TDrawingKind::OffsetLine);
    const double day = EncodeDate(2007, 3, 15);
    AddConstantDay(power, day, 6.0);
    EXPECT_NEAR(DayIntegral(power, 24, day), 144.0, 1e-9);
    EXPECT_DOUBLE_EQ(DayIntegral(power, 24, day + 1), 0.0);
    EXPECT_DOUBLE_EQ(DayIntegral(power, 24, day - 1), 0.0);

    // Sampled every minute rather than compressed: close to 48 plus the first 2/60.
    TFieldSeries every(TDrawingKind::OffsetLine);
    for (int m = 0; m < 1440; ++m)
        every.AddPoint(day + m / 1440.0, 2.0);
    EXPECT_NEAR(DayIntegral(every, 24, day), 2.0 / 60 + 4.0 * 1439 / 1440 * 12, 1e-9);
}

TEST(DayIntegral, FlowPerMinuteAndGapsRestartTheSum)
{
    TFieldSeries flow(TDrawingKind::OffsetLine);
    const double day = 40000.0;
    flow.AddPoint(day + 10 * OneMinute, 3.0);
    flow.AddPoint(day + 20 * OneMinute, 3.0);
    flow.AddNullPoint(day + 30 * OneMinute);
    flow.AddPoint(day + 30 * OneMinute, 5.0);
    flow.AddPoint(day + 40 * OneMinute, 5.0);
    // First points count one minute (3 and 5 litres), the stretches 30 and 50 litres,
    // nothing across the gap.
    EXPECT_NEAR(DayIntegral(flow, 1440, day), 3.0 + 30.0 + 5.0 + 50.0, 1e-6);
}

TEST(DayIntegral, CursorWalksForwardAndFindsItsWayBack)
{
    TFieldSeries power(TDrawingKind::OffsetLine);
    const double first = 40000.0;
    for (int d = 0; d < 5; ++d)
        AddConstantDay(power, first + d, d + 1.0);
    for (int d = 0; d < 5; ++d)
        EXPECT_NEAR(DayIntegral(power, 24, first + d), 24.0 * (d + 1), 1e-9) << d;
    EXPECT_EQ(power.SearchIndex, 10);
    // Going back to an earlier day and starting beyond the end both still work.
    EXPECT_NEAR(DayIntegral(power, 24, first + 1), 48.0, 1e-9);
    power.SearchIndex = 1000;
    EXPECT_NEAR(DayIntegral(power, 24, first + 3), 96.0, 1e-9);
    power.SearchIndex = -7;
    EXPECT_NEAR(DayIntegral(power, 24, first), 24.0, 1e-9);
}

TEST(FillMonthlySums, OneBarPerMonthInTheMiddle)
{
    TFieldSeries days(TDrawingKind::SumBars);
    days.Style().color = 16711680;
    const double jan30 = EncodeDate(2007, 1, 30);
    days.AddPoint(jan30, 1.0);
    days.AddPoint(jan30 + 1, 2.0);
    days.SetAcceptNulls(true);
    days.AddNullPoint(jan30 + 1.6);
    days.AddPoint(jan30 + 2, 4.0); // 1 February
    days.AddPoint(jan30 + 3, 8.0);

    TFieldSeries months(TDrawingKind::SumBars);
    months.AddPoint(1.0, 99.0); // cleared first
    FillMonthlySums(days, months);
    EXPECT_TRUE(months.AcceptNulls());
    EXPECT_EQ(months.Style().color, 16711680u);
    ASSERT_EQ(months.Points().Count(), 2);
    EXPECT_DOUBLE_EQ(months.Points().X(0), EncodeDate(2007, 1, 1) + 15.5);
    EXPECT_DOUBLE_EQ(months.Points().Y(0), 3.0);
    // February's middle falls on a day's start: its bar stands at that day's midday.
    EXPECT_DOUBLE_EQ(months.Points().X(1), EncodeDate(2007, 2, 15) + 0.5);
    EXPECT_DOUBLE_EQ(months.Points().Y(1), 12.0);
}

TEST(FillMonthlySums, DecemberRollsIntoTheNextYear)
{
    TFieldSeries days(TDrawingKind::SumBars);
    days.AddPoint(EncodeDate(2007, 12, 31), 5.0);
    days.AddPoint(EncodeDate(2008, 1, 1), 7.0);
    TFieldSeries months(TDrawingKind::SumBars);
    FillMonthlySums(days, months);
    ASSERT_EQ(months.Points().Count(), 2);
    EXPECT_DOUBLE_EQ(months.Points().X(0), EncodeDate(2007, 12, 16) + 0.5);
    EXPECT_DOUBLE_EQ(months.Points().Y(0), 5.0);
    EXPECT_DOUBLE_EQ(months.Points().Y(1), 7.0);
}
