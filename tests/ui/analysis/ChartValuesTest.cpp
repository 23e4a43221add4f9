#include "ui/analysis/ChartWindowFixture.h"

#include "core/logdata/LogAnalysis.h"
#include "support/GuiTestHelpers.h"
#include "ui/analysis/GraphPanel.h"

#include <QCheckBox>

#include <gtest/gtest.h>

namespace {

constexpr int Solar = 0; // bus 10
constexpr int Heating = 1; // bus 21

QStringList Labels(QCPAxis* axis)
{
    const QVector<QString> labels = axis->tickVectorLabels();
    return QStringList(labels.begin(), labels.end());
}

} // namespace

class ChartValuesTest : public ChartWindowFixture { };

TEST_F(ChartValuesTest, TickedValuesGoToTheirChartAndAxisWithTheirUnitsAsTitles)
{
    LoadSamples({10, 21});
    ClickPlot(RowOf(Solar, "T1"));
    ClickPlot(RowOf(Solar, "T3"));
    const TSeriesPlottable* t1 = Drawn(Solar, "T1");
    ASSERT_TRUE(t1);
    EXPECT_EQ(t1->Plottable()->parentPlot(), chart);
    EXPECT_EQ(t1->Plottable()->valueAxis(), chart->yAxis);
    EXPECT_EQ(t1->Graph()->lineStyle(), QCPGraph::lsLine);
    EXPECT_EQ(chart->yAxis->label(), "[°C]"); // two inputs, one unit
    EXPECT_EQ(contentChanges, 2);

    // Other measured values go to the right axis, drawn as areas (bars are the default).
    ClickPlot(RowOf(Solar, "V"));
    ClickPlot(RowOf(Solar, "P"));
    EXPECT_EQ(Drawn(Solar, "V")->Plottable()->valueAxis(), chart->yAxis2);
    EXPECT_TRUE(Drawn(Solar, "V")->BaseLine());
    EXPECT_EQ(chart->yAxis2->label(), "[kW]   [l/min]");
    EXPECT_TRUE(view->PlaceholderAttached(TChartView::LowerRight));
    EXPECT_TRUE(view->PlaceholderAttached(TChartView::LowerLeft)); // no output shown

    // Without inputs the other values take the left axis, which carries their units.
    ClickPlot(RowOf(Solar, "T1"));
    ClickPlot(RowOf(Solar, "T3"));
    EXPECT_FALSE(Drawn(Solar, "T1"));
    EXPECT_EQ(Drawn(Solar, "V")->Plottable()->valueAxis(), chart->yAxis);
    EXPECT_EQ(Drawn(Solar, "P")->Plottable()->valueAxis(), chart->yAxis);
    EXPECT_EQ(chart->yAxis->label(), "[kW]   [l/min]");
    EXPECT_EQ(chart->yAxis2->label(), "");
    EXPECT_FALSE(view->PlaceholderAttached(TChartView::LowerRight));
    EXPECT_FALSE(RowOf(Solar, "T1")->PlotBox->isChecked());
    EXPECT_TRUE(RowOf(Solar, "V")->PlotBox->isChecked());

    // The other device's values stay where they are.
    EXPECT_FALSE(Drawn(Heating, "TA"));
}

