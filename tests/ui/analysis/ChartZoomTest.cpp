// Zooming and panning the upper chart with the mouse, and undoing the zoom.
#include "ui/analysis/NavigationWindowFixture.h"

#include "core/loading/TimeWindow.h"
#include "ui/analysis/ChartView.h"
#include "ui/analysis/ChartZoom.h"

#include <QComboBox>
#include <QSlider>
#include <QTest>

#include <qcustomplot.h>

using ChartZoomTest = NavigationWindowFixture;

TEST_F(ChartZoomTest, ANarrowRectangleGivesExactlyOneHourAroundItsCentre)
{
    QCustomPlot* chart = child->Chart;
    Drag(chart, PixelAt(chart, At(3, 1, 10), 200), PixelAt(chart, At(3, 1, 10, 20), 0),
        Qt::LeftButton);
    EXPECT_TRUE(child->Zoom().Zoomed());
    EXPECT_NEAR(End() - Start(), 1.0 / 24, 1e-9);
    EXPECT_NEAR((Start() + End()) / 2, At(3, 1, 10, 10), 3.0 / 1440);
    EXPECT_EQ(child->Chart2->xAxis->range(), chart->xAxis->range());
    EXPECT_NEAR(chart->yAxis->range().lower, 0, 2);
    EXPECT_NEAR(chart->yAxis->range().upper, 200, 2);
    // Labels of a day window keep their format.
    EXPECT_EQ(child->ChartView().TimeLabelFormat(), "hh:mm");
    EXPECT_FALSE(child->ChartView().TimeExactDateTime());

    // A flat stretch still spans 0.01 of value.
    chart->yAxis->setRange(20, 20.004);
    child->Zoom().ChartZoom();
    EXPECT_NEAR(chart->yAxis->range().lower, 19.997, 1e-9);
    EXPECT_NEAR(chart->yAxis->range().upper, 20.007, 1e-9);

    // A double-click brings the day and its value axis back.
    QTest::mouseDClick(chart, Qt::LeftButton, {}, PixelAt(chart, At(3, 1, 10, 10), 100));
    EXPECT_FALSE(child->Zoom().Zoomed());
    EXPECT_EQ(Start(), At(3, 1));
    EXPECT_EQ(End(), At(3, 2));
    EXPECT_EQ(chart->yAxis->range(), QCPRange(-40, 250));
    EXPECT_TRUE(child->ChartView().TimeExactDateTime());
}

TEST_F(ChartZoomTest, ZoomingAMonthBelowAWeekShowsHoursUntilUndoneByARightToLeftDrag)
{
    Choose(SpanOneMonth);
    QCustomPlot* chart = child->Chart;
    Drag(chart, PixelAt(chart, At(3, 2), 200), PixelAt(chart, At(3, 5), 0), Qt::LeftButton);
    EXPECT_TRUE(child->Zoom().Zoomed());
    EXPECT_EQ(child->ChartView().TimeLabelFormat(), " dd. mmm hh:mm ");
    EXPECT_NEAR(child->ChartView().TimeIncrement(), 1.0 / 24, 1e-12);
    EXPECT_EQ(child->Zoom().Cache().DateTimeFormat, " dd. mmm ");
    Repaint();

    // A rectangle drawn backwards undoes the zoom and does not zoom.
    Drag(chart, PixelAt(chart, At(3, 4), 150), PixelAt(chart, At(3, 3), 50), Qt::LeftButton);
    EXPECT_FALSE(child->Zoom().Zoomed());
    EXPECT_EQ(child->ChartView().TimeLabelFormat(), " dd. mmm ");
    EXPECT_EQ(child->ChartView().TimeIncrement(), 0);
    EXPECT_EQ(Start(), At(3, 1));
    EXPECT_EQ(End(), At(4, 1));

    // Wider than a week: whole days.
    Drag(chart, PixelAt(chart, At(3, 2), 200), PixelAt(chart, At(3, 12), 0), Qt::LeftButton);
    EXPECT_EQ(child->ChartView().TimeLabelFormat(), " dd. mmm ");
    EXPECT_EQ(child->ChartView().TimeIncrement(), 1);
}

TEST_F(ChartZoomTest, AClickThatDriftsAFewPixelsLeftKeepsTheZoom)
{
    QCustomPlot* chart = child->Chart;
    Drag(chart, PixelAt(chart, At(3, 1, 6), 200), PixelAt(chart, At(3, 1, 12), 0), Qt::LeftButton);
    ASSERT_TRUE(child->Zoom().Zoomed());
    const QCPRange zoomed = chart->xAxis->range();
    Repaint();
    const QPoint at = PixelAt(chart, At(3, 1, 9), 100);
    // Within the library's click tolerance either way: a click, neither zoom nor undo.
    for (const QPoint drift : {QPoint(-1, 0), QPoint(-2, 1), QPoint(-3, 0), QPoint(3, 0)}) {
        Drag(chart, at, at + drift, Qt::LeftButton);
        EXPECT_TRUE(child->Zoom().Zoomed()) << drift.x() << "," << drift.y();
        EXPECT_EQ(chart->xAxis->range(), zoomed) << drift.x() << "," << drift.y();
    }
    Drag(chart, at, at + QPoint(-4, 0), Qt::LeftButton);
    EXPECT_FALSE(child->Zoom().Zoomed()) << "past it, the gesture undoes the zoom";
}

TEST_F(ChartZoomTest, MovingOnUndoesTheZoomFirst)
{
    QCustomPlot* chart = child->Chart;
    Drag(chart, PixelAt(chart, At(3, 1, 6), 200), PixelAt(chart, At(3, 1, 12), 0), Qt::LeftButton);
    ASSERT_TRUE(child->Zoom().Zoomed());
    child->SliderTime->setValue(1);
    EXPECT_FALSE(child->Zoom().Zoomed());
    EXPECT_EQ(Start(), At(3, 2));
    EXPECT_EQ(End(), At(3, 3));
    EXPECT_EQ(chart->yAxis->range(), QCPRange(-40, 250));
}

TEST_F(ChartZoomTest, DraggingWithTheRightButtonKeepsTheGrabbedValuesUnderThePointer)
{
    QCustomPlot* chart = child->Chart;
    const QCPRange time = chart->xAxis->range();
    const QPoint from = PixelAt(chart, At(3, 1, 12), 100);
    const QPoint to = from + QPoint(40, 60);
    const double left = chart->yAxis->pixelToCoord(from.y());
    const double right = chart->yAxis2->pixelToCoord(from.y());
    Drag(chart, from, to, Qt::RightButton);
    EXPECT_NEAR(chart->yAxis->pixelToCoord(to.y()), left, 1e-6);
    EXPECT_GT(chart->yAxis->range().upper, 250);
    EXPECT_NEAR(chart->yAxis2->pixelToCoord(to.y()), right, 1e-6);
    EXPECT_NEAR(chart->yAxis->range().size(), 290, 1e-9);
    EXPECT_EQ(chart->xAxis->range(), time);
    EXPECT_FALSE(child->Zoom().Zoomed());
}
