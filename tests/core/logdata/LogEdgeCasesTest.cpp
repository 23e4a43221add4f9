// Inputs at the edges the fuzzers found: the end of the date range, records without
// cells, and headers of very many columns.

#include "LogFixture.h"

#include "core/base/DateTime.h"
#include "core/logdata/LogCells.h"

#include <gtest/gtest.h>

namespace {

class LogEdgeCasesTest : public LogFixture { };

} // namespace

TEST_F(LogEdgeCasesTest, TimesPastTheLastDayEndTheFileAsABadRecordDoes)
{
    // The third stamp is unreadable, so it would be placed twelve hours after the second:
    // in the year 10000.
    auto analysis = NewAnalysis();
    analysis->ReadLogFile(WriteLog("10991231.csv",
        {"DATE & TIME;P[kW];Ptag[kWh]", "9999-12-31 00:00;2;1", "9999-12-31 12:00;2;1",
            "no time;2;1", "9999-12-31 23:59;2;1"}));
    ASSERT_EQ(analysis->DayCount(), 1);
    const int p = FieldOf(*analysis, "P");
    ASSERT_GE(p, 0);
    // Ended as by a bad record: no closing null point, the records before stay.
    EXPECT_EQ(
        DescribePoints(*analysis->Series(p)), "31.12.9999 00:00=2,00\n31.12.9999 12:00=2,00\n");

    // The sums of the last day and month of the range are made like any other.
    analysis->BuildSums();
    analysis->MarkFieldsWithData();
    const int month = FieldOf(*analysis, "Pmonat");
    ASSERT_GE(month, 0);
    ASSERT_EQ(analysis->Series(month)->Points().Count(), 1);
    EXPECT_LT(analysis->Series(month)->Points().X(0), EndOfDateRange);
}

TEST_F(LogEdgeCasesTest, TheLastMonthOfTheRangeEndsAtTheEndOfTheRange)
{
    EXPECT_EQ(EncodeDate(9999, 12, 31) + 1, EndOfDateRange);
    EXPECT_EQ(FirstOfNextMonth(EncodeDate(9999, 12, 31) + 0.5), EndOfDateRange);
    EXPECT_EQ(FirstOfNextMonth(EncodeDate(9999, 11, 3)), EncodeDate(9999, 12, 1));
}

TEST_F(LogEdgeCasesTest, CellsOfAnEmptyRestAreEmpty)
{
    // A view of nothing, as a record with too few cells leaves it.
    std::string_view rest;
    EXPECT_TRUE(TakeCell(rest).empty());
    EXPECT_TRUE(rest.empty());

    rest = "1;;2";
    EXPECT_EQ(TakeCell(rest), "1");
    EXPECT_EQ(TakeCell(rest), "");
    EXPECT_EQ(TakeCell(rest), "2");
    EXPECT_TRUE(TakeCell(rest).empty());
}

TEST_F(LogEdgeCasesTest, WideHeadersOfMixedKindsFindEveryFieldAndDayTotal)
{
    // Inputs, outputs and day totals in turn: each new field goes into the middle of the
    // field list, and each day total is taken from the last record.
    std::string header = "dd.mm.yy hh:mm";
    std::string first = "15.03.2007 10:00";
    std::string last = "15.03.2007 10:01";
    constexpr int Triples = 300;
    for (int c = 0; c < Triples; ++c) {
        const std::string n = std::to_string(c);
        header += ";T" + n + "[°C];R" + n + "[%];Q" + n + "tag[kWh]";
        first += ";" + n + ";1;0";
        last += ";" + n + ";1;" + std::to_string(c + 1000);
    }
    auto analysis = NewAnalysis();
    analysis->ReadLogFile(WriteLog("10070315.csv", {header, first, last + ";"}));
    const TDeviceSettings& device = *analysis->DeviceSettings();
    ASSERT_EQ(device.ValueCount(), 3 * Triples);
    ASSERT_EQ(device.InputCount(), Triples);
    for (int c = 0; c < Triples; c += 37) {
        const std::string n = std::to_string(c);
        const int t = FieldOf(*analysis, "T" + n);
        ASSERT_EQ(device.GetValueName(t), "T" + n);
        EXPECT_EQ(t, c);
        EXPECT_EQ(analysis->Series(t)->Points().Y(0), c);
        const int r = FieldOf(*analysis, "R" + n);
        ASSERT_GE(r, 0);
        EXPECT_EQ(device.GetValueName(r), "R" + n);
        const int total = FieldOf(*analysis, "P" + n + "tag");
        ASSERT_GE(total, 0);
        EXPECT_EQ(device.GetValueName(total), "P" + n + "tag");
        ASSERT_EQ(analysis->Series(total)->Points().Count(), 1);
        EXPECT_EQ(analysis->Series(total)->Points().Y(0), c + 1000);
    }
    // A copy finds the same fields.
    const TDeviceSettings copy(device);
    int index = -1;
    ASSERT_TRUE(copy.IndexOfValue("R299", index));
    EXPECT_EQ(copy.GetValueName(index), "R299");
    EXPECT_FALSE(copy.IndexOfValue("R300", index));
    EXPECT_EQ(index, -1);
}

TEST_F(LogEdgeCasesTest, ACellRepeatedInItsColumnOrInAnotherKeepsThatColumnsValue)
{
    // The same text in a W column (read as kW) and a °C column, gaps, "Err", and the same
    // value written otherwise.
    auto analysis = NewAnalysis();
    analysis->ReadLogFile(WriteLog("10070301.csv",
        {"DATE & TIME;P[W];T1[°C]", "2007-03-01 00:00;1500;1500", "2007-03-01 00:01;1500;1500",
            "2007-03-01 00:02;;1500", "2007-03-01 00:03;1500;Err", "2007-03-01 00:04;1500,0;15",
            "2007-03-01 00:05;1500;1500"}));
    const TFieldSeries& power = *analysis->Series(FieldOf(*analysis, "P"));
    const TFieldSeries& temperature = *analysis->Series(FieldOf(*analysis, "T1"));
    EXPECT_EQ(DescribePoints(power),
        "01.03.2007 00:00=1,50\n01.03.2007 00:01=1,50\n01.03.2007 00:05=1,50\n"
        "01.03.2007 00:05=null\n");
    EXPECT_EQ(DescribePoints(temperature),
        "01.03.2007 00:00=1500,00\n01.03.2007 00:02=1500,00\n01.03.2007 00:04=15,00\n"
        "01.03.2007 00:05=1500,00\n01.03.2007 00:05=null\n");
    const double kilowatts = 1500 * static_cast<double>(0.001f);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(power.Points().Y(i), kilowatts) << i;
    EXPECT_EQ(temperature.Points().Y(3), 1500.0);
}
