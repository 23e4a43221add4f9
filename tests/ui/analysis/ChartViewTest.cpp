#include "ChartTestBench.h"

#include "ui/analysis/LaneAxisTicker.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

// The labels the axis shows, after a repaint.
QStringList TickLabels(QCPAxis* axis)
{
    const QVector<QString> labels = axis->tickVectorLabels();
    return QStringList(labels.begin(), labels.end());
}

} // namespace

TEST(ChartView, OutputLanesLabelTheLowerLeftAxisWithTheirNames)
{
    TChartTestBench bench;
    TChartView& view = *bench.view;
    EXPECT_DOUBLE_EQ(bench.chart2->yAxis->range().lower, -10.0);
    EXPECT_DOUBLE_EQ(bench.chart2->yAxis->range().upper, 110.0);

    view.SetOutputLanes({"Pump R1", "Valve R2"});
    EXPECT_DOUBLE_EQ(bench.chart2->yAxis->range().lower, -160.0);
    EXPECT_DOUBLE_EQ(bench.chart2->yAxis->range().upper, 110.0);
    EXPECT_EQ(view.OutputLaneName(1), "Valve R2");
    EXPECT_EQ(view.OutputLaneName(2), "");
    EXPECT_EQ(view.OutputLaneName(-1), "");

    auto pump = MakeSeries(TDrawingKind::OffsetLine, {{0.0, 0.0}, {1.0, 100.0}});
    view.LowerTarget().AttachSeries(*pump);
    bench.Render(*bench.chart2);
    const QVector<double> ticks = bench.chart2->yAxis->tickVector();
    EXPECT_EQ(ticks, (QVector<double>{-150, -100, -50, 0, 50, 100}));
    EXPECT_EQ(
        TickLabels(bench.chart2->yAxis), (QStringList{"", "Valve R2", "", "", "Pump R1", ""}));

    // Three lanes reach down to −310; no lanes give −10 again.
    view.SetOutputLanes({"a", "b", "c"});
    EXPECT_DOUBLE_EQ(bench.chart2->yAxis->range().lower, -310.0);
    view.SetOutputLanes({});
    EXPECT_DOUBLE_EQ(bench.chart2->yAxis->range().lower, -10.0);
}

TEST(ChartView, LaneLabelsOnlyAtTheLanesMiddles)
{
    TLaneAxisTicker ticker;
    ticker.SetLaneNames({"R1", "R2"});
    EXPECT_EQ(ticker.LabelAt(50), "R1");
    EXPECT_EQ(ticker.LabelAt(-100), "R2");
    EXPECT_EQ(ticker.LabelAt(-250), ""); // a third lane does not exist
    EXPECT_EQ(ticker.LabelAt(0), "");
    EXPECT_EQ(ticker.LabelAt(200), ""); // above the first lane
    EXPECT_EQ(ticker.LabelAt(50.5), "");
}

TEST(ChartView, DynamicScalingFitsTheShownValuesWithRoom)
{
    TChartTestBench bench;
    TChartView& view = *bench.view;
    view.SetTimeWindow(2.0, 1.0);
    auto inside = MakeSeries(TDrawingKind::Line, {{1.2, 12.6}, {1.5, 57.9}, {1.8, 30.0}});
    auto outside = MakeSeries(TDrawingKind::Line, {{5.0, -80.0}, {6.0, 300.0}});
    view.UpperTarget().AttachSeries(*inside);
    view.UpperTarget().AttachSeries(*outside);

    view.ScaleValueAxes(true, -10, 120);
    // mn = 12, mx = 57, e = 0.9: 12 − 0.9 − 0.1 … 57 + 0.9 + 1.
    EXPECT_NEAR(bench.chart->yAxis->range().lower, 11.0, 1e-9);
    EXPECT_NEAR(bench.chart->yAxis->range().upper, 58.9, 1e-9);

    // The right axis gets 0.2 of room below; a frost value stays inside the axis.
    auto flow = MakeSeries(
        TDrawingKind::OffsetLine, {{1.1, -3.7}, {1.9, 46.2}}, 255, TVerticalAxis::Right);
    view.UpperTarget().AttachSeries(*flow);
    view.ScaleValueAxes(true, -10, 120);
    // mn = −4, mx = 46, e = 1.
    EXPECT_NEAR(bench.chart->yAxis2->range().lower, -5.2, 1e-9);
    EXPECT_NEAR(bench.chart->yAxis2->range().upper, 48.0, 1e-9);

    // Fixed scaling uses the stored bounds for the left axis.
    view.ScaleValueAxes(false, 120, -10);
    EXPECT_DOUBLE_EQ(bench.chart->yAxis->range().lower, -10.0);
    EXPECT_DOUBLE_EQ(bench.chart->yAxis->range().upper, 120.0);

    // Nothing shown in the window: the axes keep their ranges.
    view.SetTimeWindow(11.0, 10.0);
    view.ScaleValueAxes(true, -10, 120);
    EXPECT_DOUBLE_EQ(bench.chart->yAxis->range().upper, 120.0);
    EXPECT_NEAR(bench.chart->yAxis2->range().upper, 48.0, 1e-9);
}

