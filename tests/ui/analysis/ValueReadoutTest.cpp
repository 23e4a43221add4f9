// The read-out under the pointer and the two markers, read as a user reads them.
#include "ui/analysis/NavigationWindowFixture.h"

#include "core/base/Numbers.h"
#include "core/loading/TimeWindow.h"
#include "core/logdata/LogAnalysis.h"
#include "ui/analysis/ChartZoom.h"
#include "ui/analysis/ValueReadout.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QTest>
#include <QTextDocument>

#include <qcustomplot.h>

namespace {

class ValueReadoutTest : public NavigationWindowFixture {
protected:
    const TFieldSeries& Series(const std::string& name)
    {
        TLogAnalysis& solar = *child->AnalysisSet().Analysis(0);
        int field = -1;
        solar.DeviceSettings()->IndexOfValue(name, field);
        return *solar.Series(field);
    }
    // The read-out's text as the user reads it.
    QString Shown(QLabel* label)
    {
        QTextDocument document;
        document.setHtml(label->text());
        return document.toPlainText();
    }
    QString Label(const std::string& name)
    {
        return QString::fromStdString(Series(name).Style().title);
    }
    double Middle() const { return child->Chart->yAxis->range().center(); }
    static QString Amount(double v) { return QString::fromStdString(FormatAmount(v)); }
    TValueReadout& Readout() { return child->Readout(); }
};

} // namespace

TEST_F(ValueReadoutTest, ALoggedValueHoldsUntilTheNextReadingAndABreakShowsADash)
{
    Tick(0, "T1");
    Repaint();
    const TPointSeries& points = Series("T1").Points();
    // A reading of 1 March with the next one at least two minutes later.
    int i = 1;
    while (
        i + 1 < points.Count() && (points.X(i + 1) - points.X(i) < 2.5 / 1440 || points.IsNull(i)))
        ++i;
    ASSERT_LT(i + 1, points.Count());
    const double between = (points.X(i) + points.X(i + 1)) / 2;
    const QPoint at = PixelAt(child->Chart, between, Middle());
    Move(child->Chart, at);
    ASSERT_TRUE(Readout().Box()->isVisible());
    EXPECT_TRUE(Readout().Line()->isVisible());
    const QString text = Shown(Readout().Box());
    EXPECT_TRUE(text.contains(Label("T1"))) << text.toStdString();
    const double underPointer = child->Chart->xAxis->pixelToCoord(at.x());
    const double expected = points.Y(points.LowerBound(underPointer) - 1);
    EXPECT_TRUE(text.contains(Amount(expected) + " °C")) << text.toStdString();
    EXPECT_TRUE(Readout().Box()->text().contains(
        QString("color:%1")
            .arg(QColor(Series("T1").Style().color & 0xFF, (Series("T1").Style().color >> 8) & 0xFF,
                (Series("T1").Style().color >> 16) & 0xFF)
                     .name())));
    // The box stays clear of the pointer, the line runs through it.
    const QPoint pointer = child->Chart->mapTo(child->PanelGraph, at);
    EXPECT_FALSE(Readout().Box()->geometry().contains(pointer));
    EXPECT_EQ(Readout().Line()->x(), pointer.x());
    EXPECT_GT(Readout().Line()->geometry().bottom(),
        child->Chart2->mapTo(child->PanelGraph, QPoint(0, 0)).y());

    // 3 March has no log: the line is broken there.
    Choose(SpanOneMonth);
    Move(child->Chart, PixelAt(child->Chart, At(3, 3, 12), Middle()));
    EXPECT_TRUE(Shown(Readout().Box()).contains(Label("T1") + "\t\u2013")
        || Shown(Readout().Box()).contains(Label("T1") + " \u2013")
        || Shown(Readout().Box()).contains(Label("T1") + "\n\u2013"))
        << Shown(Readout().Box()).toStdString();

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(child->Chart, &leave);
    EXPECT_FALSE(Readout().Box()->isVisible());
    EXPECT_FALSE(Readout().Line()->isVisible());
}

TEST_F(ValueReadoutTest, ADayBarShowsThatDaysTotal)
{
    Choose(SpanOneMonth);
    Tick(0, "Vtag");
    Repaint();
    const TPointSeries& bars = Series("Vtag").Points();
    const int march2 = bars.Locate(At(3, 2, 12));
    ASSERT_GE(march2, 0);
    Move(child->Chart, PixelAt(child->Chart, At(3, 2, 17), Middle()));
    EXPECT_TRUE(Shown(Readout().Box()).contains(Amount(bars.Y(march2)) + " l"))
        << Shown(Readout().Box()).toStdString();
}

