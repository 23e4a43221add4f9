#include "ChartTestBench.h"

#include "core/base/DateTime.h"
#include "ui/analysis/DateTimeTicker.h"

#include <gtest/gtest.h>

namespace {

struct Ticks {
    QVector<double> positions;
    QStringList labels;
};

Ticks Generate(TDateTimeTicker& ticker, double from, double to)
{
    Ticks ticks;
    QVector<QString> labels;
    ticker.generate(QCPRange(from, to), QLocale::c(), 'g', 6, ticks.positions, nullptr, &labels);
    ticks.labels = QStringList(labels.begin(), labels.end());
    return ticks;
}

} // namespace

TEST(DateTimeTicker, ADayWindowIsLabelledWithRoundClockTimes)
{
    TDateTimeTicker ticker; // eight labels fit without an axis
    const double day = EncodeDate(2024, 3, 1);
    const Ticks ticks = Generate(ticker, day, day + 1);
    EXPECT_EQ(ticks.labels,
        (QStringList{
            "00:00", "03:00", "06:00", "09:00", "12:00", "15:00", "18:00", "21:00", "00:00"}));

    // An hour gets ten-minute steps.
    const Ticks hour = Generate(ticker, day + 10.0 / 24, day + 11.0 / 24);
    EXPECT_EQ(hour.labels.first(), "10:00");
    EXPECT_EQ(hour.labels.at(1), "10:10");
    EXPECT_EQ(hour.labels.last(), "11:00");
}

TEST(DateTimeTicker, FixedIncrementsAndDayPatterns)
{
    TDateTimeTicker ticker;
    ticker.SetLabelFormat(" dd. mmm ");
    ticker.SetIncrement(1);
    const double first = EncodeDate(2024, 3, 1);
    Ticks ticks = Generate(ticker, first, first + 7);
    ASSERT_EQ(ticks.positions.size(), 8);
    EXPECT_EQ(ticks.labels.first(), QString::fromStdString(" 01. " + ShortMonthName(3) + " "));

    // Weeks over a quarter are too many for eight labels: every second week, on Mondays.
    ticker.SetIncrement(7);
    ticks = Generate(ticker, EncodeDate(2024, 1, 1), EncodeDate(2024, 4, 1));
    ASSERT_GE(ticks.positions.size(), 6);
    EXPECT_LE(ticks.positions.size(), 8);
    EXPECT_DOUBLE_EQ(ticks.positions[1] - ticks.positions[0], 14.0);
    for (const double tick : ticks.positions)
        EXPECT_EQ((static_cast<long long>(tick) - 2) % 7, 0) << "not a Monday: " << tick;

    ticker.SetLabelFormat(" dd. mmm hh:mm ");
    ticker.SetIncrement(1.0 / 24);
    ticks = Generate(ticker, first + 0.25, first + 0.5);
    EXPECT_EQ(
        ticks.labels.first(), QString::fromStdString(" 01. " + ShortMonthName(3) + " 06:00 "));
}

TEST(DateTimeTicker, LabelsThatFitFollowTheAxisWidth)
{
    TChartTestBench narrow(300, 300);
    TChartTestBench wide(1200, 300);
    for (TChartTestBench* bench : {&narrow, &wide}) {
        bench->view->SetPlaceholders(true, false, false);
        bench->view->RepaintNow();
    }
    TDateTimeTicker onNarrow(narrow.chart->xAxis);
    TDateTimeTicker onWide(wide.chart->xAxis);
    EXPECT_GT(onWide.LabelsThatFit(), 2 * onNarrow.LabelsThatFit());

    // The chart shows the window's labels in the chosen pattern.
    wide.view->SetTimeWindow(EncodeDate(2024, 3, 2), EncodeDate(2024, 3, 1));
    wide.view->RepaintNow();
    const QVector<QString> labels = wide.chart->xAxis->tickVectorLabels();
    ASSERT_FALSE(labels.isEmpty());
    EXPECT_EQ(labels.first(), "00:00");
    EXPECT_TRUE(labels.contains("12:00"));
}

TEST(DateTimeTicker, DayLabelsNeverRepeatWithinADay)
{
    TDateTimeTicker ticker;
    ticker.SetLabelFormat(" dd. mmm ");
    const double first = EncodeDate(2024, 3, 1);
    Ticks ticks = Generate(ticker, first, first + 5);
    ASSERT_GE(ticks.positions.size(), 2);
    EXPECT_DOUBLE_EQ(ticks.positions[1] - ticks.positions[0], 1.0);
    EXPECT_EQ(ticks.labels.removeDuplicates(), 0);
}
