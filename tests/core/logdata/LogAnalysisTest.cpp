#include "LogFixture.h"

#include "core/base/KalvexError.h"
#include "core/logdata/DayList.h"
#include "core/logdata/OverviewTable.h"

#include <gtest/gtest.h>

namespace {

// Records what the analysis tells a chart.
class RecordingChart : public TChartTarget {
public:
    void AttachSeries(TFieldSeries& series) override
    {
        log.push_back("attach " + series.Style().title);
        if (std::find(onChart.begin(), onChart.end(), &series) == onChart.end())
            onChart.push_back(&series);
    }
    void DetachSeries(TFieldSeries& series) override
    {
        log.push_back("detach " + series.Style().title);
        std::erase(onChart, &series);
    }
    void SeriesRestyled(TFieldSeries& series) override
    {
        log.push_back("restyled " + series.Style().title);
    }
    int PlotWidth() const override { return 720; }

    std::vector<std::string> log;
    std::vector<TFieldSeries*> onChart;
};

class CountingPanel : public TValuePanel {
public:
    CountingPanel(int& refreshes, int& destroyed)
        : refreshes(refreshes)
        , destroyed(destroyed)
    {
    }
    ~CountingPanel() override { ++destroyed; }
    void RefreshRows() override { ++refreshes; }

private:
    int& refreshes;
    int& destroyed;
};

std::string Stamp(int day, int minute)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d.03.2007 %02d:%02d", day, minute / 60, minute % 60);
    return text;
}

class LogAnalysisTest : public LogFixture {
protected:
    // A solar controller with a temperature, power, flow and two outputs, one file per
    // day; power 6 kW and flow 2 l/min all day long.
    std::unique_ptr<TLogAnalysis> LoadDays(
        const std::vector<int>& days, TChartTarget* upper = nullptr, TChartTarget* lower = nullptr)
    {
        auto analysis = std::make_unique<TLogAnalysis>(
            EncodeDate(2007, 3, 1), EncodeDate(2007, 4, 1), upper, lower);
        for (const int day : days) {
            std::vector<std::string> lines = {"dd.mm.yy hh:mm;T1[°C];P[kW];V[l/min];R1[%];R2[%]"};
            for (int minute = 0; minute < 1440; ++minute)
                lines.push_back(Stamp(day, minute) + ";20;6;2;100;0");
            char name[32];
            std::snprintf(name, sizeof name, "100703%02d.csv", day);
            analysis->ReadLogFile(WriteLog(name, lines));
        }
        return analysis;
    }

    static std::unique_ptr<TLogAnalysis> Finished(std::unique_ptr<TLogAnalysis> analysis)
    {
        analysis->BuildSums();
        analysis->MarkFieldsWithData();
        analysis->ApplyDisplaySettings();
        return analysis;
    }
};

} // namespace

TEST_F(LogAnalysisTest, BuildSumsMakesDayAndMonthSumsWithLabelsAndUnits)
{
    auto analysis = LoadDays({14, 16});
    analysis->BuildSums();
    const TDeviceSettings& device = *analysis->DeviceSettings();
    const char* order[] = {"T1", "P", "V", "Ptag", "Vtag", "Pmonat", "Vmonat", "R1", "R2"};
    ASSERT_EQ(device.ValueCount(), 9);
    ASSERT_EQ(analysis->FieldRecordCount(), 9);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(device.GetValueName(i), order[i]) << i;

    EXPECT_EQ(analysis->UnitOf(3), "[kWh]");
    EXPECT_EQ(analysis->UnitOf(4), "[l]");
    EXPECT_EQ(analysis->UnitOf(5), "[kWh]");
    EXPECT_EQ(analysis->UnitOf(7), "[%]");
    EXPECT_EQ(device.GetLabel(3), "Sum of energy (Q)");
    EXPECT_EQ(device.GetLabel(4), "Sum of flow rate (V)");
    EXPECT_EQ(device.GetLabel(5), "Sum of energy (Q)");
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(device.IsSumValue(i), i >= 3 && i <= 6) << i;
    EXPECT_EQ(analysis->PairIndex(3), 5);
    EXPECT_EQ(analysis->PairIndex(5), 3);
    EXPECT_EQ(analysis->PairIndex(4), 6);

    // One bar per day; the missing day between gets a null point.
    EXPECT_EQ(DescribePoints(*analysis->Series(3)),
        "14.03.2007 12:00=144,00\n15.03.2007 12:00=null\n16.03.2007 12:00=144,00\n");
    EXPECT_EQ(DescribePoints(*analysis->Series(4)),
        "14.03.2007 12:00=2880,00\n15.03.2007 12:00=null\n16.03.2007 12:00=2880,00\n");
    EXPECT_TRUE(analysis->Series(3)->AcceptNulls());
    // The month sum stands in the middle of March.
    ASSERT_EQ(analysis->Series(5)->Points().Count(), 1);
    EXPECT_DOUBLE_EQ(analysis->Series(5)->Points().X(0), EncodeDate(2007, 3, 16) + 0.5);
    EXPECT_NEAR(analysis->Series(5)->Points().Y(0), 288.0, 1e-9);
}