TEST_F(ValueReadoutTest, TwoMarkersGiveDifferencesAndTheVolumeOfTheDaySum)
{
    Tick(0, "V");
    Tick(0, "T1");
    Repaint();
    QTest::mouseClick(child->Chart, Qt::LeftButton, Qt::ShiftModifier,
        PixelAt(child->Chart, At(3, 1, 6), Middle()));
    ASSERT_TRUE(Readout().MarkerA());
    EXPECT_NEAR(*Readout().MarkerA(), At(3, 1, 6), 3.0 / 1440);
    EXPECT_FALSE(Readout().MarkerB());
    EXPECT_FALSE(Readout().MarkerBox()->isVisible());
    EXPECT_FALSE(child->Zoom().Zoomed());

    // The whole of 1 March: the volume is that day's sum.
    Readout().SetMarker(At(3, 2));
    Readout().SetMarker(At(3, 1));
    EXPECT_FALSE(Readout().MarkerB());
    Readout().SetMarker(At(3, 2));
    ASSERT_TRUE(Readout().MarkerBox()->isVisible());
    const QString text = Shown(Readout().MarkerBox());
    const TPointSeries& daySums = Series("Vtag").Points();
    const int march1 = daySums.Locate(At(3, 1, 12));
    ASSERT_GE(march1, 0);
    EXPECT_TRUE(text.contains(Amount(daySums.Y(march1)) + " l")) << text.toStdString();
    EXPECT_TRUE(text.contains("1 d 00:00")) << text.toStdString();
    EXPECT_TRUE(text.contains(Label("T1"))) << text.toStdString();
    EXPECT_TRUE(
        text.contains(QString::fromStdString(FormatDateTime("dd.mm.yyyy hh:nn", At(3, 2)))));

    child->Chart->setFocus();
    QTest::keyClick(child->Chart, Qt::Key_Escape);
    EXPECT_FALSE(Readout().MarkerA());
    EXPECT_FALSE(Readout().MarkerBox()->isVisible());
}

TEST_F(ValueReadoutTest, BothBoxesFollowTheValuesShownAndTheTimeWindow)
{
    Tick(0, "V");
    Repaint();
    Readout().SetMarker(At(3, 1, 6));
    Readout().SetMarker(At(3, 1, 18));
    ASSERT_TRUE(Readout().MarkerBox()->isVisible());
    EXPECT_FALSE(Shown(Readout().MarkerBox()).contains(Label("T1")));
    Tick(0, "T1");
    EXPECT_TRUE(Shown(Readout().MarkerBox()).contains(Label("T1")))
        << Shown(Readout().MarkerBox()).toStdString();
    Tick(0, "V"); // off again
    EXPECT_FALSE(Shown(Readout().MarkerBox()).contains(Label("V")))
        << Shown(Readout().MarkerBox()).toStdString();

    // Moving a day on by key under a pointer that stays put: the read-out shows the time
    // now under it.
    const QPoint at = PixelAt(child->Chart, At(3, 1, 12), Middle());
    Move(child->Chart, at);
    ASSERT_TRUE(Readout().Box()->isVisible());
    child->Chart->setFocus();
    QTest::keyClick(child->Chart, Qt::Key_PageDown);
    QApplication::processEvents();
    const double now = child->Chart->xAxis->pixelToCoord(at.x());
    ASSERT_GT(now, At(3, 2));
    EXPECT_TRUE(Shown(Readout().Box())
                    .startsWith(QString::fromStdString(FormatDateTime("dd.mm.yyyy hh:nn", now))))
        << Shown(Readout().Box()).toStdString();
}

TEST_F(ValueReadoutTest, TheMarkersStayOffPicturesAsTheirBoxDoes)
{
    Tick(0, "T1");
    Repaint();
    const QImage without = child->ChartOutput().RenderPicture();
    Readout().SetMarker(At(3, 1, 6));
    Readout().SetMarker(At(3, 1, 18));
    Repaint();
    EXPECT_EQ(child->ChartOutput().RenderPicture(), without);
    // On screen they are still there.
    int lines = 0;
    for (int i = 0; i < child->Chart->itemCount(); ++i)
        lines += child->Chart->item(i)->visible();
    EXPECT_EQ(lines, 4); // a line of A and of B, and their letters
}

TEST_F(ValueReadoutTest, TheMarkerBoxLeavesWithTheChartsForTheTable)
{
    Tick(0, "T1");
    Repaint();
    Readout().SetMarker(At(3, 1, 6));
    Readout().SetMarker(At(3, 1, 18));
    ASSERT_TRUE(Readout().MarkerBox()->isVisible());
    child->ShowTableView(true);
    EXPECT_FALSE(Readout().MarkerBox()->isVisible());
    child->ShowTableView(false);
    EXPECT_TRUE(Readout().MarkerBox()->isVisible());
}
