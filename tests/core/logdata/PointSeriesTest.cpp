#include "core/logdata/PointSeries.h"
#include "core/base/DateTime.h"
#include "core/logdata/FieldSeries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

TEST(PointSeries, KeepsTimesAscendingWhateverTheOrderOfAdding)
{
    TPointSeries s;
    EXPECT_EQ(s.AddPoint(10.0, 1.0), 0);
    EXPECT_EQ(s.AddPoint(12.0, 3.0), 1);
    EXPECT_EQ(s.AddPoint(11.0, 2.0), 1); // earlier than the last: inserted at its place
    EXPECT_EQ(s.AddNullPoint(11.0), 2); // same time: after the existing point
    ASSERT_EQ(s.Count(), 4);
    EXPECT_DOUBLE_EQ(s.X(0), 10.0);
    EXPECT_DOUBLE_EQ(s.Y(1), 2.0);
    EXPECT_FALSE(s.IsNull(1));
    EXPECT_TRUE(s.IsNull(2));
    EXPECT_DOUBLE_EQ(s.Y(2), 0.0);
    EXPECT_DOUBLE_EQ(s.X(3), 12.0);

    EXPECT_EQ(s.Locate(11.0), 1);
    EXPECT_EQ(s.Locate(11.5), -1);
    EXPECT_EQ(s.Locate(9.0), -1);
    EXPECT_EQ(s.Locate(13.0), -1);
    EXPECT_EQ(s.LowerBound(11.5), 3);

    s.Clear();
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.Locate(10.0), -1);
}

TEST(PointSeries, AMergedRunGoesIntoPlaceAfterPointsOfTheSameTime)
{
    TPointSeries series;
    for (int i = 0; i < 10; ++i)
        series.AddPoint(i, i);
    series.BeginMerge();
    series.AddPoint(4.5, 100);
    series.AddNullPoint(5);
    series.AddPoint(5, 101);
    series.AddPoint(12, 102);
    EXPECT_EQ(series.X(10), 4.5) << "appended as given while merging";
    series.EndMerge();

    std::vector<std::pair<double, double>> points;
    for (int i = 0; i < series.Count(); ++i)
        points.emplace_back(series.X(i), series.Y(i));
    EXPECT_EQ(points,
        (std::vector<std::pair<double, double>>{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {4.5, 100},
            {5, 5}, {5, 0}, {5, 101}, {6, 6}, {7, 7}, {8, 8}, {9, 9}, {12, 102}}));
    EXPECT_FALSE(series.IsNull(6));
    EXPECT_TRUE(series.IsNull(7));
    EXPECT_FALSE(series.IsNull(8));

    // Outside a merge an earlier point is inserted at once.
    series.AddPoint(0.5, 7);
    EXPECT_EQ(series.X(1), 0.5);
}

TEST(PointSeries, SetXNeverBreaksTheOrder)
{
    TPointSeries s;
    s.AddPoint(1.0, 10.0);
    s.AddPoint(2.0, 20.0);
    s.AddPoint(3.0, 30.0);
    EXPECT_EQ(s.SetX(2, 3.5), 2); // still last: moved in place
    EXPECT_EQ(s.SetX(2, 0.5), 0); // moved before the first point
    EXPECT_DOUBLE_EQ(s.X(0), 0.5);
    EXPECT_DOUBLE_EQ(s.Y(0), 30.0);
    EXPECT_DOUBLE_EQ(s.X(1), 1.0);
    EXPECT_DOUBLE_EQ(s.X(2), 2.0);
}

TEST(SumBars, LastReadingOfADayWinsAtMidday)
{
    TFieldSeries bars(TDrawingKind::SumBars);
    const double day = 39156.0; // 15.03.2007
    EXPECT_EQ(bars.AddPoint(day + 8.0 / 24, 5.0), 0);
    EXPECT_EQ(bars.AddPoint(day + 0.5, 9.0), 0);
    EXPECT_EQ(bars.AddPoint(day + 1439.0 / 1440, 14.0), 0);
    ASSERT_EQ(bars.Points().Count(), 1);
    EXPECT_DOUBLE_EQ(bars.Points().X(0), day + 0.5);
    EXPECT_DOUBLE_EQ(bars.Points().Y(0), 14.0);
    EXPECT_EQ(bars.LastDay(), 39156);
    EXPECT_EQ(bars.LastIndex(), 0);

    EXPECT_EQ(bars.AddPoint(day + 1.25, 3.0), 1);
    EXPECT_EQ(bars.LastDay(), 39157);
    EXPECT_EQ(bars.LastIndex(), 1);
}

