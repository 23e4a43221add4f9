#include "core/loading/AnalysisFixture.h"

#include "core/loading/LoadLogFiles.h"

#include <gtest/gtest.h>

namespace {

// Column c of a table as texts, top to bottom.
std::vector<std::string> Column(const TOverviewTable& table, int c)
{
    std::vector<std::string> texts;
    for (int r = 0; r < table.RowCount(); ++r)
        texts.push_back(table.Text(c, r));
    return texts;
}

std::vector<int> Tags(const TOverviewTable& table, int row)
{
    std::vector<int> tags;
    for (int c = 0; c < table.ColumnCount(); ++c)
        tags.push_back(table.Tag(c, row));
    return tags;
}

using Texts = std::vector<std::string>;

} // namespace

class OverviewTest : public AnalysisFixture {
protected:
    // Loads every log file written so far, as the open dialog would.
    void Load(TDateTime from, TDateTime to)
    {
        const TLoadResult result = LoadLogFiles(set, FindLogFiles(TempPath("logs")), from, to);
        EXPECT_TRUE(result.failures.empty());
    }

    TAnalysisSet set;
};

TEST_F(OverviewTest, DailyTableHasAColumnPerPowerOrFlowWithDayTotalsGroupedByDevice)
{
    WriteEnergyDay("01", 2007, 3, 1, "5,0");
    WriteEnergyDay("01", 2007, 3, 2, "6,5");
    WriteTemperatureDay("02", 2007, 3, 1);
    WriteLog("03070302.csv",
        {"DATE & TIME;P[kW];Qtag[kWh];V'[l/min];T9[°C]", "2007-03-02 00:00;1,0;0,0;1,0;20,0",
            "2007-03-02 12:00;1,0;1,25;1,0;20,0"});
    Load(EncodeDate(2007, 3, 1), EncodeDate(2007, 3, 2));

    const TOverviewTable& daily = *set.DailyOverview();
    ASSERT_EQ(daily.ColumnCount(), 4);
    ASSERT_EQ(daily.RowCount(), 5);
    // Device 0: T1, P, Ptag; device 2: T9, P, Ptag, V. Temperatures and sums get no column.
    EXPECT_EQ(Column(daily, 0),
        (Texts{"Daily overview", "Date", std::to_string(DayNumber(EncodeDate(2007, 3, 1))),
            std::to_string(DayNumber(EncodeDate(2007, 3, 2))), "Total"}));
    EXPECT_EQ(daily.Tag(0, 3), DayNumber(EncodeDate(2007, 3, 2)));
    EXPECT_EQ(Column(daily, 1), (Texts{"0", "1", "5,00", "6,50", "11,50"}));
    EXPECT_EQ(Column(daily, 2), (Texts{"2", "1", "0,00", "1,25", "1,25"}));
    // The flow's day total is its integral: the first reading counts one minute.
    EXPECT_EQ(Column(daily, 3), (Texts{"", "3", "0,00", "721,00", "721,00"}));
    EXPECT_EQ(Tags(daily, 0), (std::vector<int>{0, 0, 2, 2}));
    EXPECT_EQ(Tags(daily, 1), (std::vector<int>{0, 1, 1, 3}));
}

TEST_F(OverviewTest, MonthRowsSumOnlyTheDaysThatExist)
{
    WriteEnergyDay("01", 2007, 3, 30, "1,0");
    WriteEnergyDay("01", 2007, 3, 31, "2,0");
    WriteEnergyDay("01", 2007, 4, 1, "3,0");
    WriteEnergyDay("01", 2007, 4, 2, "4,5");
    Load(EncodeDate(2007, 3, 30), EncodeDate(2007, 4, 2));

    const TOverviewTable& monthly = *set.MonthlyOverview();
    ASSERT_EQ(monthly.RowCount(), 5);
    EXPECT_EQ(Column(monthly, 0),
        (Texts{"Monthly overview", "Date", ShortMonthName(3) + ". 2007",
            ShortMonthName(4) + ". 2007", "Total"}));
    EXPECT_EQ(Column(monthly, 1), (Texts{"0", "1", "3,00", "7,50", "10,50"}));
    EXPECT_EQ(monthly.Tag(0, 2), DayNumber(EncodeDate(2007, 3, 1)));
    EXPECT_EQ(monthly.Tag(0, 3), DayNumber(EncodeDate(2007, 4, 1)));
    EXPECT_EQ(Tags(monthly, 1), Tags(*set.DailyOverview(), 1));

    // One year: one year row, then the empty last row.
    const TOverviewTable& annual = *set.AnnualOverview();
    EXPECT_EQ(Column(annual, 0), (Texts{"Annual overview", "Date", "2007", ""}));
    EXPECT_EQ(Column(annual, 1), (Texts{"0", "1", "10,50", ""}));
    EXPECT_EQ(annual.Tag(0, 2), 2007);
}