TEST(ChartView, PlaceholdersKeepAxesDrawnAndReserveTheirRoom)
{
    TChartTestBench bench;
    TChartView& view = *bench.view;
    bench.view->RepaintNow();
    EXPECT_FALSE(bench.chart->yAxis->visible());
    EXPECT_FALSE(bench.chart->xAxis->visible());

    // Nothing on the upper chart but outputs below: the upper chart still draws its grid.
    view.SetPlaceholders(true, false, false);
    view.RepaintNow();
    EXPECT_TRUE(view.PlaceholderAttached(TChartView::UpperLeft));
    EXPECT_FALSE(view.PlaceholderAttached(TChartView::LowerLeft));
    EXPECT_TRUE(bench.chart->yAxis->visible());
    EXPECT_TRUE(bench.chart->xAxis->visible());
    EXPECT_EQ(bench.chart->yAxis->label(), " ");
    EXPECT_FALSE(bench.chart->yAxis2->visible());
    EXPECT_EQ(bench.chart->legend->itemCount(), 0);

    view.SetPlaceholders(false, true, true);
    view.RepaintNow();
    EXPECT_FALSE(view.PlaceholderAttached(TChartView::UpperLeft));
    EXPECT_TRUE(view.PlaceholderAttached(TChartView::LowerRight));
    EXPECT_TRUE(bench.chart2->yAxis->visible());
    EXPECT_TRUE(bench.chart2->yAxis2->visible());
    EXPECT_EQ(bench.chart2->yAxis2->label(), " ");
    EXPECT_FALSE(bench.chart->yAxis->visible());

    view.SetPlaceholders(false, false, true);
    EXPECT_EQ(bench.chart2->yAxis2->label(), "");
    EXPECT_FALSE(view.PlaceholderAttached(TChartView::LowerRight));
    EXPECT_FALSE(view.HasSeries()); // placeholders are no values
}

TEST(ChartView, BothPlotAreasLineUpWhateverTheirLabels)
{
    TChartTestBench bench;
    TChartView& view = *bench.view;
    view.SetTimeWindow(2.0, 1.0);
    // Wide numbers on the upper left, a unit title on the upper right, long lane names
    // below: each side takes the wider of the two charts.
    auto input = MakeSeries(TDrawingKind::Line, {{1.1, 20.0}, {1.9, 80.0}});
    auto power = MakeSeries(
        TDrawingKind::OffsetLine, {{1.1, 1000.0}, {1.9, 250000.0}}, 255, TVerticalAxis::Right);
    view.UpperTarget().AttachSeries(*input);
    view.UpperTarget().AttachSeries(*power);
    view.ScaleValueAxes(true, -10, 120);
    view.SetAxisTitles("[°C]", "[kW]   [l/min]", "[%]");
    view.SetPlaceholders(false, true, false);
    view.SetOutputLanes({"Circulation pump of the heating circuit"});
    auto pump = MakeSeries(TDrawingKind::OffsetLine, {{1.0, 0.0}, {1.5, 100.0}});
    view.LowerTarget().AttachSeries(*pump);

    view.RepaintNow();
    const QRect upper = bench.chart->axisRect()->rect();
    const QRect lower = bench.chart2->axisRect()->rect();
    EXPECT_EQ(upper.left(), lower.left());
    EXPECT_EQ(upper.right(), lower.right());
    EXPECT_GT(upper.left(), 100); // the lane name is wider than the numbers

    // Taking the outputs away narrows both charts' left side together.
    view.LowerTarget().DetachAll();
    view.SetOutputLanes({});
    view.SetPlaceholders(false, true, true);
    view.RepaintNow();
    EXPECT_EQ(bench.chart->axisRect()->rect().left(), bench.chart2->axisRect()->rect().left());
    EXPECT_EQ(bench.chart->axisRect()->rect().right(), bench.chart2->axisRect()->rect().right());
    EXPECT_LT(bench.chart->axisRect()->rect().left(), upper.left());
}