TEST(SumBars, NullPointsOnlyWhenAccepted)
{
    TFieldSeries bars(TDrawingKind::SumBars);
    bars.AddPoint(100.2, 7.0);
    EXPECT_EQ(bars.AddNullPoint(100.9), -1);
    ASSERT_EQ(bars.Points().Count(), 1);
    EXPECT_DOUBLE_EQ(bars.Points().Y(0), 7.0);

    bars.SetAcceptNulls(true);
    EXPECT_EQ(bars.AddNullPoint(101.5), 1);
    EXPECT_TRUE(bars.Points().IsNull(1));

    // Plain series always take null points.
    TFieldSeries line(TDrawingKind::OffsetLine, true);
    EXPECT_EQ(line.AddNullPoint(3.0), 0);
}

TEST(SumBars, ReadingsForEarlierDaysFindTheirBarAndKeepTheLastDay)
{
    TFieldSeries bars(TDrawingKind::SumBars);
    bars.AddPoint(102.3, 30.0); // day 102, LastIndex 0
    // An earlier day without a bar: inserted in front, LastIndex follows the last day.
    EXPECT_EQ(bars.AddPoint(100.9, 10.0), 0);
    EXPECT_EQ(bars.LastIndex(), 1);
    EXPECT_EQ(bars.AddPoint(101.1, 20.0), 1);
    EXPECT_EQ(bars.LastIndex(), 2);
    // The last day still updates its own bar, not the inserted ones.
    bars.AddPoint(102.9, 33.0);
    // An earlier day's bar that is not just before the last one is still found.
    EXPECT_EQ(bars.AddPoint(100.1, 11.0), 0);
    ASSERT_EQ(bars.Points().Count(), 3);
    EXPECT_DOUBLE_EQ(bars.Points().Y(0), 11.0);
    EXPECT_DOUBLE_EQ(bars.Points().Y(1), 20.0);
    EXPECT_DOUBLE_EQ(bars.Points().Y(2), 33.0);
    EXPECT_DOUBLE_EQ(bars.Points().X(2), 102.5);

    // Clearing starts over: no stale index into the emptied points.
    bars.Clear();
    EXPECT_EQ(bars.LastDay(), -1);
    EXPECT_EQ(bars.AddPoint(101.0, 1.0), 0);
    EXPECT_EQ(bars.AddPoint(101.7, 2.0), 0);
    EXPECT_DOUBLE_EQ(bars.Points().Y(0), 2.0);
}

TEST(SeriesValueRange, OffsetsShiftTheScaledRange)
{
    TFieldSeries area(TDrawingKind::OffsetArea);
    area.Style().offset = -300;
    area.AddPoint(1.0, 0.0);
    area.AddPoint(2.0, 100.0);
    area.AddNullPoint(3.0);
    auto range = area.ValueRange();
    ASSERT_TRUE(range);
    EXPECT_DOUBLE_EQ(range->smallest, -300.0);
    EXPECT_DOUBLE_EQ(range->largest, -200.0);

    // An area at offset 0 keeps its base line in the range, a line does not.
    TFieldSeries warm(TDrawingKind::OffsetArea);
    warm.AddPoint(1.0, 25.0);
    warm.AddPoint(2.0, 40.0);
    range = warm.ValueRange();
    EXPECT_DOUBLE_EQ(range->smallest, 0.0);
    EXPECT_DOUBLE_EQ(range->largest, 40.0);
    warm.Style().kind = TDrawingKind::OffsetLine;
    warm.Style().offset = -150;
    range = warm.ValueRange();
    EXPECT_DOUBLE_EQ(range->smallest, -125.0);
    EXPECT_DOUBLE_EQ(range->largest, -110.0);

    // Null points take no part, an area below its base line reaches up to it.
    TFieldSeries cold(TDrawingKind::OffsetArea);
    cold.AddNullPoint(0.5);
    EXPECT_FALSE(cold.ValueRange());
    cold.AddPoint(1.0, -5.0);
    range = cold.ValueRange();
    EXPECT_DOUBLE_EQ(range->smallest, -5.0);
    EXPECT_DOUBLE_EQ(range->largest, 0.0);
}

