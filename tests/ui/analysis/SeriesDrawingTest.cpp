#include "ChartTestBench.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double Nan = std::numeric_limits<double>::quiet_NaN();

QVector<double> Values(const QCPGraph& graph)
{
    QVector<double> values;
    for (auto it = graph.data()->constBegin(); it != graph.data()->constEnd(); ++it)
        values.append(it->value);
    return values;
}

} // namespace

TEST(SeriesDrawing, EachDrawingKindBecomesItsPlottable)
{
    TChartTestBench bench;
    TChartSeriesTarget& target = bench.view->UpperTarget();

    auto line = MakeSeries(TDrawingKind::Line, {{1.0, 20.0}, {1.5, Nan}, {2.0, 30.0}});
    line->Style().offset = -150; // a plain line ignores offsets
    line->Style().title = "T1 collector";
    target.AttachSeries(*line);
    const QCPGraph* graph = target.PlottableOf(*line)->Graph();
    ASSERT_TRUE(graph);
    const QVector<double> values = Values(*graph);
    ASSERT_EQ(values.size(), 3);
    EXPECT_DOUBLE_EQ(values[0], 20.0);
    EXPECT_TRUE(std::isnan(values[1])); // the null point breaks the line
    EXPECT_DOUBLE_EQ(values[2], 30.0);
    EXPECT_EQ(graph->lineStyle(), QCPGraph::lsLine);
    EXPECT_EQ(graph->name(), "T1 collector");
    EXPECT_EQ(graph->pen().color(), QColor(255, 0, 0));
    EXPECT_EQ(graph->pen().width(), 2);
    EXPECT_EQ(graph->valueAxis(), bench.chart->yAxis);
    EXPECT_EQ(graph->brush().style(), Qt::NoBrush);

    // An output: shifted into its lane, drawn as stairs, on the right axis, in blue.
    auto output = MakeSeries(
        TDrawingKind::OffsetLine, {{1.0, 0.0}, {1.2, 100.0}}, 16711680, TVerticalAxis::Right);
    output->Style().offset = -300;
    output->Style().stairs = true;
    target.AttachSeries(*output);
    graph = target.PlottableOf(*output)->Graph();
    EXPECT_EQ(Values(*graph), (QVector<double>{-300.0, -200.0}));
    EXPECT_EQ(graph->lineStyle(), QCPGraph::lsStepLeft);
    EXPECT_EQ(graph->valueAxis(), bench.chart->yAxis2);
    EXPECT_EQ(graph->pen().color(), QColor(0, 0, 255));

    // An area is filled down to its own zero line at the offset, not to the axis.
    auto area = MakeSeries(TDrawingKind::OffsetArea, {{1.0, 40.0}, {3.0, 60.0}}, 32768);
    area->Style().offset = -150;
    target.AttachSeries(*area);
    const TSeriesPlottable* drawn = target.PlottableOf(*area);
    ASSERT_TRUE(drawn->BaseLine());
    EXPECT_EQ(drawn->Graph()->channelFillGraph(), drawn->BaseLine());
    EXPECT_EQ(Values(*drawn->BaseLine()), (QVector<double>{-150.0, -150.0}));
    EXPECT_EQ(drawn->BaseLine()->data()->constBegin()->key, 1.0);
    EXPECT_EQ((drawn->BaseLine()->data()->constEnd() - 1)->key, 3.0);
    EXPECT_EQ(drawn->Graph()->brush().color(), QColor(0, 128, 0));
    EXPECT_EQ(Values(*drawn->Graph()), (QVector<double>{-110.0, -90.0}));

    // Day sums: one bar per day at 75 % of a day; null points leave gaps.
    auto sums = MakeSeries(TDrawingKind::SumBars, {{1.2, 5.0}, {1.9, 14.0}, {2.3, 7.0}});
    sums->SetAcceptNulls(true);
    sums->AddNullPoint(3.5);
    target.AttachSeries(*sums);
    const QCPBars* bars = target.PlottableOf(*sums)->Bars();
    ASSERT_TRUE(bars);
    ASSERT_EQ(bars->data()->size(), 2);
    EXPECT_DOUBLE_EQ(bars->data()->at(0)->key, 1.5);
    EXPECT_DOUBLE_EQ(bars->data()->at(0)->value, 14.0);
    EXPECT_EQ(bars->widthType(), QCPBars::wtPlotCoords);
    EXPECT_DOUBLE_EQ(bars->width(), 0.75);
    EXPECT_EQ(bars->brush().color(), QColor(255, 0, 0));

    EXPECT_EQ(target.SeriesCount(), 4);
    EXPECT_EQ(bench.chart->plottableCount(), 5); // the area's zero line counts too
    EXPECT_EQ(bench.chart->legend->itemCount(), 4);
}

