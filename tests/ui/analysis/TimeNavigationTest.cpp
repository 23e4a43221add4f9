// Moving through the logs with the time-window list, the slider, the buttons and the
// keys of the chart, and what the title says after each move.
#include "ui/analysis/NavigationWindowFixture.h"

#include "core/base/DateTime.h"
#include "core/loading/TimeWindow.h"
#include "ui/analysis/ChartView.h"
#include "ui/analysis/TimeNavigation.h"
#include "ui/common/XPButton.h"

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QSlider>
#include <QTabBar>
#include <QTest>

#include <qcustomplot.h>

using TimeNavigationTest = NavigationWindowFixture;

namespace {

QString Day(TDateTime t)
{
    return QString::fromStdString(FormatDateTime("dd. mmm yyyy", t));
}

} // namespace

TEST_F(TimeNavigationTest, EightHoursChosenLateInTheDayEndAtMidnight)
{
    child->SetTimeWindow(At(3, 2, 21), At(3, 2, 20));
    Choose(SpanEightHours);
    EXPECT_NEAR(Start(), At(3, 2, 16), 1e-9);
    EXPECT_NEAR(End(), At(3, 3), 1e-9);
    EXPECT_EQ(child->SliderTime->maximum(), 16);
    EXPECT_EQ(child->SliderTime->value(), 16);
    EXPECT_EQ(child->Chart->xAxis->range().lower, Start());
    EXPECT_EQ(child->Chart2->xAxis->range(), child->Chart->xAxis->range());
    EXPECT_EQ(child->ChartView().TimeLabelFormat(), "hh:mm");
    EXPECT_EQ(Title(), Day(At(3, 2)));

    // The slider moves by whole hours within the day.
    child->SliderTime->setValue(3);
    EXPECT_NEAR(Start(), At(3, 2, 3), 1e-9);
    EXPECT_NEAR(End(), At(3, 2, 11), 1e-9);
}

TEST_F(TimeNavigationTest, JumpingByDaysSkipsDaysWithoutLogsAndStopsOnTheLast)
{
    ASSERT_EQ(child->SpanTime->currentIndex(), SpanOneDay);
    EXPECT_EQ(Title(), Day(At(3, 1)));
    QTest::mouseClick(child->ButtonJumpRight, Qt::LeftButton);
    EXPECT_EQ(Start(), At(3, 2));
    QTest::mouseClick(child->ButtonJumpRight, Qt::LeftButton);
    EXPECT_EQ(Start(), At(3, 5));
    EXPECT_EQ(End(), At(3, 6));
    EXPECT_EQ(Title(), Day(At(3, 5)));
    QTest::mouseClick(child->ButtonJumpRight, Qt::LeftButton);
    EXPECT_EQ(Start(), At(3, 5));
    EXPECT_EQ(child->SliderTime->value(), 2);
    QTest::mouseClick(child->ButtonJumpLeft, Qt::LeftButton);
    EXPECT_EQ(Start(), At(3, 2));
}

TEST_F(TimeNavigationTest, JumpingBackAnHourWindowLeavesTheRange)
{
    child->SetTimeWindow(At(3, 1, 11), At(3, 1, 10));
    Choose(SpanOneHour);
    EXPECT_NEAR(Start(), At(3, 1, 10), 1e-9);
    QTest::mouseClick(child->ButtonJumpLeft, Qt::LeftButton);
    EXPECT_NEAR(Start(), EncodeDate(2024, 2, 29) + 10 / 24.0, 1e-9);
    EXPECT_NEAR(End(), EncodeDate(2024, 2, 29) + 11 / 24.0, 1e-9);
    EXPECT_EQ(child->SliderTime->value(), 10);
    EXPECT_EQ(Title(), Day(EncodeDate(2024, 2, 29)));
}

TEST_F(TimeNavigationTest, HoldingPlusScrollsByAFortiethOfTheWindowUntilReleased)
{
    child->SetTimeWindow(At(3, 1, 9), At(3, 1, 6));
    Choose(SpanThreeHours);
    const double start = Start();
    QTest::mousePress(child->ButtonScrollRight, Qt::LeftButton);
    EXPECT_EQ(child->Navigation().ScrollTimer().interval(), 25);
    QTest::qWait(160);
    QTest::mouseRelease(child->ButtonScrollRight, Qt::LeftButton);
    const double moved = Start() - start;
    const double steps = moved / (4.5 / 1440);
    EXPECT_GE(steps, 1.0);
    EXPECT_NEAR(steps, std::round(steps), 1e-6);
    EXPECT_NEAR(End() - Start(), 0.125, 1e-9);
    EXPECT_FALSE(child->Navigation().ScrollTimer().isActive());
    QTest::qWait(80);
    EXPECT_EQ(Start() - start, moved);

    // Each space key on the button is one step.
    child->ButtonScrollLeft->setFocus();
    QTest::keyClick(child->ButtonScrollLeft, Qt::Key_Space);
    EXPECT_NEAR(Start() - start, moved - 4.5 / 1440, 1e-9);
}

