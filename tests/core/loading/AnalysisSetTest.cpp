#include "core/loading/AnalysisFixture.h"

#include "core/base/KalvexError.h"
#include "core/logdata/LogAnalysis.h"

#include <gtest/gtest.h>

namespace {

class CountingChart : public TChartTarget {
public:
    void AttachSeries(TFieldSeries& series) override { attached.push_back(&series); }
    void DetachSeries(TFieldSeries& series) override { std::erase(attached, &series); }
    void SeriesRestyled(TFieldSeries&) override { }
    int PlotWidth() const override { return 720; }
    std::vector<TFieldSeries*> attached;
};

// Notes what each device looked like when its value list was built.
class RecordingHooks : public TAnalysisSetHooks {
public:
    TChartTarget* UpperChart() override { return &upper; }
    TChartTarget* LowerChart() override { return &lower; }
    void BuildValueSelector(int deviceIndex, TLogAnalysis& analysis) override
    {
        const int t1 = FieldOf(analysis, "T1");
        notes.push_back(std::to_string(deviceIndex)
            + (FieldOf(analysis, "Ptag") >= 0 ? " sums" : "")
            + (analysis.HasData(t1) ? " marked" : "")
            + (analysis.Series(t1)->Style().title.empty() ? "" : " styled"));
    }
    void UnitsWarning(const std::string& message) override { warnings.push_back(message); }

    CountingChart upper;
    CountingChart lower;
    std::vector<std::string> notes;
    std::vector<std::string> warnings;
};

TDateTime March(int day)
{
    return EncodeDate(2007, 3, day);
}

} // namespace

class AnalysisSetTest : public AnalysisFixture { };

TEST_F(AnalysisSetTest, CaptionShowsThePeriodAndFileCountInTheCurrentLanguage)
{
    EXPECT_EQ(AnalysisCaption("", "", 0), "New");
    EXPECT_EQ(AnalysisCaption("01.05.2007", "", 62), "Analysis from 01.05.2007.");
    EXPECT_EQ(AnalysisCaption("01.05.2007", "31.05.2007", 62),
        "Analysis from 01.05.2007 to 31.05.2007. (62 files found)");

    TAnalysisSet set;
    EXPECT_EQ(set.Caption(), "New");
    set.BeginLoad(62, {"10"}, EncodeDate(2007, 5, 1), EncodeDate(2007, 5, 31));
    EXPECT_EQ(set.Caption(), "Analysis from 01.05.2007 to 31.05.2007. (62 files found)");
    SelectLanguage(1);
    EXPECT_EQ(set.Caption(), "Auswertung vom 01.05.2007 bis 31.05.2007. (62 Dateien gefunden)");
    // Emptied, the window says "New" also after the language changes again.
    set.ResetToEmpty();
    SelectLanguage(3);
    EXPECT_EQ(set.Caption(), Text(TextId::TxtNew));
}

TEST_F(AnalysisSetTest, FilesGoToTheAnalysisOfTheirPrefixOthersAreRefused)
{
    TAnalysisSet set;
    set.BeginLoad(3, {"01", "02"}, March(1), March(31));
    EXPECT_EQ(set.DeviceCount(), 2);
    EXPECT_EQ(set.Analysis(0), nullptr);
    EXPECT_EQ(set.RequestedFrom(), March(1));
    EXPECT_EQ(set.RequestedTo(), March(31));

    set.LoadFile(WriteEnergyDay("02", 2007, 3, 1, "5,0"));
    set.LoadFile(WriteEnergyDay("02", 2007, 3, 2, "6,0"));
    EXPECT_EQ(set.Analysis(0), nullptr);
    ASSERT_NE(set.Analysis(1), nullptr);
    EXPECT_EQ(set.Analysis(1)->FileCount(), 2);
    EXPECT_EQ(set.Analysis(1)->PeriodStart(), March(1));
    EXPECT_EQ(set.Analysis(2), nullptr);
    EXPECT_EQ(set.Analysis(-1), nullptr);

    const std::string stranger = WriteEnergyDay("03", 2007, 3, 1, "1,0");
    try {
        set.LoadFile(stranger);
        ADD_FAILURE() << "a file of an unknown device was taken";
    } catch (const KalvexError& e) {
        EXPECT_EQ(std::string(e.what()),
            "Log file could not be assigned to a bus participant\n(" + stranger + ")");
    }
}

