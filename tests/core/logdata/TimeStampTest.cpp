#include "core/logdata/TimeStamp.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

double Stamp(std::string_view text, TDateOrder order)
{
    TDateTime t = -1;
    return TryParseLogTimeStamp(text, order, t) ? t : -1;
}

void ExpectSamePointTime(const TPointTime& known, const TPointTime& worked, std::string_view text)
{
    EXPECT_EQ(std::bit_cast<std::uint64_t>(known.x), std::bit_cast<std::uint64_t>(worked.x))
        << text;
    EXPECT_EQ(known.whole, worked.whole) << text;
    EXPECT_EQ(known.second, worked.second) << text;
}

} // namespace

TEST(TimeStamp, BothOrdersWithTheirSeparators)
{
    const double expected = EncodeDate(2007, 3, 15) + (12 * 60 + 30) * OneMinute;
    EXPECT_DOUBLE_EQ(Stamp("15.03.2007 12:30", TDateOrder::DayMonthYear), expected);
    EXPECT_DOUBLE_EQ(Stamp("2007-03-15 12:30", TDateOrder::YearMonthDay), expected);
    // The other order is refused.
    EXPECT_EQ(Stamp("2007-03-15 12:30", TDateOrder::DayMonthYear), -1);
    EXPECT_EQ(Stamp("15.03.2007 12:30", TDateOrder::YearMonthDay), -1);
    EXPECT_EQ(Stamp("15-03-2007 12:30", TDateOrder::DayMonthYear), -1);
    EXPECT_EQ(Stamp("2007.03.15 12:30", TDateOrder::YearMonthDay), -1);
}

TEST(TimeStamp, ShortFormsSecondsAndBlanks)
{
    const double day = EncodeDate(2007, 3, 5);
    EXPECT_DOUBLE_EQ(Stamp("5.3.2007 9:05", TDateOrder::DayMonthYear), day + 545 * OneMinute);
    EXPECT_DOUBLE_EQ(Stamp("05.03.07 09:05", TDateOrder::DayMonthYear), day + 545 * OneMinute);
    EXPECT_DOUBLE_EQ(Stamp("07-3-5 09:05", TDateOrder::YearMonthDay), day + 545 * OneMinute);
    EXPECT_DOUBLE_EQ(
        Stamp(" 05.03.2007 09:05:30 ", TDateOrder::DayMonthYear), day + 545.5 * OneMinute);
    EXPECT_DOUBLE_EQ(Stamp("05.03.2007", TDateOrder::DayMonthYear), day);
    EXPECT_DOUBLE_EQ(
        Stamp("05.03.2007 23:59:59.500", TDateOrder::DayMonthYear), day + (86399.5 / 86400.0));
}

TEST(TimeStamp, RefusesWhatIsNoTimeStamp)
{
    for (const char* text :
        {"", " ", "Err", "31.02.2007 10:00", "15.13.2007 10:00", "15.03.2007 24:00",
            "15.03.2007 12:60", "15.03.2007 12", "15.03.2007 12:30x", "15.03.2007x12:30",
            "15.03.207 12:30", "15.03.20071 12:30", "15.03.2007 12:30;1", "15.03.2007\t12:30"})
        EXPECT_EQ(Stamp(text, TDateOrder::DayMonthYear), -1) << text;
    TDateTime t = 0;
    EXPECT_FALSE(TryParseLogDate("15.03.2007 1", TDateOrder::DayMonthYear, t));
    EXPECT_TRUE(TryParseLogDate("15.03.2007  ", TDateOrder::DayMonthYear, t));
    EXPECT_DOUBLE_EQ(t, EncodeDate(2007, 3, 15));
}