TEST_F(LogAnalysisTest, LoggedDayTotalsAreKeptAndOnlyMissingDaysIntegrated)
{
    auto analysis = NewAnalysis();
    for (const int day : {15, 16}) {
        std::vector<std::string> lines = {"dd.mm.yy hh:mm;P[kW];Qtag[kWh]"};
        for (int minute = 0; minute < 1440; ++minute)
            lines.push_back(Stamp(day, minute) + ";6;" + (day == 15 ? "100,5" : "Err"));
        analysis->ReadLogFile(WriteLog("100703" + std::to_string(day) + ".csv", lines));
    }
    analysis->BuildSums();
    const int ptag = FieldOf(*analysis, "Ptag");
    ASSERT_GE(ptag, 0);
    EXPECT_EQ(DescribePoints(*analysis->Series(ptag)),
        "15.03.2007 12:00=100,50\n16.03.2007 12:00=144,00\n");
    EXPECT_EQ(analysis->DeviceSettings()->GetLabel(ptag), "Sum of energy (Q)");
    EXPECT_TRUE(analysis->DeviceSettings()->IsSumValue(ptag));
    EXPECT_EQ(FieldOf(*analysis, "Ptagtag"), -1);
    EXPECT_GE(FieldOf(*analysis, "Pmonat"), 0);
}

TEST_F(LogAnalysisTest, StoredLabelsOfSumsAreKept)
{
    WriteIni("[Labels:10]\nPtag[kWh]=Solar yield\nPmonat[kWh]=Yield per month\n");
    auto analysis = LoadDays({15});
    analysis->BuildSums();
    const TDeviceSettings& device = *analysis->DeviceSettings();
    EXPECT_EQ(device.GetLabel(FieldOf(*analysis, "Ptag")), "Solar yield");
    EXPECT_EQ(device.GetLabel(FieldOf(*analysis, "Pmonat")), "Yield per month");
    EXPECT_EQ(device.GetLabel(FieldOf(*analysis, "Vmonat")), "Sum of flow rate (V)");
}

TEST_F(LogAnalysisTest, SumsOfADeviceWithoutDaysKeepFieldsAligned)
{
    auto analysis = NewAnalysis();
    ExpectReadFailure(*analysis, WriteLog("10070315.csv", {"dd.mm.yy hh:mm;T1[°C];P[kW];R1[%]"}),
        "The file you specified does not contain measured values.");
    analysis->BuildSums();
    ASSERT_EQ(analysis->FieldRecordCount(), analysis->DeviceSettings()->ValueCount());
    const int r1 = FieldOf(*analysis, "R1");
    EXPECT_EQ(analysis->FieldRecord(r1)->kind, KindOutput);
    EXPECT_EQ(analysis->UnitOf(r1), "[%]");
    EXPECT_TRUE(analysis->Series(FieldOf(*analysis, "Ptag"))->Points().IsEmpty());
}