TEST(ChartView, TheLowerTimeAxisFollowsTheUpperOne)
{
    TChartTestBench bench;
    TChartView& view = *bench.view;
    // Today at creation.
    EXPECT_DOUBLE_EQ(view.WindowEnd() - view.WindowStart(), 1.0);
    EXPECT_EQ(bench.chart2->xAxis->range(), bench.chart->xAxis->range());

    view.SetTimeWindow(45001.5, 45001.25);
    EXPECT_DOUBLE_EQ(bench.chart2->xAxis->range().lower, 45001.25);
    EXPECT_DOUBLE_EQ(bench.chart2->xAxis->range().upper, 45001.5);
    // A zoom on the upper chart moves the lower one as well.
    bench.chart->xAxis->setRange(45001.3, 45001.4);
    EXPECT_DOUBLE_EQ(bench.chart2->xAxis->range().lower, 45001.3);

    view.SetTimeLabelFormat(" dd. mmm ");
    view.SetTimeIncrement(7);
    EXPECT_EQ(view.TimeLabelFormat(), " dd. mmm ");
    EXPECT_DOUBLE_EQ(view.TimeIncrement(), 7.0);
}

TEST(ChartView, TitleTakesRoomOnlyWhenItHasText)
{
    TChartTestBench bench;
    TChartView& view = *bench.view;
    view.SetPlaceholders(true, false, false);
    view.RepaintNow();
    const int topWithout = bench.chart->axisRect()->rect().top();
    view.SetTitle("01. Mar 2024");
    view.RepaintNow();
    EXPECT_GT(bench.chart->axisRect()->rect().top(), topWithout + 5);
    EXPECT_EQ(view.Title(), "01. Mar 2024");
    view.SetTitle("");
    view.RepaintNow();
    EXPECT_EQ(bench.chart->axisRect()->rect().top(), topWithout);
}

TEST(ChartView, RenderedChartsShowLineBarAndOutputLane)
{
    TChartTestBench bench;
    TChartView& view = *bench.view;
    view.SetTimeWindow(4.0, 1.0);
    bench.chart->yAxis->setRange(0, 100);
    bench.chart->yAxis2->setRange(0, 100);
    const QColor red(255, 0, 0), blue(0, 0, 255), green(0, 128, 0);

    auto temperature = MakeSeries(TDrawingKind::Line, {{1.0, 80.0}, {4.0, 80.0}}, 255);
    auto yield = MakeSeries(TDrawingKind::SumBars, {{2.9, 60.0}}, 16711680, TVerticalAxis::Right);
    auto pump = MakeSeries(TDrawingKind::OffsetArea, {{1.0, 0.0}, {2.0, 100.0}, {3.0, 0.0}}, 32768);
    pump->Style().offset = -150;
    pump->Style().stairs = true;
    view.UpperTarget().AttachSeries(*temperature);
    view.UpperTarget().AttachSeries(*yield);
    view.LowerTarget().AttachSeries(*pump);
    view.SetOutputLanes({"Pump", "Valve"});

    const QImage upper = bench.Render(*bench.chart);
    const QCPAxis* x = bench.chart->xAxis;
    EXPECT_TRUE(ColourNear(upper, x->coordToPixel(1.5), bench.chart->yAxis->coordToPixel(80), red));
    // The bar of day 2 stands at its midday, from 0 up to 60; the next day has none.
    const double barTop = bench.chart->yAxis2->coordToPixel(60);
    const double barFoot = bench.chart->yAxis2->coordToPixel(0);
    EXPECT_TRUE(ColourNear(upper, x->coordToPixel(2.5), (barTop + barFoot) / 2, blue, 0));
    EXPECT_TRUE(ColourNear(upper, x->coordToPixel(2.2), barFoot - 3, blue, 0));
    EXPECT_FALSE(ColourNear(upper, x->coordToPixel(3.5), (barTop + barFoot) / 2, blue, 3));
    EXPECT_FALSE(ColourNear(upper, x->coordToPixel(2.5), barTop - 10, blue, 3));

    // The second lane's area is filled from its zero line (−150) up to 100 % (−50) on
    // day 2 only.
    const QImage lower = bench.Render(*bench.chart2);
    const QCPAxis* x2 = bench.chart2->xAxis;
    const QCPAxis* lanes = bench.chart2->yAxis;
    EXPECT_TRUE(ColourNear(lower, x2->coordToPixel(2.5), lanes->coordToPixel(-100), green, 0));
    EXPECT_FALSE(ColourNear(lower, x2->coordToPixel(1.5), lanes->coordToPixel(-100), green, 2));
    EXPECT_FALSE(ColourNear(lower, x2->coordToPixel(2.5), lanes->coordToPixel(-30), green, 2));
}