TEST_F(AnalysisSetTest, FinishDeviceBuildsSumsMarksFieldsThenValueListThenStyles)
{
    RecordingHooks hooks;
    TAnalysisSet set(&hooks);
    set.BeginLoad(2, {"01", "02"}, March(1), March(31));
    set.LoadFile(WriteEnergyDay("01", 2007, 3, 1, "5,0"));
    set.FinishDevice(0);
    set.FinishDevice(1); // no file: nothing to do
    set.FinishDevice(7);
    EXPECT_EQ(hooks.notes, (std::vector<std::string>{"0 sums marked"}));
    TLogAnalysis& analysis = *set.Analysis(0);
    EXPECT_EQ(analysis.Series(FieldOf(analysis, "T1"))->Style().title, "T1");

    // The analyses draw into the window's charts: inputs above, outputs below.
    set.LoadFile(WriteTemperatureDay("02", 2007, 3, 1));
    set.FinishDevice(1);
    TLogAnalysis& temperatures = *set.Analysis(1);
    ASSERT_TRUE(temperatures.ShowField(FieldOf(temperatures, "T2")));
    ASSERT_TRUE(temperatures.ShowField(FieldOf(temperatures, "R1")));
    EXPECT_EQ(hooks.upper.attached.size(), 1u);
    EXPECT_EQ(hooks.lower.attached.size(), 1u);
}

TEST_F(AnalysisSetTest, UnitsWarningOfAnAnalysisReachesTheHooks)
{
    RecordingHooks hooks;
    TAnalysisSet set(&hooks);
    set.BeginLoad(2, {"01"}, March(1), March(31));
    set.LoadFile(WriteLog("01070301.csv", {"DATE & TIME;T1[°C]", "2007-03-01 00:00;20,0"}));
    set.LoadFile(WriteLog("01070302.csv", {"DATE & TIME;T1[F]", "2007-03-02 00:00;70,0"}));
    ASSERT_EQ(hooks.warnings.size(), 1u);
    EXPECT_NE(hooks.warnings[0].find("T1"), std::string::npos) << hooks.warnings[0];
}

TEST_F(AnalysisSetTest, FinishLoadMergesTheDaysOfAllDevicesAndSetsTheRange)
{
    TAnalysisSet set;
    set.BeginLoad(4, {"01", "02"}, March(1), March(31));
    set.LoadFile(WriteEnergyDay("01", 2007, 3, 2, "5,0"));
    set.LoadFile(WriteEnergyDay("02", 2007, 3, 1, "5,0"));
    set.LoadFile(WriteEnergyDay("01", 2007, 3, 4, "5,0"));
    set.LoadFile(WriteEnergyDay("02", 2007, 3, 2, "5,0"));
    set.FinishDevice(0);
    set.FinishDevice(1);
    set.FinishLoad();

    ASSERT_EQ(set.DayList().Count(), 3);
    EXPECT_EQ(set.DayList().DayNumber(0), DayNumber(March(1)));
    EXPECT_EQ(set.DayList().DayNumber(1), DayNumber(March(2)));
    EXPECT_EQ(set.DayList().DayNumber(2), DayNumber(March(4)));
    EXPECT_EQ(set.RangeStart(), March(1));
    EXPECT_EQ(set.RangeEnd(), March(5));
    EXPECT_EQ(set.CurrentAnalysis(), set.Analysis(0));
    ASSERT_NE(set.DailyOverview(), nullptr);
    EXPECT_EQ(set.DailyOverview()->RowCount(), 6);
    ASSERT_NE(set.MonthlyOverview(), nullptr);
    ASSERT_NE(set.AnnualOverview(), nullptr);

    set.ClearAnalysis();
    EXPECT_EQ(set.DeviceCount(), 0);
    EXPECT_EQ(set.DayList().Count(), 0);
    EXPECT_EQ(set.CurrentAnalysis(), nullptr);
    EXPECT_EQ(set.DailyOverview(), nullptr);
}

TEST_F(AnalysisSetTest, FinishLoadWithoutAnyDayFailsAndAnEmptyFirstSlotLeavesNoCurrent)
{
    TAnalysisSet set;
    set.BeginLoad(1, {"01", "02"}, March(1), March(31));
    set.FinishDevice(0);
    set.FinishDevice(1);
    ExpectFailure(TextId::TxtNoFileToOpen, [&] { set.FinishLoad(); });

    set.BeginLoad(1, {"01", "02"}, March(1), March(31));
    set.LoadFile(WriteEnergyDay("02", 2007, 3, 1, "5,0"));
    set.FinishDevice(1);
    set.FinishLoad();
    EXPECT_EQ(set.CurrentAnalysis(), nullptr);
    EXPECT_EQ(set.DayList().Count(), 1);
}
