// Derived values on real day logs: their points against the raw cells, breaks, results
// that are not finite, the formula's errors and their place in the settings file.
#include "LogFixture.h"

#include "core/base/DateTime.h"
#include "core/logdata/Formula.h"
#include "core/logdata/ShownValues.h"
#include "core/settings/IniSettings.h"

#include <gtest/gtest.h>

namespace {

constexpr int CutFrom = 14 * 60;
constexpr int CutTo = 16 * 60;

double T1(int minute)
{
    return 40 + minute / 60;
}
double T2(int minute)
{
    return 30 + (minute / 10) % 3;
}
double At(int minute)
{
    return EncodeDate(2007, 3, 14) + minute * OneMinute;
}

class DerivedValuesTest : public LogFixture {
protected:
    // 14 March 2007, a record a minute but for a power cut from 14:00 to 15:59; T1 steps
    // every hour, T2 every ten minutes.
    void SetUp() override
    {
        LogFixture::SetUp();
        analysis = NewAnalysis();
        std::vector<std::string> lines = {"dd.mm.yy hh:mm;T1[°C];T2[°C];P[kW];R1[%]"};
        for (int m = 0; m < 1440; ++m) {
            if (m >= CutFrom && m < CutTo)
                continue;
            char line[64];
            std::snprintf(line, sizeof line, "14.03.07 %02d:%02d;%d;%d;2;0", m / 60, m % 60,
                int(T1(m)), int(T2(m)));
            lines.push_back(line);
        }
        analysis->ReadLogFile(WriteLog("10070314.csv", lines));
        analysis->BuildSums();
    }
    int Add(const std::string& name, const std::string& expression)
    {
        analysis->AddDerivedValue({name, "K", expression});
        return FieldOf(*analysis, name);
    }

    std::unique_ptr<TLogAnalysis> analysis;
};

TEST_F(DerivedValuesTest, EveryRecordGivesItsResultAndBreaksGiveNone)
{
    const int outputBefore = FieldOf(*analysis, "R1");
    const int dT = Add("dT", "T1 - T2");
    const int ratio = Add("ratio", "T1 / (T2 - 30)");
    ASSERT_GE(dT, 0);
    // At the end of the other measured values; the output moved up behind them.
    EXPECT_EQ(analysis->DeviceSettings()->GetValueKind(dT), KindOther);
    EXPECT_EQ(FieldOf(*analysis, "R1"), outputBefore + 2);
    EXPECT_EQ(analysis->UnitOf(dT), "[K]");
    EXPECT_TRUE(analysis->IsDerived(dT));
    EXPECT_FALSE(analysis->IsDerived(FieldOf(*analysis, "T1")));

    for (int m = 0; m < 1440; ++m) {
        const std::optional<double> shown = ShownValueAt(*analysis, dT, At(m));
        const std::optional<double> divided = ShownValueAt(*analysis, ratio, At(m));
        // Where either input shows a reading, so does the result: not in the cut, not at
        // the break that ends the file with its last record.
        const bool read = ShownValueAt(*analysis, FieldOf(*analysis, "T1"), At(m))
            && ShownValueAt(*analysis, FieldOf(*analysis, "T2"), At(m));
        EXPECT_EQ(read, m < CutFrom || (m >= CutTo && m < 1439)) << m;
        if (!read) {
            EXPECT_FALSE(shown) << m;
            continue;
        }
        ASSERT_TRUE(shown) << m;
        EXPECT_DOUBLE_EQ(*shown, T1(m) - T2(m)) << m;
        // Division by zero leaves no value where T2 is 30.
        if (T2(m) == 30)
            EXPECT_FALSE(divided) << m;
        else
            EXPECT_DOUBLE_EQ(divided.value_or(-1), T1(m) / (T2(m) - 30)) << m;
    }
    // Nothing before the first record, nothing half a minute into the cut; runs stay two
    // points: far fewer points than records.
    EXPECT_FALSE(ShownValueAt(*analysis, dT, At(0) - OneMinute));
    EXPECT_FALSE(ShownValueAt(*analysis, dT, At(CutFrom - 1) + OneMinute / 2));
    EXPECT_LT(analysis->Series(dT)->Points().Count(), 1440 / 3);
    // No day sum for a derived value, even one whose name begins with "P".
    Add("Pdiff", "P * 2");
    EXPECT_EQ(FieldOf(*analysis, "Pdifftag"), -1);
}

TEST_F(DerivedValuesTest, AFormulaThatCannotBeUsedSaysWhereAndWhy)
{
    struct Case {
        std::string name;
        std::string expression;
        int position;
        std::string reason;
    };
    const Case cases[] = {
        {"a", "T1 - T3", 6, "unknown field T3"},
        {"b", "max(T1, Ptag)", 9, "unknown field Ptag"}, // sums are not measured values
        {"c", "T1 -", 5, "Unexpected end of expression"},
        {"d", "T1 * (T2", 9, "Missing parenthesis"},
        {"f", "T1 + * T2", 6, "Unexpected operator \"*\""},
        {"e", "  ", 1, "the expression is empty"},
        {"T1", "T2 + 1", 1, "the device has a value named T1 already"},
    };
    const int valuesBefore = analysis->DeviceSettings()->ValueCount();
    for (const Case& c : cases) {
        try {
            analysis->AddDerivedValue({c.name, "[K]", c.expression});
            ADD_FAILURE() << c.expression << " was taken";
        } catch (const TFormulaError& e) {
            EXPECT_EQ(e.Position(), c.position) << c.expression << ": " << e.what();
            EXPECT_NE(e.Reason().find(c.reason), std::string::npos) << e.Reason();
        }
    }
    EXPECT_EQ(analysis->DeviceSettings()->ValueCount(), valuesBefore);
}

TEST_F(DerivedValuesTest, TheSettingsFileKeepsThemPerDevicePrefix)
{
    const TDerivedValues values = {{"dT", "[K]", "T1 - T2"}, {"hot", "[-]", "T1 > 45 ? 1 : 0"}};
    GetIniSettings().SetDerivedValues("10", values);
    GetIniSettings().SetDerivedValues("21", {{"x", "[K]", "T1"}});
    GetIniSettings().SetDerivedValues("21", {});
    ReleaseIniSettings();
    EXPECT_EQ(GetIniSettings().GetDerivedValues("10"), values);
    EXPECT_TRUE(GetIniSettings().GetDerivedValues("21").empty());
    EXPECT_TRUE(GetIniSettings().GetDerivedValues("30").empty());
}

} // namespace