TEST(SeriesDrawing, RestylingSwitchesBetweenBarsAndLinesFromTheSamePoints)
{
    TChartTestBench bench;
    TChartSeriesTarget& target = bench.view->UpperTarget();
    auto sums = MakeSeries(TDrawingKind::SumBars, {{1.5, 10.0}, {2.5, 12.0}, {3.5, 9.0}});
    target.AttachSeries(*sums);
    ASSERT_TRUE(target.PlottableOf(*sums)->Bars());

    sums->Style().kind = TDrawingKind::SumLine;
    target.SeriesRestyled(*sums);
    const QCPGraph* line = target.PlottableOf(*sums)->Graph();
    ASSERT_TRUE(line);
    EXPECT_EQ(Values(*line), (QVector<double>{10.0, 12.0, 9.0}));
    EXPECT_EQ(bench.chart->plottableCount(), 1);

    sums->Style().kind = TDrawingKind::SumBars;
    sums->Style().barWidthMode = TBarWidthMode::Pixels;
    sums->Style().barWidthPixels = 17;
    target.SeriesRestyled(*sums);
    const QCPBars* bars = target.PlottableOf(*sums)->Bars();
    ASSERT_TRUE(bars);
    EXPECT_EQ(bars->widthType(), QCPBars::wtAbsolute);
    EXPECT_DOUBLE_EQ(bars->width(), 17.0);
    EXPECT_EQ(bars->data()->size(), 3);

    // A change of axis or colour keeps the plottable; a new offset rebuilds the values.
    auto measured = MakeSeries(TDrawingKind::OffsetLine, {{1.0, 5.0}, {2.0, 6.0}});
    target.AttachSeries(*measured);
    const QCPAbstractPlottable* before = target.PlottableOf(*measured)->Plottable();
    measured->Style().axis = TVerticalAxis::Right;
    measured->Style().color = 0;
    target.SeriesRestyled(*measured);
    EXPECT_EQ(target.PlottableOf(*measured)->Plottable(), before);
    EXPECT_EQ(before->valueAxis(), bench.chart->yAxis2);
    EXPECT_EQ(before->pen().color(), QColor(0, 0, 0));
    measured->Style().offset = -150;
    target.SeriesRestyled(*measured);
    EXPECT_EQ(Values(*target.PlottableOf(*measured)->Graph()), (QVector<double>{-145.0, -144.0}));

    // Detaching takes everything off; a series that is not on the chart is not drawn
    // when it is restyled.
    target.DetachAll();
    EXPECT_EQ(bench.chart->plottableCount(), 0);
    target.SeriesRestyled(*measured);
    EXPECT_EQ(bench.chart->plottableCount(), 0);
    EXPECT_FALSE(target.Holds(*measured));
}

TEST(SeriesDrawing, ALineBreaksAtNullPointsOnTheScreen)
{
    TChartTestBench bench;
    TChartSeriesTarget& target = bench.view->UpperTarget();
    bench.view->SetTimeWindow(2.0, 1.0);
    bench.chart->yAxis->setRange(0, 100);
    auto line = MakeSeries(
        TDrawingKind::Line, {{1.1, 50.0}, {1.4, 50.0}, {1.5, Nan}, {1.6, 50.0}, {1.9, 50.0}});
    target.AttachSeries(*line);
    const QImage image = bench.Render(*bench.chart);
    const double y = bench.chart->yAxis->coordToPixel(50.0);
    const QColor red(255, 0, 0);
    EXPECT_TRUE(ColourNear(image, bench.chart->xAxis->coordToPixel(1.3), y, red));
    EXPECT_TRUE(ColourNear(image, bench.chart->xAxis->coordToPixel(1.7), y, red));
    EXPECT_FALSE(ColourNear(image, bench.chart->xAxis->coordToPixel(1.5), y, red));
}