TEST_F(TimeNavigationTest, AQuickSecondClickOnMinusScrollsLikeTheFirst)
{
    child->SetTimeWindow(At(3, 1, 9), At(3, 1, 6));
    Choose(SpanThreeHours);
    TXPButton* minus = child->ButtonScrollLeft;
    const QPoint at = minus->rect().center();
    // What the window system sends for two quick clicks: press, release, then the
    // second press as a double-click.
    const auto hold = [&](QEvent::Type press) {
        const double before = Start();
        QMouseEvent down(press, at, minus->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(minus, &down);
        QTest::qWait(120);
        QTest::mouseRelease(minus, Qt::LeftButton, {}, at);
        return before - Start();
    };
    EXPECT_GT(hold(QEvent::MouseButtonPress), 0);
    EXPECT_GT(hold(QEvent::MouseButtonDblClick), 0);
    EXPECT_FALSE(child->Navigation().ScrollTimer().isActive());
}

TEST_F(TimeNavigationTest, MonthWindowFromTheMiddleOfAMonthShowsTheWholeMonth)
{
    child->SetTimeWindow(At(3, 18), At(3, 17));
    Choose(SpanOneMonth);
    EXPECT_EQ(Start(), At(3, 1));
    EXPECT_EQ(End(), At(4, 1));
    EXPECT_EQ(child->ChartView().TimeLabelFormat(), " dd. mmm ");
    EXPECT_EQ(child->SliderTime->maximum(), 0);
    EXPECT_EQ(child->SliderTime->value(), 0);
    EXPECT_FALSE(child->ActionOpenExcel->isEnabled());

    // Both yields of the month from the overview, rates turned into amounts.
    const QString title = Title();
    const QString month = QString::fromStdString(FormatDateTime("mmm yyyy", At(3, 1)));
    EXPECT_TRUE(title.contains(QRegularExpression(
        "^" + month + "  -  Monthly yield V: \\d+,\\d\\d \\[l\\]  -  Q: \\d+,\\d\\d \\[kWh\\]$")))
        << title.toStdString();
    EXPECT_EQ(title.mid(month.size() + 5).toStdString(), child->Navigation().YieldText());

    // The "Overview" tab has no yield.
    child->TabSetDevices->setCurrentIndex(child->TabSetDevices->count() - 1);
    EXPECT_EQ(Title(), month);

    Choose(SpanOneYear);
    EXPECT_EQ(Start(), At(1, 1));
    EXPECT_EQ(End(), EncodeDate(2025, 1, 1));
    EXPECT_EQ(child->ChartView().TimeIncrement(), 7);
    EXPECT_EQ(Title(),
        QString::fromStdString(
            FormatDateTime("mmm yyyy", At(1, 1)) + " - " + FormatDateTime("mmm yyyy", At(12, 1))));
}

TEST_F(TimeNavigationTest, ChartKeysScrollJumpAndGoToTheEnds)
{
    child->Chart->setFocus();
    QTest::keyClick(child->Chart, Qt::Key_End);
    EXPECT_EQ(Start(), At(3, 5));
    QTest::keyClick(child->Chart, Qt::Key_Home);
    EXPECT_EQ(Start(), At(3, 1));
    QTest::keyClick(child->Chart, Qt::Key_PageDown);
    EXPECT_EQ(Start(), At(3, 2));
    QTest::keyClick(child->Chart, Qt::Key_PageUp);
    EXPECT_EQ(Start(), At(3, 1));
    QTest::keyClick(child->Chart, Qt::Key_Right);
    EXPECT_NEAR(Start(), At(3, 1) + 0.025, 1e-9);
    QTest::keyClick(child->Chart, Qt::Key_Left);
    EXPECT_NEAR(Start(), At(3, 1), 1e-9);
    EXPECT_FALSE(child->ButtonScrollRight->toolTip().isEmpty());
    EXPECT_NE(child->ButtonScrollRight->toolTip(), child->ButtonJumpRight->toolTip());
}
