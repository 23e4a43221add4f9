#include "core/loading/AnalysisFixture.h"

#include "core/base/Numbers.h"
#include "core/loading/LoadLogFiles.h"
#include "core/loading/TableContent.h"
#include "core/settings/DeviceSettings.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;

Texts Column(const TTableContent& table, int c)
{
    Texts texts;
    for (int r = 0; r < table.RowCount(); ++r)
        texts.push_back(table.Text(c, r));
    return texts;
}

Texts Row(const TTableContent& table, int r)
{
    Texts texts;
    for (int c = 0; c < table.ColumnCount(); ++c)
        texts.push_back(table.Text(c, r));
    return texts;
}

std::string Day(int year, int month, int day)
{
    return FormatDateTime("dd. mmm. yyyy", EncodeDate(year, month, day));
}

std::string Month(int year, int month)
{
    return FormatDateTime("mmm. yyyy", EncodeDate(year, month, 1));
}

} // namespace

class TableContentTest : public AnalysisFixture {
protected:
    void Load(TDateTime from, TDateTime to)
    {
        const TLoadResult result = LoadLogFiles(set, FindLogFiles(TempPath("logs")), from, to);
        ASSERT_TRUE(result.failures.empty());
        set.SetCurrentAnalysis(set.Analysis(0));
    }
    // Two devices: "01" with a power value, "03" with a power and a flow value.
    void WriteTwoDevices()
    {
        WriteEnergyDay("01", 2007, 3, 1, "5,0");
        WriteEnergyDay("01", 2007, 3, 2, "6,5");
        WriteEnergyDay("01", 2007, 4, 1, "1,0");
        for (int day : {2, 3})
            WriteLog(DayFileName("03", 2007, 3, day),
                {"DATE & TIME;P[kW];Qtag[kWh];V[l/min];T9[°C]",
                    "2007-03-0" + std::to_string(day) + " 00:00;1,0;0,0;1,0;20,0",
                    "2007-03-0" + std::to_string(day) + " 12:00;1,0;1,25;2,0;20,0"});
        Load(EncodeDate(2007, 3, 1), EncodeDate(2007, 4, 30));
    }
    TTableContent Build(bool overviewTab, int spanTime, TDateTime windowStart)
    {
        TTableSource source;
        source.daily = set.DailyOverview();
        source.monthly = set.MonthlyOverview();
        source.analyses = &set.Analyses();
        source.currentAnalysis = set.CurrentAnalysis();
        source.overviewTab = overviewTab;
        source.spanTime = spanTime;
        source.windowStart = windowStart;
        return BuildTableContent(source);
    }
    std::string Name(int device)
    {
        return set.Analysis(device)->DeviceSettings()->GetDisplayName();
    }

    TAnalysisSet set;
};

TEST_F(TableContentTest, AMonthOfADeviceTabShowsItsDaysItsColumnsAndTheirTotals)
{
    WriteTwoDevices();
    const TTableContent table = Build(false, 3, EncodeDate(2007, 3, 2) + 0.5);
    ASSERT_EQ(table.ColumnCount(), 2);
    EXPECT_EQ(Column(table, 0),
        (Texts{
            "Daily overview", "Date", Day(2007, 3, 1), Day(2007, 3, 2), Day(2007, 3, 3), "Total"}));
    EXPECT_EQ(table.cells.Tag(0, 2), DayNumber(EncodeDate(2007, 3, 1)));
    // Day 3 has no file of device "01": its placeholder counts 0.
    EXPECT_EQ(Column(table, 1), (Texts{Name(0), "Q [kWh]", "5,00", "6,50", "0,00", "11,50"}));
    EXPECT_EQ(table.fixedRows, 2);
    EXPECT_EQ(table.fixedColumns, 1);

    set.SetCurrentAnalysis(set.Analysis(1));
    const TTableContent second = Build(false, 3, EncodeDate(2007, 3, 2) + 0.5);
    EXPECT_EQ(Row(second, 0), (Texts{"Daily overview", Name(1), ""}));
    EXPECT_EQ(Row(second, 1), (Texts{"Date", "Q [kWh]", "V [l]"}));
    EXPECT_EQ(Row(second, 5), (Texts{"Total", "2,50", second.Text(2, 5)}));
    EXPECT_EQ(Column(second, 1)[3], "1,25");
}

TEST_F(TableContentTest, TheOverviewTabShowsEveryColumnWithEachDeviceNamedOnceOverItsGroup)
{
    WriteTwoDevices();
    const TTableContent table = Build(true, 4, EncodeDate(2007, 3, 1));
    EXPECT_EQ(Row(table, 0), (Texts{"Daily overview", Name(0), Name(1), ""}));
    EXPECT_EQ(Row(table, 1), (Texts{"Date", "Q [kWh]", "Q [kWh]", "V [l]"}));
    ASSERT_EQ(table.RowCount(), 6);
    // Every total is the sum of the cells above it.
    for (int c = 1; c < table.ColumnCount(); ++c) {
        double sum = 0;
        for (int r = 2; r < table.RowCount() - 1; ++r) {
            double amount = 0;
            ASSERT_TRUE(TryParseDecimalComma(table.Text(c, r), amount)) << table.Text(c, r);
            sum += amount;
        }
        EXPECT_EQ(table.Text(c, table.RowCount() - 1), FormatAmount(sum)) << c;
    }
}