TEST(TimeStamp, ReadingStampsInARowGivesWhatEachGivesAlone)
{
    // Dates that share their first bytes with the one before, blanks, other orders,
    // dates without a time and texts that are no stamp, in one row.
    const std::pair<std::string_view, TDateOrder> row[] = {
        {"2024-03-15 12:30", TDateOrder::YearMonthDay},
        {"2024-03-15 12:31:05", TDateOrder::YearMonthDay},
        {"2024-03-15 12:60", TDateOrder::YearMonthDay},
        {"2024-03-15 1a:30", TDateOrder::YearMonthDay},
        {"2024-03-15 12-30", TDateOrder::YearMonthDay},
        {"2024-03-15 12:30 ", TDateOrder::YearMonthDay},
        {"2024-03-15 12:30:7x", TDateOrder::YearMonthDay},
        {"2024-03-15 12:30-07", TDateOrder::YearMonthDay},
        {"2024-03-15 23:59:60", TDateOrder::YearMonthDay},
        {"2024-03-15 23:59:59", TDateOrder::YearMonthDay},
        {"2024-03-15 12:31:05.250", TDateOrder::YearMonthDay},
        {"2024-03-15  7:02 ", TDateOrder::YearMonthDay},
        {"2024-03-15 ", TDateOrder::YearMonthDay},
        {"2024-03-15 x", TDateOrder::YearMonthDay},
        {"2024-03-15 12:30", TDateOrder::DayMonthYear},
        {"2024-03-1 12:30", TDateOrder::YearMonthDay},
        {"2024-03-15", TDateOrder::YearMonthDay},
        {"2024-03-150 12:30", TDateOrder::YearMonthDay},
        {"2024-03-15 25:00", TDateOrder::YearMonthDay},
        {" 15.03.24 12:30", TDateOrder::DayMonthYear},
        {" 15.03.24 12:45", TDateOrder::DayMonthYear},
        {" 15.03.245 12:45", TDateOrder::DayMonthYear},
        {"15.03.24 12:45", TDateOrder::DayMonthYear},
        {"15.03.2024 23:59:59.999", TDateOrder::DayMonthYear},
        {"16.03.2024 00:00", TDateOrder::DayMonthYear},
    };
    TTimeStampReader reader;
    for (const auto& [text, order] : row) {
        TDateTime inRow = -1;
        const bool read = reader.Parse(text, order, inRow);
        EXPECT_EQ(read ? inRow : -1, Stamp(text, order)) << text;
        if (const auto plain = reader.PlainPointTime(inRow); read && plain)
            ExpectSamePointTime(*plain, TPointTime(inRow), text);
    }
    // A date that differs from the one before in a single byte, wherever it lies. The reader
    // views the last stamp, so all of them are kept until the end.
    std::vector<std::pair<std::string, TDateOrder>> changed;
    for (const std::string base : {"15.03.2024 12:30", " 15.03.24 12:30", "2024-03-15 12:30"}) {
        const TDateOrder order
            = base[4] == '-' ? TDateOrder::YearMonthDay : TDateOrder::DayMonthYear;
        for (size_t at = 0; at < base.find(' ', 1); ++at) {
            std::string other = base;
            other[at] = other[at] == '1' ? '2' : '1';
            for (const std::string& text : {base, other, base})
                changed.emplace_back(text, order);
        }
    }
    for (const auto& [text, order] : changed) {
        TDateTime inRow = -1;
        const bool read = reader.Parse(text, order, inRow);
        EXPECT_EQ(read ? inRow : -1, Stamp(text, order)) << text;
    }
}

TEST(TimeStamp, PlainTimesOfDayKnowTheirPointTimes)
{
    // Every second and every minute of days from the first year to the last, both sides
    // of day 0: the point time known from day and second is the one worked out from the
    // stamp's double.
    for (const std::string_view date :
        {"0001-01-01", "1899-12-29", "1899-12-30", "2024-02-29", "9999-12-31"}) {
        // The reader keeps views into the stamps, so they live as long as it does.
        std::vector<std::string> stamps{std::string(date) + " 00:00"};
        for (int second = 0; second < 86400; ++second) {
            char clock[16];
            std::snprintf(clock, sizeof clock, second % 60 == 0 ? " %02d:%02d" : " %02d:%02d:%02d",
                second / 3600, second / 60 % 60, second % 60);
            stamps.push_back(std::string(date) + clock);
        }
        TTimeStampReader reader;
        int plainCount = 0;
        for (const std::string& stamp : stamps) {
            TDateTime t = 0;
            ASSERT_TRUE(reader.Parse(stamp, TDateOrder::YearMonthDay, t)) << stamp;
            ASSERT_EQ(t, Stamp(stamp, TDateOrder::YearMonthDay)) << stamp;
            if (const auto plain = reader.PlainPointTime(t)) {
                ++plainCount;
                ExpectSamePointTime(*plain, TPointTime(t), stamp);
            }
        }
        EXPECT_EQ(plainCount, 86400) << date;
    }
}