TEST(ChartView, ARectangleZoomOnTheUpperChartMovesBothChartsAndBothValueAxes)
{
    TChartTestBench bench;
    TChartView& view = *bench.view;
    view.SetTimeWindow(2.0, 1.0);
    bench.chart->yAxis->setRange(0, 100);
    bench.chart->yAxis2->setRange(0, 10);
    auto line = MakeSeries(TDrawingKind::Line, {{1.0, 10.0}, {2.0, 90.0}});
    view.UpperTarget().AttachSeries(*line);
    view.RepaintNow();

    const QRect area = bench.chart->axisRect()->rect();
    const QPoint from = area.topLeft() + QPoint(area.width() / 4, area.height() / 4);
    const QPoint to = area.topLeft() + QPoint(area.width() / 2, area.height() / 2);
    QTest::mousePress(bench.chart, Qt::LeftButton, {}, from);
    QTest::mouseMove(bench.chart, to);
    QTest::mouseRelease(bench.chart, Qt::LeftButton, {}, to);

    EXPECT_NEAR(bench.chart->xAxis->range().lower, 1.25, 0.01);
    EXPECT_NEAR(bench.chart->xAxis->range().upper, 1.5, 0.01);
    EXPECT_EQ(bench.chart2->xAxis->range(), bench.chart->xAxis->range());
    EXPECT_NEAR(bench.chart->yAxis->range().upper, 75.0, 1.0);
    EXPECT_NEAR(bench.chart->yAxis2->range().upper, 7.5, 0.1);

    // Dragging on the lower chart zooms nothing.
    const QRect lower = bench.chart2->axisRect()->rect();
    QTest::mousePress(bench.chart2, Qt::LeftButton, {}, lower.center());
    QTest::mouseMove(bench.chart2, lower.center() + QPoint(40, 10));
    QTest::mouseRelease(bench.chart2, Qt::LeftButton, {}, lower.center() + QPoint(40, 10));
    EXPECT_NEAR(bench.chart2->xAxis->range().lower, 1.25, 0.01);
}

TEST(ChartView, WiderSideMarginsNarrowBothPlotAreasAlike)
{
    TChartTestBench bench;
    TChartView& view = *bench.view;
    view.SetPlaceholders(true, false, true);
    view.RepaintNow();
    const QRect narrow = bench.chart->axisRect()->rect();
    view.SetSideMargins(3);
    view.RepaintNow();
    const QRect wide = bench.chart->axisRect()->rect();
    const int extra = bench.chart->width() * 3 / 100 - bench.chart->width() / 100;
    EXPECT_EQ(wide.left(), narrow.left() + extra);
    EXPECT_EQ(wide.right(), narrow.right() - extra);
    EXPECT_EQ(bench.chart2->axisRect()->rect().left(), wide.left());
}

namespace {

// How far the dark pixels of the columns [left, right] lie, on average, below the middle
// of their own extent (negative: above it).
double InkBelowMiddle(const QImage& image, int left, int right)
{
    int top = image.height();
    int bottom = -1;
    double sum = 0;
    int count = 0;
    for (int x = std::max(left, 0); x <= std::min(right, image.width() - 1); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (qGray(image.pixel(x, y)) < 128) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                sum += y;
                ++count;
            }
    return count == 0 ? 0.0 : sum / count - (top + bottom) / 2.0;
}

} // namespace

TEST(ChartView, TheRightAxisTitleReadsFromBottomToTopLikeTheLeftOne)
{
    TChartTestBench bench;
    QCustomPlot& chart = *bench.chart;
    // Heavy letters first: where they stand shows which way the title reads.
    const QString title = QStringLiteral("MMMMMMMMMM..........");
    auto left = MakeSeries(TDrawingKind::Line, {{1.2, 12.6}, {1.5, 57.9}});
    auto right = MakeSeries(
        TDrawingKind::OffsetLine, {{1.1, 3.7}, {1.9, 46.2}}, 255, TVerticalAxis::Right);
    bench.view->UpperTarget().AttachSeries(*left);
    bench.view->UpperTarget().AttachSeries(*right);
    bench.Render(chart);
    chart.yAxis->setLabel(title);
    chart.yAxis2->setLabel(title);
    chart.replot();
    const QImage image = chart.toPixmap(chart.width(), chart.height()).toImage();
    ASSERT_EQ(image.devicePixelRatio(), 1.0);
    // The titles' columns, short of the tick labels.
    const int band = 2 * QFontMetrics(chart.yAxis2->labelFont()).height();
    const QRect outer = chart.axisRect()->outerRect();
    // The heavy letters stand in the lower part of both titles.
    EXPECT_GT(InkBelowMiddle(image, outer.left(), outer.left() + band), 5.0);
    EXPECT_GT(InkBelowMiddle(image, outer.right() - band, outer.right()), 5.0);
}