TEST_F(LogAnalysisTest, MarksFlagsAndDisplaySettings)
{
    auto analysis = Finished(LoadDays({15}));
    EXPECT_TRUE(analysis->HasData(0)); // T1
    EXPECT_FALSE(analysis->HasData(3)); // Ptag: a sum field
    EXPECT_FALSE(analysis->HasData(99));
    EXPECT_EQ(analysis->OverviewMark(2), 0);
    analysis->SetOverviewMark(2, 1);
    EXPECT_EQ(analysis->OverviewMark(2), 1);
    analysis->SetOverviewMark(99, 1);
    EXPECT_EQ(analysis->OverviewMark(99), 0);

    auto kind = [&](int field) { return analysis->Series(field)->Style().kind; };
    EXPECT_EQ(kind(0), TDrawingKind::Line);
    EXPECT_EQ(kind(1), TDrawingKind::OffsetArea);
    EXPECT_EQ(kind(3), TDrawingKind::SumBars);
    EXPECT_EQ(kind(7), TDrawingKind::OffsetLine);
    EXPECT_TRUE(analysis->Series(7)->Style().stairs);
    EXPECT_EQ(analysis->Series(7)->Style().offset, 0);
    EXPECT_EQ(analysis->Series(8)->Style().offset, -150);
    EXPECT_EQ(analysis->Series(0)->Style().penWidth, 2);
    EXPECT_EQ(analysis->Series(0)->Style().color, 255u);
    EXPECT_EQ(analysis->Series(3)->Style().title, "Sum of energy (Q)");

    TDeviceSettings& device = *analysis->DeviceSettings();
    device.SetOthersUseBars(false);
    device.SetOutputsUseBars(true);
    device.SetLineWidth(3);
    analysis->ApplyDisplaySettings();
    EXPECT_EQ(analysis->OverviewMark(2), 0); // reset
    EXPECT_EQ(kind(1), TDrawingKind::OffsetLine);
    EXPECT_EQ(kind(3), TDrawingKind::SumLine);
    EXPECT_EQ(kind(8), TDrawingKind::OffsetArea);
    EXPECT_FALSE(analysis->Series(8)->Style().stairs);
    EXPECT_EQ(analysis->Series(8)->Style().offset, -150);
    EXPECT_EQ(analysis->Series(1)->Style().penWidth, 3);
    // Restyling never touches the points.
    EXPECT_EQ(analysis->Series(3)->Points().Count(), 1);

    analysis->RestyleOutputField(8, -300);
    EXPECT_EQ(analysis->Series(8)->Style().offset, -300);
    analysis->RestyleOutputField(0, -300); // not an output
    EXPECT_EQ(analysis->Series(0)->Style().offset, 0);
}

TEST_F(LogAnalysisTest, ShowingAndHidingGoesThroughTheCharts)
{
    // The counters outlive the analysis: its destruction destroys the panel, which counts.
    int refreshes = 0, destroyed = 0;
    RecordingChart upper, lower;
    auto analysis = Finished(LoadDays({15}, &upper, &lower));
    analysis->SetValuePanel(std::make_unique<CountingPanel>(refreshes, destroyed));

    EXPECT_TRUE(analysis->ShowField(0));
    EXPECT_TRUE(analysis->ShowField(8));
    EXPECT_FALSE(analysis->ShowField(42));
    EXPECT_EQ(upper.log, (std::vector<std::string>{"attach T1", "restyled T1"}));
    EXPECT_EQ(lower.onChart, (std::vector<TFieldSeries*>{analysis->Series(8)}));
    // Shown as a single output it stands in the first lane.
    EXPECT_EQ(analysis->Series(8)->Style().offset, 0);
    EXPECT_TRUE(analysis->IsShown(8));
    EXPECT_EQ(refreshes, 2);

    std::vector<std::string> units;
    analysis->CollectFieldUnits(false, units, KindOutput);
    EXPECT_EQ(units, std::vector<std::string>{"[%]"});
    units.clear();
    analysis->CollectFieldUnits(true, units, KindOutput);
    EXPECT_TRUE(units.empty());

    analysis->HideField(8);
    EXPECT_TRUE(lower.onChart.empty());
    EXPECT_FALSE(analysis->IsShown(8));
    EXPECT_EQ(refreshes, 3);

    // The window empties its chart; the analysis puts back what is shown.
    upper.onChart.clear();
    analysis->RestoreShownSeries();
    EXPECT_EQ(upper.onChart, (std::vector<TFieldSeries*>{analysis->Series(0)}));
    upper.onChart.clear();
    analysis->RestoreOverviewSeries();
    EXPECT_TRUE(upper.onChart.empty());
    analysis->SetOverviewMark(0, 1);
    analysis->RestoreOverviewSeries();
    EXPECT_EQ(upper.onChart.size(), 1u);

    analysis->UpdateSeriesTitles(true);
    EXPECT_EQ(analysis->Series(0)->Style().title, "Solar controller: T1");
    analysis->SetOtherValuesAxis(TVerticalAxis::Right);
    EXPECT_EQ(analysis->Series(0)->Style().axis, TVerticalAxis::Left);
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(analysis->Series(i)->Style().axis, TVerticalAxis::Right) << i;
    EXPECT_EQ(analysis->Series(7)->Style().axis, TVerticalAxis::Left);

    // A new panel frees the old one; the analysis lets go of its shown series.
    analysis->SetValuePanel(nullptr);
    EXPECT_EQ(destroyed, 1);
    analysis.reset();
    EXPECT_TRUE(upper.onChart.empty());
}