TEST_F(ChartValuesTest, TwoOutputsGetALaneEachWithTheirNames)
{
    LoadSamples({10});
    ClickPlot(RowOf(Solar, "R1"));
    ClickPlot(RowOf(Solar, "R2"));
    // Nothing on the upper chart: it still draws its grid.
    EXPECT_TRUE(view->PlaceholderAttached(TChartView::UpperLeft));
    EXPECT_EQ(chart2->yAxis->label(), "[%]");
    EXPECT_DOUBLE_EQ(chart2->yAxis->range().lower, -160.0);
    EXPECT_DOUBLE_EQ(chart2->yAxis->range().upper, 110.0);
    const TSeriesPlottable* r1 = Drawn(Solar, "R1");
    const TSeriesPlottable* r2 = Drawn(Solar, "R2");
    ASSERT_TRUE(r1 && r2);
    EXPECT_EQ(r1->Plottable()->parentPlot(), chart2);
    EXPECT_EQ(r1->Graph()->lineStyle(), QCPGraph::lsStepLeft);
    EXPECT_EQ(Device(Solar).Series(Field(Solar, "R1"))->Style().offset, 0);
    EXPECT_EQ(Device(Solar).Series(Field(Solar, "R2"))->Style().offset, -150);
    // R2 runs between its lane's zero line and 100 % above it.
    bool found = false;
    const QCPRange r2Range = r2->Graph()->getValueRange(found);
    EXPECT_TRUE(found);
    EXPECT_GE(r2Range.lower, -150.0);
    EXPECT_LE(r2Range.upper, -50.0);

    view->RepaintNow();
    const QStringList labels = Labels(chart2->yAxis);
    const QVector<double> ticks = chart2->yAxis->tickVector();
    ASSERT_EQ(labels.size(), ticks.size());
    for (int i = 0; i < ticks.size(); ++i) {
        const QString expected = ticks[i] == 50 ? "R1" : ticks[i] == -100 ? "R2" : "";
        EXPECT_EQ(labels[i], expected) << ticks[i];
    }

    // Hiding the first output moves the second into the first lane.
    ClickPlot(RowOf(Solar, "R1"));
    EXPECT_EQ(view->OutputLaneNames(), QStringList{"R2"});
    EXPECT_EQ(Device(Solar).Series(Field(Solar, "R2"))->Style().offset, 0);
    EXPECT_DOUBLE_EQ(chart2->yAxis->range().lower, -10.0);
}

TEST_F(ChartValuesTest, BothPlotAreasLineUpWithRealValues)
{
    LoadSamples({10});
    for (const char* field : {"T1", "T2", "V", "P", "R1", "R2"})
        ClickPlot(RowOf(Solar, field));
    view->RepaintNow();
    EXPECT_EQ(chart->axisRect()->rect().left(), chart2->axisRect()->rect().left());
    EXPECT_EQ(chart->axisRect()->rect().right(), chart2->axisRect()->rect().right());
    EXPECT_TRUE(chart->yAxis2->visible());
}

TEST_F(ChartValuesTest, ScalingFitsTheShownDayOrKeepsTheFixedRange)
{
    WriteLog("logs/10240301.csv",
        {"dd.mm.yy hh:mm;T3[°C]", "01.03.2024 10:00;20,4", "01.03.2024 11:00;70,6",
            "01.03.2024 12:00;45"});
    LoadLogs(EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 1));
    ClickPlot(RowOf(Solar, "T3"));
    // 20.4 … 70.6 shown: whole degrees 20 … 70, 2 % of that span (1) beyond both, and
    // 0.1 more below, 1 more above.
    EXPECT_NEAR(chart->yAxis->range().lower, 18.9, 1e-9);
    EXPECT_NEAR(chart->yAxis->range().upper, 72.0, 1e-9);

    settings.DynamicScaling = false;
    settings.AxisMin = -10;
    settings.AxisMax = 120;
    values->UpdateValueAxes();
    EXPECT_DOUBLE_EQ(chart->yAxis->range().lower, -10.0);
    EXPECT_DOUBLE_EQ(chart->yAxis->range().upper, 120.0);
}

