// The charts and value lists of a real analysis window loaded from sample logs, used
// as a user uses them: ticking values, switching tabs, changing the language.
#include "support/LoadedWindow.h"
#include "ui/analysis/Childform.h"

#include "core/base/LanguageTable.h"
#include "core/loading/LoadLogFiles.h"
#include "core/logdata/LogAnalysis.h"
#include "core/settings/IniSettings.h"
#include "samplegen/SampleGenerator.h"
#include "support/GuiTestHelpers.h"
#include "support/TestFiles.h"
#include "ui/analysis/ChartView.h"
#include "ui/analysis/GraphPanel.h"
#include "ui/analysis/ValueSelector.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QMdiArea>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

#include <qcustomplot.h>

#include <gtest/gtest.h>

namespace {

class ChildformChartTest : public testing::Test {
protected:
    void SetUp() override
    {
        SelectLanguage(2);
        TSampleOptions options;
        options.outputDir = samples.path().toStdString();
        options.from = {2024, 3, 1};
        options.to = {2024, 3, 2};
        options.devices = {10, 21, 30};
        options.layout = TSampleLayout::Flat;
        options.faults = false;
        GenerateSampleLogs(options);
        area.resize(1100, 760);
        area.show();
        TLoadResult result;
        child = OpenLoadedWindow(area, samples.path().toStdString(), EncodeDate(2024, 3, 1),
            EncodeDate(2024, 3, 2), result);
        ASSERT_TRUE(result.failures.empty());
    }
    void TearDown() override
    {
        area.closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ReleaseIniSettings();
        SelectLanguage(1);
    }

    TLogAnalysis& Device(int index) { return *child->AnalysisSet().Analysis(index); }
    int Field(int device, const std::string& name)
    {
        int index = -1;
        Device(device).DeviceSettings()->IndexOfValue(name, index);
        return index;
    }
    // The row of a field in the list shown in front.
    TGraphPanel* Row(int device, const std::string& name)
    {
        for (QScrollArea* scroll : child->findChildren<QScrollArea*>())
            if (scroll->isVisible())
                for (TGraphPanel* row : RowsOf(*scroll))
                    if (&row->Analysis() == &Device(device)
                        && row->ValueIndex() == Field(device, name))
                        return row;
        return nullptr;
    }
    void Tick(int device, const std::string& name)
    {
        TGraphPanel* row = Row(device, name);
        ASSERT_TRUE(row) << name;
        QTest::mouseClick(row->PlotBox, Qt::LeftButton, {}, QPoint(6, 8));
    }
    bool Drawn(int device, const std::string& name)
    {
        const TFieldSeries* series = Device(device).Series(Field(device, name));
        return series
            && (child->ChartView().UpperTarget().Holds(*series)
                || child->ChartView().LowerTarget().Holds(*series));
    }

    TemporarySettingsLocation location;
    QTemporaryDir samples;
    QMdiArea area;
    TChildform* child = nullptr;
};

TEST_F(ChildformChartTest, TickingAValuePlotsItAtOnce)
{
    QSignalSpy changes(child, &TChildform::SeriesChanged);
    EXPECT_FALSE(child->HasSeries());
    Tick(0, "T1");
    EXPECT_TRUE(Drawn(0, "T1"));
    EXPECT_TRUE(child->HasSeries());
    EXPECT_EQ(child->Chart->yAxis->label(), "[°C]");
    EXPECT_EQ(changes.count(), 1);
    Tick(0, "R1");
    EXPECT_EQ(child->ChartView().OutputLaneNames(), QStringList{"R1"});

    // Another device's tab shows only its own values; coming back restores them.
    child->TabSetDevices->setCurrentIndex(1);
    EXPECT_FALSE(child->HasSeries());
    EXPECT_TRUE(Row(1, "TA"));
    child->TabSetDevices->setCurrentIndex(0);
    EXPECT_TRUE(Drawn(0, "T1"));
    EXPECT_TRUE(Row(0, "T1")->PlotBox->isChecked());
    EXPECT_EQ(child->ChartView().OutputLaneNames(), QStringList{"R1"});

    Tick(0, "T1");
    EXPECT_FALSE(Drawn(0, "T1"));
}

TEST_F(ChildformChartTest, TheOverviewTabShowsWhatIsMarkedOnTheDevices)
{
    Tick(0, "T1");
    QTest::mouseClick(Row(0, "T1")->OverviewBox, Qt::LeftButton, {}, QPoint(6, 8));
    child->TabSetDevices->setCurrentIndex(1);
    Tick(1, "PU");
    QTest::mouseClick(Row(1, "PU")->OverviewBox, Qt::LeftButton, {}, QPoint(6, 8));

    child->TabSetDevices->setCurrentIndex(3); // "Overview"
    EXPECT_TRUE(child->OverviewTabActive());
    EXPECT_TRUE(child->Overview->isVisible());
    const QList<TGraphPanel*> rows = RowsOf(*child->Overview);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0]->Name(), "T1");
    EXPECT_EQ(rows[1]->Name(), "PU");
    EXPECT_TRUE(Drawn(0, "T1"));
    EXPECT_TRUE(Drawn(1, "PU"));
    EXPECT_EQ(child->ChartView().OutputLaneNames(), QStringList{"PU"});
    EXPECT_EQ(child->HeaderControl->parentWidget(), child->Overview->widget());

    // A closed analysis leaves no rows behind that point at it.
    child->ResetToEmpty();
    EXPECT_TRUE(RowsOf(*child->Overview).isEmpty());
    EXPECT_FALSE(child->HasSeries());
}