TEST_F(LogAnalysisTest, MonthlyBarsExchangeTheSeriesOfDayAndMonthSums)
{
    RecordingChart upper, lower;
    auto analysis = Finished(LoadDays({15, 16}, &upper, &lower));
    TFieldSeries* days = analysis->Series(3);
    TFieldSeries* months = analysis->Series(5);
    analysis->ShowField(3);

    analysis->SetMonthlyBars(true);
    EXPECT_EQ(analysis->Series(3), months);
    EXPECT_EQ(analysis->Series(5), days);
    EXPECT_EQ(upper.onChart, std::vector<TFieldSeries*>{months});
    EXPECT_EQ(months->Style().barWidthMode, TBarWidthMode::Pixels);
    EXPECT_EQ(months->Style().barWidthPixels, 20);
    const auto log = upper.log;
    analysis->SetMonthlyBars(true); // same state: nothing happens
    EXPECT_EQ(upper.log, log);
    EXPECT_EQ(analysis->Series(3), months);

    analysis->SetMonthlyBars(false);
    EXPECT_EQ(analysis->Series(3), days);
    EXPECT_EQ(upper.onChart, std::vector<TFieldSeries*>{days});
    EXPECT_EQ(days->Style().barWidthMode, TBarWidthMode::Automatic75Percent);
}

TEST_F(LogAnalysisTest, SumFieldsComeBackWhenAvailableAgain)
{
    int refreshes = 0, destroyed = 0;
    auto analysis = Finished(LoadDays({15}));
    analysis->SetValuePanel(std::make_unique<CountingPanel>(refreshes, destroyed));
    analysis->ShowField(3); // Ptag
    analysis->SetSumFieldsAvailable(false);
    EXPECT_FALSE(analysis->IsShown(3));
    EXPECT_TRUE(analysis->IsShownOrShownBefore(3));
    EXPECT_FALSE(analysis->HasData(4));
    analysis->SetSumFieldsAvailable(false); // still remembered
    EXPECT_TRUE(analysis->IsShownOrShownBefore(3));

    analysis->SetSumFieldsAvailable(true);
    EXPECT_TRUE(analysis->IsShown(3));
    EXPECT_TRUE(analysis->HasData(4));
    EXPECT_FALSE(analysis->IsShown(4));
    EXPECT_EQ(refreshes, 4);
}

TEST_F(LogAnalysisTest, DaysFilesAndTheFileOfADay)
{
    auto empty = NewAnalysis();
    EXPECT_EQ(empty->FileOfDay(EncodeDate(2007, 3, 10)), "");

    auto analysis = LoadDays({10, 12, 20});
    const auto file = [&](int i) { return analysis->FileName(i); };
    EXPECT_EQ(analysis->FileOfDay(EncodeDate(2007, 3, 10)), file(0));
    EXPECT_EQ(analysis->FileOfDay(EncodeDate(2007, 3, 12) + 0.3), file(1));
    EXPECT_EQ(analysis->FileOfDay(EncodeDate(2007, 3, 20) + 0.999), file(2));
    // No file of the day: not the nearest day's file either.
    for (const TDateTime none : {EncodeDate(2007, 3, 9) + 0.9, EncodeDate(2007, 3, 11) + 0.5,
             EncodeDate(2007, 3, 13), EncodeDate(2007, 3, 21), EncodeDate(2007, 2, 1)})
        EXPECT_EQ(analysis->FileOfDay(none), "") << none;

    TDayList list;
    list.Add("20070312", 1);
    analysis->AddDaysTo(list);
    analysis->AddDaysTo(list);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Text(0), "20070310");
    EXPECT_EQ(list.DayNumber(0), DayNumber(EncodeDate(2007, 3, 10)));
    EXPECT_EQ(list.DayNumber(1), 1); // the first entry of a text stays
    EXPECT_EQ(list.Text(2), "20070320");
}