TEST_F(TableContentTest, AMonthWithoutDataShowsTheHeaderRowsAndZeroTotals)
{
    WriteTwoDevices();
    // The window may start anywhere; February 2007 has no day.
    const TTableContent table = Build(true, 3, EncodeDate(2007, 2, 10));
    ASSERT_EQ(table.RowCount(), 3);
    EXPECT_EQ(Row(table, 2), (Texts{"Total", "0,00", "0,00", "0,00"}));
    EXPECT_EQ(table.fixedRows, 2);
    const TTableContent later = Build(true, 3, EncodeDate(2007, 6, 1));
    EXPECT_EQ(later.RowCount(), 3);
}

TEST_F(TableContentTest, AQuarterFromNovemberRunsIntoJanuaryOfTheNextYear)
{
    for (auto [year, month, day] :
        {std::tuple{2023, 10, 31}, {2023, 11, 15}, {2023, 12, 31}, {2024, 1, 31}, {2024, 2, 1}})
        WriteEnergyDay("01", year, month, day, "1,5");
    Load(EncodeDate(2023, 10, 1), EncodeDate(2024, 2, 29));
    int first = 0;
    int end = 0;
    TableWindowBounds(EncodeDate(2023, 11, 20) + 0.25, SpanTimeQuarter, first, end);
    EXPECT_EQ(first, DayNumber(EncodeDate(2023, 11, 1)));
    EXPECT_EQ(end, DayNumber(EncodeDate(2024, 2, 1)));
    TableWindowBounds(EncodeDate(2023, 12, 20), 4, first, end);
    EXPECT_EQ(end, DayNumber(EncodeDate(2024, 1, 1)));

    const TTableContent table = Build(false, SpanTimeQuarter, EncodeDate(2023, 11, 20));
    EXPECT_EQ(Column(table, 0),
        (Texts{"Daily overview", "Date", Day(2023, 11, 15), Day(2023, 12, 31), Day(2024, 1, 31),
            "Total"}));
    EXPECT_EQ(Column(table, 1).back(), "4,50");
}

TEST_F(TableContentTest, TheYearWindowShowsEveryMonthOfTheAnalysis)
{
    WriteTwoDevices();
    const TTableContent table = Build(false, SpanTimeYear, EncodeDate(2007, 3, 1));
    EXPECT_EQ(Column(table, 0),
        (Texts{"Monthly overview", "Date", Month(2007, 3), Month(2007, 4), "Total"}));
    EXPECT_EQ(Column(table, 1), (Texts{Name(0), "Q [kWh]", "11,50", "1,00", "12,50"}));
    EXPECT_EQ(Build(true, SpanTimeYear, 0).ColumnCount(), 4);
}

TEST_F(TableContentTest, OnlyACapitalPBecomesQAndRatesBecomeAmounts)
{
    WriteEnergyDay("01", 2007, 3, 1, "5,0");
    WriteLog(DayFileName("03", 2007, 3, 1),
        {"DATE & TIME;P[MBtu/h];Qtag[MBtu];V[gal/min];Vtag[gal]",
            "2007-03-01 00:00;1,0;0,0;1,0;0,0", "2007-03-01 12:00;1,0;1,0;2,0;3,0"});
    Load(EncodeDate(2007, 3, 1), EncodeDate(2007, 3, 1));
    TDeviceSettings& settings = *set.Analysis(0)->DeviceSettings();
    int power = -1;
    ASSERT_TRUE(settings.IndexOfValue("P", power));
    settings.SetLabel(power, "power");
    EXPECT_EQ(Build(false, 3, EncodeDate(2007, 3, 1)).Text(1, 1), "power [kWh]");
    settings.SetLabel(power, "Psolar");
    EXPECT_EQ(Build(false, 3, EncodeDate(2007, 3, 1)).Text(1, 1), "Qsolar [kWh]");
    set.SetCurrentAnalysis(set.Analysis(1));
    const TTableContent other = Build(false, 3, EncodeDate(2007, 3, 1));
    EXPECT_EQ(Row(other, 1), (Texts{"Date", "Q [MBtu]", "V [gal]"}));
}

TEST_F(TableContentTest, AColumnThatCannotBeReadLeavesTheOthersFilled)
{
    WriteTwoDevices();
    TOverviewTable daily = *set.DailyOverview();
    daily.SetText(2, 1, "99"); // no such value
    daily.SetText(3, 2, "n/a");
    TTableSource source;
    source.daily = &daily;
    source.analyses = &set.Analyses();
    source.currentAnalysis = set.CurrentAnalysis();
    source.overviewTab = true;
    source.spanTime = 3;
    source.windowStart = EncodeDate(2007, 3, 1);
    const TTableContent table = BuildTableContent(source);
    EXPECT_EQ(Row(table, 0), (Texts{"Daily overview", Name(0), Name(1), ""}));
    EXPECT_EQ(Row(table, 1), (Texts{"Date", "Q [kWh]", "99", "V [l]"}));
    EXPECT_EQ(Row(table, 5), (Texts{"Total", "11,50", "", ""}));
}

TEST_F(TableContentTest, TinyTablesHaveFewerFixedRowsAndColumns)
{
    TTableContent table;
    table.cells = TOverviewTable(1, 3);
    SetFixedCounts(table);
    EXPECT_EQ(table.fixedColumns, 0);
    EXPECT_EQ(table.fixedRows, 2);
    table.cells = TOverviewTable(2, 2);
    SetFixedCounts(table);
    EXPECT_EQ(table.fixedColumns, 1);
    EXPECT_EQ(table.fixedRows, 1);
    // Without overview tables the table is one empty cell.
    const TTableContent none = BuildTableContent(TTableSource{});
    EXPECT_EQ(none.ColumnCount(), 1);
    EXPECT_EQ(none.RowCount(), 1);
    EXPECT_EQ(none.fixedRows, 0);
}
