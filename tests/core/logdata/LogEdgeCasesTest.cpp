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