TEST_F(LogAnalysisTest, DayColumnsOfTheDailyOverview)
{
    auto analysis = Finished(LoadDays({15, 17}));
    TOverviewTable grid(2, 6);
    // Rows: 15, 16 (no sum), 17 March, then the total.
    grid.SetTag(0, 2, DayNumber(EncodeDate(2007, 3, 15)));
    grid.SetTag(0, 3, DayNumber(EncodeDate(2007, 3, 16)));
    grid.SetTag(0, 4, DayNumber(EncodeDate(2007, 3, 17)));
    analysis->FillDayColumn(3, &grid, 1);
    EXPECT_EQ(grid.Text(1, 2), "144,00");
    EXPECT_EQ(grid.Text(1, 3), "0,00");
    EXPECT_EQ(grid.Text(1, 4), "144,00");
    EXPECT_EQ(grid.Text(1, 5), "288,00");

    // Nothing for a missing grid, a column beyond it, a field beyond the records, or a
    // grid of two rows.
    analysis->FillDayColumn(3, nullptr, 1);
    analysis->FillDayColumn(3, &grid, 2);
    analysis->FillDayColumn(99, &grid, 1);
    TOverviewTable small(2, 2);
    analysis->FillDayColumn(3, &small, 1);
    EXPECT_EQ(small.Text(1, 1), "");
}

TEST_F(LogAnalysisTest, YearCountersRaiseTheAnnualTotals)
{
    auto analysis = NewAnalysis();
    analysis->ReadLogFile(WriteLog("10061230.csv",
        {"dd.mm.yy hh:mm;P[kW];Qjahr[kWh]", "30.12.2006 10:00;1;1000", "30.12.2006 10:01;1;1200"}));
    analysis->ReadLogFile(WriteLog("10070315.csv",
        {"dd.mm.yy hh:mm;P[kW];Qjahr[kWh]", "15.03.2007 10:00;1;50", "15.03.2007 10:01;1;70"}));
    analysis->BuildSums();
    const int p = FieldOf(*analysis, "P");
    EXPECT_EQ(
        analysis->DeviceSettings()->GetLabel(FieldOf(*analysis, "Pjahr")), "Sum of energy (Q)");

    TOverviewTable grid(3, 5);
    grid.SetTag(0, 2, 2006);
    grid.SetTag(0, 3, 2007);
    grid.SetText(1, 2, "900,00");
    grid.SetText(1, 3, "80,00");
    grid.SetText(2, 2, "");
    grid.SetText(2, 3, "");
    analysis->FillYearMaxColumn(&grid, 1, p);
    EXPECT_EQ(grid.Text(1, 2), "1200,00");
    EXPECT_EQ(grid.Text(1, 3), "80,00"); // larger than the counter: kept
    analysis->FillYearMaxColumn(&grid, 2, p);
    EXPECT_EQ(grid.Text(2, 2), "1200,00");
    EXPECT_EQ(grid.Text(2, 3), "70,00");
    EXPECT_EQ(grid.Text(2, 4), "");
    // A field without a year counter changes nothing.
    analysis->FillYearMaxColumn(&grid, 2, FieldOf(*analysis, "Ptag"));
    EXPECT_EQ(grid.Text(2, 3), "70,00");
}

TEST_F(LogAnalysisTest, FieldRecordsAreInsertedOnlyWithinTheRecords)
{
    auto analysis = NewAnalysis();
    analysis->InsertFieldRecord(0, KindOutput, false);
    analysis->InsertFieldRecord(0, KindOther, true);
    ExpectFailure(TextId::TxtIndexError, [&] { analysis->InsertFieldRecord(3, KindInput, false); });
    ExpectFailure(
        TextId::TxtIndexError, [&] { analysis->InsertFieldRecord(-1, KindInput, false); });
    // Records keep the order of their kinds: no output before the other values.
    ExpectFailure(
        TextId::TxtIndexError, [&] { analysis->InsertFieldRecord(0, KindOutput, false); });
    ASSERT_EQ(analysis->FieldRecordCount(), 2);
    EXPECT_EQ(analysis->Series(0)->Style().kind, TDrawingKind::SumBars);
    EXPECT_TRUE(analysis->Series(0)->KeepsOneBarPerDay());
    EXPECT_EQ(analysis->Series(1)->Style().kind, TDrawingKind::OffsetLine);
    EXPECT_TRUE(analysis->Series(1)->Style().stairs);
    EXPECT_EQ(analysis->Series(2), nullptr);
    // Nothing to show without days.
    EXPECT_FALSE(analysis->ShowField(0));
}