TEST(SeriesValueRange, WindowTakesTheLinesCrossingItsEdges)
{
    TFieldSeries line(TDrawingKind::OffsetLine);
    line.Style().offset = 10;
    line.AddPoint(1.0, 5.0); // a flat run stored as its two ends …
    line.AddPoint(1.9, 5.0);
    line.AddPoint(2.0, 80.0);
    line.AddPoint(3.0, -20.0);
    // … still counts in an hour in the middle of it, without the far points.
    auto range = line.ValueRangeBetween(1.4, 1.45);
    ASSERT_TRUE(range);
    EXPECT_DOUBLE_EQ(range->smallest, 15.0);
    EXPECT_DOUBLE_EQ(range->largest, 15.0);
    range = line.ValueRangeBetween(1.95, 2.5);
    EXPECT_DOUBLE_EQ(range->smallest, -10.0);
    EXPECT_DOUBLE_EQ(range->largest, 90.0);
    EXPECT_FALSE(TFieldSeries(TDrawingKind::Line).ValueRangeBetween(0.0, 1.0));
    // A window beyond either end crosses no line.
    EXPECT_FALSE(line.ValueRangeBetween(3.5, 4.0));
    EXPECT_FALSE(line.ValueRangeBetween(0.0, 0.5));

    // Bars only count where they stand, and keep their origin.
    TFieldSeries bars(TDrawingKind::SumBars);
    bars.AddPoint(1.2, 30.0);
    bars.AddPoint(2.2, 50.0);
    bars.AddPoint(3.2, 70.0);
    range = bars.ValueRangeBetween(2.0, 3.0);
    ASSERT_TRUE(range);
    EXPECT_DOUBLE_EQ(range->smallest, 0.0);
    EXPECT_DOUBLE_EQ(range->largest, 50.0);
    EXPECT_FALSE(bars.ValueRangeBetween(4.0, 5.0));
}

TEST(PointSeries, LongSeriesKeepEveryPointThroughGrowth)
{
    // Well beyond the size at which blocks become mappings of their own.
    constexpr int n = 400000;
    TPointSeries s;
    for (int i = 0; i < n; ++i)
        s.AddPoint(i, i * 0.5);
    s.AddNullPoint(n / 2 + 0.25);
    ASSERT_EQ(s.Count(), n + 1);
    EXPECT_DOUBLE_EQ(s.Y(0), 0.0);
    EXPECT_DOUBLE_EQ(s.Y(n / 2), n / 4.0);
    EXPECT_TRUE(s.IsNull(n / 2 + 1));
    EXPECT_DOUBLE_EQ(s.X(n / 2 + 2), n / 2 + 1);
    EXPECT_DOUBLE_EQ(s.Y(n), (n - 1) * 0.5);
    EXPECT_EQ(s.Locate(n - 1), n);
    EXPECT_EQ(s.Locate(12345.0), 12345);
    for (int i = 1; i < s.Count(); ++i)
        ASSERT_LE(s.X(i - 1), s.X(i)) << i;
    s.Clear();
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.AddPoint(3.0, 1.0), 0);
}

