// What the markers measure on real day logs: readings, their change and the volume or
// energy between A and B, with the markers inside runs, across a break and across midnight.
#include "LogFixture.h"

#include "core/base/DateTime.h"
#include "core/logdata/SeriesSums.h"
#include "core/logdata/ShownValues.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

double At(int day, int hour, int minute)
{
    return EncodeDate(2007, 3, day) + (hour * 60 + minute) * OneMinute;
}

class ShownValuesTest : public LogFixture {
protected:
    // 14 March: flow 3.6 l/min from 10:00 to 10:59, 1.2 from 11:00 to 11:29, else 0;
    // power 6 kW all day but for a power cut from 14:00 to 15:59 (no records).
    // 15 March: flow 2 l/min and power 3 kW all day.
    void SetUp() override
    {
        LogFixture::SetUp();
        analysis = NewAnalysis();
        Write(14, [](int minute) {
            const double flow = minute >= 600 && minute < 660 ? 3.6
                : minute >= 660 && minute < 690               ? 1.2
                                                              : 0.0;
            return std::make_pair(flow, 6.0);
        });
        Write(15, [](int) { return std::make_pair(2.0, 3.0); });
        analysis->BuildSums();
        flow = FieldOf(*analysis, "V");
        power = FieldOf(*analysis, "P");
        ASSERT_GE(flow, 0);
        ASSERT_GE(power, 0);
    }

    void Write(int day, const std::function<std::pair<double, double>(int)>& values)
    {
        std::vector<std::string> lines = {"dd.mm.yy hh:mm;V[l/min];P[kW]"};
        for (int minute = 0; minute < 1440; ++minute) {
            if (day == 14 && minute >= 14 * 60 && minute < 16 * 60)
                continue;
            const auto [v, p] = values(minute);
            char line[64];
            std::snprintf(line, sizeof line, "%02d.03.07 %02d:%02d;%s;%s", day, minute / 60,
                minute % 60, FormatNumber(v).c_str(), FormatNumber(p).c_str());
            lines.push_back(line);
        }
        analysis->ReadLogFile(WriteLog("100703" + std::to_string(day) + ".csv", lines));
    }
    static std::string FormatNumber(double v)
    {
        std::string text = std::to_string(v);
        text.resize(text.find('.') + 2);
        text[text.find('.')] = ',';
        return text;
    }
    double DaySum(int field, int day)
    {
        return DayIntegral(
            *analysis->Series(field), field == flow ? 1440 : 24, EncodeDate(2007, 3, day));
    }

    std::unique_ptr<TLogAnalysis> analysis;
    int flow = -1;
    int power = -1;
};

TEST_F(ShownValuesTest, TheAmountBetweenTheMarkersIsTheIntegralOverExactlyThatSpan)
{
    struct Case {
        const char* what;
        bool ofFlow;
        double a, b;
        double amount;
    };
    const Case cases[] = {
        {"inside a run of 3.6 l/min", true, At(14, 10, 15), At(14, 10, 45), 108.0},
        {"the same with B before A", true, At(14, 10, 45), At(14, 10, 15), 108.0},
        // 10:30…10:59 at 3.6, the minute 10:59…11:00 falling to 1.2, 11:00…11:15 at 1.2.
        {"across a step", true, At(14, 10, 30), At(14, 11, 15), 29 * 3.6 + 2.4 + 15 * 1.2},
        // 13:30…13:59, nothing in the cut, 16:00's minute as a stretch's first, 16:00…16:30.
        {"across a power cut", false, At(14, 13, 30), At(14, 16, 30), 6.0 * (29 + 1 + 30) / 60},
        // Midnight cuts as the day sums do: 15 March's first reading counts its minute.
        {"across midnight", true, At(14, 23, 30), At(15, 0, 30), 2.0 * (1 + 30)},
        {"no time between", true, At(14, 10, 20), At(14, 10, 20), 0.0},
    };
    for (const Case& c : cases) {
        const TMarkerComparison m = CompareAtMarkers(*analysis, c.ofFlow ? flow : power, c.a, c.b);
        ASSERT_TRUE(m.amount) << c.what;
        EXPECT_NEAR(*m.amount, c.amount, 1e-6) << c.what;
        EXPECT_EQ(m.amountUnit, c.ofFlow ? "[l]" : "[kWh]") << c.what;
    }
}

TEST_F(ShownValuesTest, MarkersOnMidnightsGiveTheDaySums)
{
    for (int field : {flow, power}) {
        const double day14 = DaySum(field, 14);
        const double day15 = DaySum(field, 15);
        ASSERT_GT(day14, 0);
        EXPECT_NEAR(
            *CompareAtMarkers(*analysis, field, At(14, 0, 0), At(15, 0, 0)).amount, day14, 1e-9);
        EXPECT_NEAR(*CompareAtMarkers(*analysis, field, At(14, 0, 0), At(16, 0, 0)).amount,
            day14 + day15, 1e-9);
    }
}

TEST_F(ShownValuesTest, ReadingsHoldUntilTheNextOneButNotIntoABreak)
{
    struct Case {
        const char* what;
        double t;
        std::optional<double> power;
    };
    const Case cases[] = {
        {"inside the run", At(14, 13, 0), 6.0},
        {"on the last reading before the cut", At(14, 13, 59), 6.0},
        {"just after it, where no line is drawn", At(14, 13, 59) + OneMinute / 2, std::nullopt},
        {"inside the cut", At(14, 15, 0), std::nullopt},
        {"on the first reading after it", At(14, 16, 0), 6.0},
        {"on the next day", At(15, 12, 0), 3.0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShownValueAt(*analysis, power, c.t), c.power) << c.what;

    const TMarkerComparison m = CompareAtMarkers(*analysis, power, At(14, 12, 0), At(15, 12, 0));
    EXPECT_EQ(m.atStart, 6.0);
    EXPECT_EQ(m.atEnd, 3.0);
    EXPECT_EQ(m.change, -3.0);
    const TMarkerComparison intoCut
        = CompareAtMarkers(*analysis, power, At(14, 12, 0), At(14, 15, 0));
    EXPECT_FALSE(intoCut.atEnd);
    EXPECT_FALSE(intoCut.change);
}

} // namespace
