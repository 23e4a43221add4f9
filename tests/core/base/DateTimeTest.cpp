#include "core/base/DateTime.h"

#include <gtest/gtest.h>

namespace {

TEST(DateTimeTest, DaysCountFromTheThirtiethOfDecember1899)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2007, 3, 15), 39156.0);
    EXPECT_EQ(EncodeDate(2024, 2, 29), 45351.0);
    TDateTime t = -1;
    EXPECT_FALSE(TryEncodeDate(2023, 2, 29, t));
    EXPECT_FALSE(TryEncodeDate(2010, 13, 1, t));
    EXPECT_FALSE(TryEncodeDate(0, 1, 1, t));
    EXPECT_EQ(t, -1);
}

TEST(DateTimeTest, DecodingRoundsToTheMillisecond)
{
    const TDateTime t = EncodeDate(2007, 3, 15) + 12.0 / 24 + 30 * OneMinute;
    const CivilDate d = DecodeDate(t);
    EXPECT_EQ(d.year, 2007);
    EXPECT_EQ(d.month, 3);
    EXPECT_EQ(d.day, 15);
    const TimeOfDay time = DecodeTime(t);
    EXPECT_EQ(time.hour, 12);
    EXPECT_EQ(time.minute, 30);
    EXPECT_EQ(time.second, 0);
    // Summing minutes drifts below the whole minute; it still reads as 23:59.
    double drift = EncodeDate(2007, 3, 15);
    for (int i = 0; i < 1439; ++i)
        drift += OneMinute;
    EXPECT_EQ(DecodeTime(drift).minute, 59);
    EXPECT_EQ(DecodeDate(-0.5).day, 29);
    EXPECT_EQ(DayNumber(-0.5), -1);
}

TEST(DateTimeTest, FormatsThePatternsOfTheProgram)
{
    const TDateTime t = EncodeDate(2007, 5, 1) + 7.0 / 24 + 5 * OneMinute;
    EXPECT_EQ(FormatDateTime("dd.mm.yyyy", t), "01.05.2007");
    EXPECT_EQ(FormatDateTime("yyyymmdd", t), "20070501");
    EXPECT_EQ(FormatDateTime("yymmdd", t), "070501");
    EXPECT_EQ(FormatDateTime("hh:mm", t), "07:05");
    EXPECT_EQ(FormatDateTime("dd. mmmm yyyy", t), "01. " + LongMonthName(5) + " 2007");
    EXPECT_EQ(FormatDateTime("mmm. yyyy", t), ShortMonthName(5) + ". 2007");
    EXPECT_EQ(FormatDateTime(" dd. mmm hh:mm ", t), " 01. " + ShortMonthName(5) + " 07:05 ");
    EXPECT_EQ(FormatDateTime("'at' hh", t), "at 07");
    EXPECT_FALSE(ShortMonthName(1).empty());
    EXPECT_NE(ShortMonthName(1).back(), '.');
}

TEST(DateTimeTest, MonthSteps)
{
    EXPECT_EQ(FirstOfMonth(EncodeDate(2010, 5, 17) + 0.7), EncodeDate(2010, 5, 1));
    EXPECT_EQ(FirstOfNextMonth(EncodeDate(2010, 12, 31)), EncodeDate(2011, 1, 1));
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
}

} // namespace

TEST(DateTimeTest, TwoDigitYearsFallIntoAHundredYearWindow)
{
    EXPECT_EQ(ExpandTwoDigitYear(7, 2024), 2007);
    EXPECT_EQ(ExpandTwoDigitYear(73, 2024), 2073);
    EXPECT_EQ(ExpandTwoDigitYear(74, 2024), 1974);
    EXPECT_EQ(ExpandTwoDigitYear(0, 2050), 2000);
    EXPECT_EQ(ExpandTwoDigitYear(99, 2050), 2099);
    EXPECT_EQ(ExpandTwoDigitYear(99, 2049), 1999);
}