TEST_F(ChartValuesTest, DisplaySettingsSwitchBarsAndLinesWithoutReading)
{
    LoadSamples({10});
    ClickPlot(RowOf(Solar, "V"));
    ClickPlot(RowOf(Solar, "R1"));
    ASSERT_TRUE(Drawn(Solar, "V")->BaseLine()); // an area
    const int points = Drawn(Solar, "V")->Graph()->data()->size();

    TDeviceSettings& device = *Device(Solar).DeviceSettings();
    device.SetOthersUseBars(false);
    device.SetOutputsUseBars(true);
    device.SetColor(Field(Solar, "V"), 0x00FF00);
    Device(Solar).ApplyDisplaySettings();
    values->BuildOutputLanes();
    const TSeriesPlottable* v = Drawn(Solar, "V");
    ASSERT_TRUE(v->Graph());
    EXPECT_FALSE(v->BaseLine());
    EXPECT_EQ(v->Graph()->data()->size(), points);
    EXPECT_EQ(v->Graph()->pen().color(), QColor(0, 255, 0));
    EXPECT_TRUE(Drawn(Solar, "R1")->BaseLine()); // outputs as areas now
    // The row shows the new colour.
    EXPECT_EQ(RowOf(Solar, "V")->Swatch->palette().color(QPalette::Window), QColor(0, 255, 0));

    // Day sums in a month window: bars, then a line after the switch.
    Device(Solar).SetSumFieldsAvailable(true);
    ClickPlot(RowOf(Solar, "Ptag"));
    EXPECT_TRUE(Drawn(Solar, "Ptag")->Graph()); // lines chosen
    device.SetOthersUseBars(true);
    Device(Solar).ApplyDisplaySettings();
    const QCPBars* bars = Drawn(Solar, "Ptag")->Bars();
    ASSERT_TRUE(bars);
    EXPECT_EQ(bars->data()->size(), 3); // one bar per day
    EXPECT_DOUBLE_EQ(bars->data()->at(0)->key, EncodeDate(2024, 3, 1) + 0.5);
}

TEST_F(ChartValuesTest, AValueWithoutSeriesReportsNoDataAndStaysCleared)
{
    LoadSamples({10});
    MessageRecorder messages;
    TLogAnalysis& solar = Device(Solar);
    const int missing = solar.DeviceSettings()->ValueCount(); // beyond every field
    TGraphPanel row(ListOf(Solar)->widget(), false, 0, missing, solar, *values, 400);
    row.PlotBox->setEnabled(true);
    row.show();
    ClickPlot(&row);
    EXPECT_EQ(messages.Texts(), QStringList{"No data available."});
    EXPECT_FALSE(row.PlotBox->isChecked());
    EXPECT_FALSE(view->HasSeries());
}

TEST_F(ChartValuesTest, UnitsOfAxisTitlesAreSortedAndListedOnce)
{
    WriteLog(DayFileName("11", 2024, 3, 1),
        {"DATE & TIME;TK[°F];T1[°C];T2[°C];V'[l/min];P[kW];R1[%]",
            "2024-03-01 00:00;70,0;20,0;30,0;1,0;0,5;0",
            "2024-03-01 12:00;80,0;25,0;35,0;2,0;1,5;100"});
    LoadLogs(EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 1));
    EXPECT_EQ(values->CollectAxisUnits(KindInput), "");
    for (const char* field : {"TK", "T1", "T2", "V", "P"})
        ClickPlot(RowOf(0, field));
    EXPECT_EQ(values->CollectAxisUnits(KindInput), "[°C]   [°F]");
    EXPECT_EQ(chart->yAxis->label(), "[°C]   [°F]");
    EXPECT_EQ(chart->yAxis2->label(), "[kW]   [l/min]");
    EXPECT_EQ(values->CollectAxisUnits(KindOutput), "");
}

TEST_F(ChartValuesTest, MonthSumsInAYearWindowAreBarsOfAThirtySixthOfThePlotWidth)
{
    LoadSamples({10});
    view->RepaintNow();
    Device(Solar).SetSumFieldsAvailable(true);
    Device(Solar).SetMonthlyBars(true);
    ClickPlot(RowOf(Solar, "Ptag"));
    const QCPBars* bars = Drawn(Solar, "Ptag")->Bars();
    ASSERT_TRUE(bars);
    EXPECT_EQ(bars->widthType(), QCPBars::wtAbsolute);
    EXPECT_EQ(static_cast<int>(bars->width()), chart->axisRect()->width() / 36);
    ASSERT_EQ(bars->data()->size(), 1); // March
    EXPECT_DOUBLE_EQ(bars->data()->at(0)->key, EncodeDate(2024, 3, 16) + 0.5);
}