TEST(PointSeries, EveryTimeReadsBackExactlyWhetherStampedInSecondsOrNot)
{
    const double day = EncodeDate(2024, 3, 1);
    double stamped = 0;
    ASSERT_TRUE(TryEncodeTime(13, 37, 5, 0, stamped));
    double withMilliseconds = 0;
    ASSERT_TRUE(TryEncodeTime(13, 37, 5, 250, withMilliseconds));
    // What a log gives: stamps, a stamp's time plus an interval, and day bars at midday.
    const std::vector<double> times{day + stamped, day + stamped + OneMinute, day + 0.5,
        day + withMilliseconds, day + 1.0 / 3.0, day + 2 + 0.1 + 0.2, day + 30000, day + 40000};
    TPointSeries s;
    for (size_t i = 0; i < times.size(); ++i)
        s.AddPoint(times[i], static_cast<double>(i));
    s.AddPoint(day - 1, -1.0); // before the first day
    s.AddNullPoint(std::nextafter(day + 0.5, 0.0));

    std::vector<double> expected = times;
    expected.push_back(day - 1);
    expected.push_back(std::nextafter(day + 0.5, 0.0));
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(s.Count(), static_cast<int>(expected.size()));
    for (int i = 0; i < s.Count(); ++i)
        EXPECT_EQ(std::bit_cast<std::uint64_t>(s.X(i)), std::bit_cast<std::uint64_t>(expected[i]))
            << i;
    EXPECT_EQ(s.Y(0), -1.0);
    EXPECT_TRUE(s.IsNull(2)) << "just before midday";
    EXPECT_FALSE(s.IsNull(3));
    EXPECT_EQ(s.Locate(day + 0.5), 3);
    EXPECT_EQ(s.Locate(day + 1.0 / 3.0), 1);
}

TEST(PointSeries, ARunStretchesOnlyOverTwoEqualPointsWithoutABreak)
{
    const double day = EncodeDate(2024, 3, 1);
    TPointSeries s;
    s.AddPoint(day, 5.0);
    EXPECT_FALSE(s.StretchRun(TPointTime(day + OneMinute), 5.0)) << "one point is no run";
    s.AddPoint(day + OneMinute, 5.0);
    EXPECT_FALSE(s.StretchRun(TPointTime(day + 2 * OneMinute), 6.0)) << "another value";
    EXPECT_FALSE(s.StretchRun(TPointTime(day), 5.0)) << "back in time";
    EXPECT_TRUE(s.StretchRun(TPointTime(day + 2 * OneMinute), 5.0));
    EXPECT_TRUE(s.StretchRun(TPointTime(day + 2 * OneMinute + 0.1), 5.0))
        << "a time kept elsewhere";
    ASSERT_EQ(s.Count(), 2);
    EXPECT_EQ(s.X(0), day);
    EXPECT_EQ(s.X(1), day + 2 * OneMinute + 0.1);
    EXPECT_TRUE(s.StretchRun(TPointTime(day + 3), 5.0)) << "back from elsewhere to seconds";
    EXPECT_EQ(s.X(1), day + 3);

    s.AddNullPoint(day + 3);
    s.AddPoint(day + 4, 5.0);
    EXPECT_FALSE(s.StretchRun(TPointTime(day + 5), 5.0)) << "across a break";
    s.SetNull(2, false);
    s.SetY(2, 5.0);
    EXPECT_TRUE(s.StretchRun(TPointTime(day + 5), 5.0));
    EXPECT_EQ(s.X(3), day + 5);
    EXPECT_EQ(s.Count(), 4);
}

TEST(PointSeries, TimesKeptElsewhereMoveWithTheirPointsThroughMergesAndInserts)
{
    const double day = EncodeDate(2024, 3, 1);
    const double odd = 0.1 + 0.2; // no whole second
    TPointSeries s;
    for (int i = 0; i < 6; ++i)
        s.AddPoint(day + i + (i % 2 ? odd : 0.5), i);
    s.BeginMerge();
    s.AddPoint(day + 2 + odd, 20);
    s.AddNullPoint(day + 4 + odd / 3);
    s.EndMerge();
    s.AddPoint(day - 3 + odd, -3); // before the first day, inserted in front
    EXPECT_EQ(s.SetX(4, day + 2 + odd), 4) << "a stamped point moved onto an odd time, in place";

    const std::vector<double> expected{day - 3 + odd, day + 0.5, day + 1 + odd, day + 2 + odd,
        day + 2 + odd, day + 3 + odd, day + 4 + odd / 3, day + 4.5, day + 5 + odd};
    ASSERT_EQ(s.Count(), static_cast<int>(expected.size()));
    for (int i = 0; i < s.Count(); ++i)
        EXPECT_EQ(std::bit_cast<std::uint64_t>(s.X(i)), std::bit_cast<std::uint64_t>(expected[i]))
            << i;
    EXPECT_EQ(s.Y(3), 20.0) << "merged between two points";
    EXPECT_EQ(s.Y(4), 2.0);
    EXPECT_TRUE(s.IsNull(6));
    EXPECT_EQ(s.Locate(day + 4 + odd / 3), 6);
    s.Clear();
    EXPECT_EQ(s.AddPoint(day + odd, 1.0), 0);
    EXPECT_EQ(s.X(0), day + odd);
}