TEST_F(OverviewTest, YearsCountFromThePeriodStartSoAnEmptyFirstYearGetsAZeroRow)
{
    WriteEnergyDay("01", 2007, 1, 5, "2,0");
    WriteEnergyDay("01", 2007, 2, 3, "3,0");
    WriteEnergyDay("01", 2008, 1, 1, "4,0");
    Load(EncodeDate(2006, 12, 1), EncodeDate(2008, 1, 31));

    const TOverviewTable& annual = *set.AnnualOverview();
    EXPECT_EQ(Column(annual, 0), (Texts{"Annual overview", "Date", "2006", "2007", "2008", ""}));
    EXPECT_EQ(Column(annual, 1), (Texts{"0", "1", "0,00", "5,00", "4,00", ""}));
    EXPECT_EQ(annual.Tag(0, 2), 2006);

    set.RelabelOverviews();
    EXPECT_EQ(annual.Text(0, annual.RowCount() - 1), "Total");
}

TEST_F(OverviewTest, AYearCounterAboveTheSummedDaysRaisesTheYearTotal)
{
    WriteEnergyDay("01", 2007, 3, 1, "5,0", "100,0");
    WriteEnergyDay("01", 2007, 3, 2, "6,0", "120,0");
    WriteEnergyDay("02", 2007, 3, 1, "5,0", "1,0");
    WriteEnergyDay("02", 2007, 3, 2, "6,0", "2,0");
    Load(EncodeDate(2007, 3, 1), EncodeDate(2007, 3, 2));

    const TOverviewTable& annual = *set.AnnualOverview();
    EXPECT_EQ(Column(annual, 1), (Texts{"0", "1", "120,00", ""}));
    EXPECT_EQ(Column(annual, 2), (Texts{"1", "1", "11,00", ""}));
    // Month and day tables keep the summed days.
    EXPECT_EQ(set.MonthlyOverview()->Text(1, 2), "11,00");
}

TEST_F(OverviewTest, WithoutPowerOrFlowTheTablesHoldOnlyTheirLabels)
{
    WriteTemperatureDay("01", 2007, 3, 1);
    WriteTemperatureDay("01", 2007, 3, 2);
    Load(EncodeDate(2007, 3, 1), EncodeDate(2007, 3, 2));

    EXPECT_EQ(set.DailyOverview()->ColumnCount(), 1);
    EXPECT_EQ(Column(*set.DailyOverview(), 0).back(), "Total");
    EXPECT_EQ(set.MonthlyOverview()->ColumnCount(), 1);
    EXPECT_EQ(Column(*set.MonthlyOverview(), 0).front(), "Monthly overview");
    EXPECT_EQ(set.AnnualOverview()->ColumnCount(), 1);
    EXPECT_EQ(Column(*set.AnnualOverview(), 0), (Texts{"Annual overview", "Date", "2007", ""}));
}

TEST_F(OverviewTest, RelabellingPutsTitlesDateAndTotalIntoTheNewLanguage)
{
    WriteEnergyDay("01", 2007, 3, 1, "5,0");
    Load(EncodeDate(2007, 3, 1), EncodeDate(2007, 3, 1));
    SelectLanguage(1);
    set.RelabelOverviews();
    EXPECT_EQ(Column(*set.DailyOverview(), 0).front(), "Tagesübersicht");
    EXPECT_EQ(Column(*set.DailyOverview(), 0)[1], "Datum");
    EXPECT_EQ(Column(*set.DailyOverview(), 0).back(), "Summe");
    EXPECT_EQ(Column(*set.MonthlyOverview(), 0).front(), Text(TextId::TxtMonthlyOverview));
    EXPECT_EQ(Column(*set.AnnualOverview(), 0).back(), "Summe");
    EXPECT_EQ(Column(*set.DailyOverview(), 1)[2], "5,00"); // values stay

    // Missing tables are passed over.
    RelabelOverviewTables(nullptr, nullptr, nullptr);
    EXPECT_EQ(BuildMonthlyOverview(nullptr), nullptr);
}