TEST_F(ChildformChartTest, BeginningANewLoadEmptiesTheWindowNotOnlyTheAnalysis)
{
    Tick(0, "T1");
    QTest::mouseClick(Row(0, "T1")->OverviewBox, Qt::LeftButton, {}, QPoint(6, 8));
    child->TabSetDevices->setCurrentIndex(3); // "Overview"
    ASSERT_FALSE(RowsOf(*child->Overview).isEmpty());
    ASSERT_TRUE(child->HasSeries());

    child->AnalysisSet().BeginLoad(1, {"10"}, EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 1));
    EXPECT_TRUE(RowsOf(*child->Overview).isEmpty());
    EXPECT_FALSE(child->HasSeries());
    EXPECT_EQ(child->TabSetDevices->count(), 0);
    EXPECT_EQ(child->ChartTitle(), QString());
    EXPECT_TRUE(child->Overview->isVisible());
}

TEST_F(ChildformChartTest, ADeviceWhoseFilesAllFailedShowsAnEmptyList)
{
    WriteTestFile(samples.filePath("05240301.csv").toStdString(), "no log file\r\n");
    const TLoadResult result = LoadLogFiles(child->AnalysisSet(),
        FindLogFiles(samples.path().toStdString()), EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 2));
    ASSERT_EQ(result.failures.size(), 1u);
    child->FinishLoad();
    ASSERT_EQ(child->TabSetDevices->count(), 5);
    child->TabSetDevices->setCurrentIndex(1);
    QTest::mouseClick(Row(1, "T1")->OverviewBox, Qt::LeftButton, {}, QPoint(6, 8));
    child->TabSetDevices->setCurrentIndex(4); // "Overview"
    ASSERT_FALSE(RowsOf(*child->Overview).isEmpty());

    child->TabSetDevices->setCurrentIndex(0); // 05: nothing was read
    EXPECT_FALSE(child->Overview->isVisible()) << "no leftover rows of the Overview tab";
    QList<QScrollArea*> shown;
    for (QScrollArea* list : child->PanelGraphPanels->findChildren<QScrollArea*>())
        if (list->isVisible())
            shown << list;
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(RowsOf(*shown[0]).isEmpty());
    EXPECT_EQ(child->HeaderControl->parentWidget(), shown[0]->widget());
}

TEST_F(ChildformChartTest, ALanguageChangeRebuildsTheListsWithTheirTicks)
{
    Tick(0, "T2");
    SelectLanguage(1);
    child->ApplyLanguageAndLayout();
    TGraphPanel* row = Row(0, "T2");
    ASSERT_TRUE(row);
    EXPECT_TRUE(row->PlotBox->isChecked());
    EXPECT_TRUE(Drawn(0, "T2"));
    // Ticking in the new list still plots.
    Tick(0, "T3");
    EXPECT_TRUE(Drawn(0, "T3"));
}

TEST_F(ChildformChartTest, TheWindowsChartsShowTheTickedLineAndLaneAlignedToEachOther)
{
    Tick(0, "T1");
    Tick(0, "R1");
    child->ChartView().RepaintNow();
    QCustomPlot* chart = child->Chart;
    QCustomPlot* chart2 = child->Chart2;
    EXPECT_EQ(chart->axisRect()->rect().left(), chart2->axisRect()->rect().left());
    EXPECT_EQ(chart->axisRect()->rect().right(), chart2->axisRect()->rect().right());

    // T1 at noon on the first day is drawn in its colour (red) where its value lies.
    const TFieldSeries& t1 = *Device(0).Series(Field(0, "T1"));
    const double noon = EncodeDate(2024, 3, 1) + 0.5;
    const int at = t1.Points().LowerBound(noon);
    ASSERT_LT(at, t1.Points().Count());
    const QImage upper = chart->toPixmap(chart->width(), chart->height()).toImage();
    const QPoint p(static_cast<int>(chart->xAxis->coordToPixel(t1.Points().X(at))),
        static_cast<int>(chart->yAxis->coordToPixel(t1.Points().Y(at))));
    bool red = false;
    for (int dx = -2; dx <= 2; ++dx)
        for (int dy = -2; dy <= 2; ++dy)
            red = red || upper.pixelColor(p + QPoint(dx, dy)) == QColor(255, 0, 0);
    EXPECT_TRUE(red);

    // R1 is drawn in its lane, between −0 and 100 around its own zero line.
    const QImage lower = chart2->toPixmap(chart2->width(), chart2->height()).toImage();
    int redInLane = 0;
    const int top = static_cast<int>(chart2->yAxis->coordToPixel(100));
    const int bottom = static_cast<int>(chart2->yAxis->coordToPixel(0));
    for (int x = chart2->axisRect()->left(); x < chart2->axisRect()->right(); ++x)
        for (int y = top - 1; y <= bottom + 1; ++y)
            redInLane += lower.pixelColor(x, y) == QColor(255, 0, 0);
    EXPECT_GT(redInLane, chart2->axisRect()->width() / 2);
}

} // namespace