namespace {

// The extremes of a stretch by walking every point.
TStretchExtremes WalkedExtremes(const TPointSeries& s, int first, int end)
{
    TStretchExtremes e;
    for (int i = first; i < end; ++i) {
        if (s.IsNull(i)) {
            e.hasNull = true;
        } else {
            if (e.smallest < 0 || s.Y(i) < s.Y(e.smallest))
                e.smallest = i;
            if (e.largest < 0 || s.Y(i) > s.Y(e.largest))
                e.largest = i;
        }
    }
    return e;
}

void ExpectExtremesOfEveryKindOfStretch(const TPointSeries& s, const char* after)
{
    std::uint32_t random = 7;
    for (int k = 0; k < 400; ++k) {
        random = random * 1103515245u + 12345u;
        const int a = static_cast<int>((random >> 8) % static_cast<std::uint32_t>(s.Count() + 1));
        random = random * 1103515245u + 12345u;
        const int b = static_cast<int>((random >> 8) % static_cast<std::uint32_t>(s.Count() + 1));
        const int first = std::min(a, b);
        const int end = std::max(a, b);
        const TStretchExtremes got = s.Extremes(first, end);
        const TStretchExtremes walked = WalkedExtremes(s, first, end);
        SCOPED_TRACE(testing::Message() << after << ": " << first << " … " << end);
        EXPECT_EQ(got.hasNull, walked.hasNull);
        ASSERT_EQ(got.smallest < 0, walked.smallest < 0);
        if (walked.smallest >= 0) {
            EXPECT_EQ(s.Y(got.smallest), s.Y(walked.smallest));
            EXPECT_EQ(s.Y(got.largest), s.Y(walked.largest));
            EXPECT_FALSE(s.IsNull(got.smallest) || s.IsNull(got.largest));
        }
    }
}

} // namespace

TEST(PointSeries, ExtremesOfStretchesFollowEveryChangeOfPoints)
{
    TPointSeries s;
    std::uint32_t random = 99;
    const auto next = [&] {
        random = random * 1103515245u + 12345u;
        return static_cast<int>((random >> 16) % 1000);
    };
    for (int i = 0; i < 5000; ++i) {
        if (next() < 5)
            s.AddNullPoint(i);
        else
            s.AddPoint(i, next());
    }
    ExpectExtremesOfEveryKindOfStretch(s, "built");
    for (int i = 5000; i < 5300; ++i)
        s.AddPoint(i, 2000 + i); // appended: the new largest values
    ExpectExtremesOfEveryKindOfStretch(s, "appended");
    s.AddPoint(10.5, -5); // inserted in front: every later point moves
    s.SetY(3000, 5000);
    s.SetNull(4000, true);
    s.SetX(20, 4321.5);
    ExpectExtremesOfEveryKindOfStretch(s, "changed");
    s.BeginMerge();
    for (int i = 0; i < 100; ++i)
        s.AddPoint(100.25 + i, -100 - i);
    s.EndMerge();
    ExpectExtremesOfEveryKindOfStretch(s, "merged");
    s.Clear();
    for (int i = 0; i < 40; ++i)
        s.AddPoint(i, 40 - i);
    ExpectExtremesOfEveryKindOfStretch(s, "cleared and refilled");
}
