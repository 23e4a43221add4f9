#include "core/base/LanguageTable.h"
#include "core/loading/DirectoryScan.h"
#include "core/logdata/LogAnalysis.h"
#include "core/settings/IniSettings.h"
#include "support/GuiTestHelpers.h"
#include "support/LoadedWindow.h"
#include "support/TestFiles.h"
#include "ui/analysis/ChartView.h"
#include "ui/analysis/ChartWindowFixture.h"
#include "ui/analysis/Childform.h"
#include "ui/analysis/GraphPanel.h"
#include "ui/analysis/TableGrid.h"
#include "ui/common/XPButton.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSplitter>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <qcustomplot.h>

#include <gtest/gtest.h>

namespace {

class ChildformFrameTest : public testing::Test {
protected:
    void SetUp() override
    {
        SelectLanguage(2);
        area.resize(1000, 700);
        area.show();
    }
    void TearDown() override
    {
        area.closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ReleaseIniSettings();
        SelectLanguage(1);
    }
    TChildform* NewWindow()
    {
        auto* child = new TChildform;
        area.addSubWindow(child);
        child->showMaximized();
        return child;
    }
    QString IniText() const
    {
        return QString::fromStdString(
            ReadTestFile((location.Path() + "/Velmora/Kalvex.ini").toStdString()));
    }

    TemporarySettingsLocation location;
    QMdiArea area;
};

TEST_F(ChildformFrameTest, ANewWindowIsEmpty)
{
    TChildform* bare = NewWindow();
    // Without a settings store the window keeps its own axis limits.
    EXPECT_EQ(bare->Chart->yAxis->range().lower, -40);
    EXPECT_EQ(bare->Chart->yAxis->range().upper, 250);
    GetIniSettings();
    TChildform* child = NewWindow();
    EXPECT_EQ(child->windowTitle(), QStringLiteral("New"));
    ASSERT_EQ(child->SpanTime->count(), 7);
    EXPECT_EQ(child->SpanTime->currentIndex(), 3);
    EXPECT_EQ(child->SpanTime->currentText(), QStringLiteral("1 day"));
    EXPECT_EQ(child->SpanTime->itemText(6), QStringLiteral("1 year"));
    EXPECT_FALSE(child->SliderTime->isEnabled());
    EXPECT_FALSE(child->ActionOpenExcel->isEnabled());
    EXPECT_EQ(child->TabSetDevices->count(), 0);
    EXPECT_FALSE(child->TableViewActive());
    EXPECT_FALSE(child->Grid->isVisible());
    EXPECT_TRUE(child->Chart->isVisible());
    EXPECT_EQ(child->LabelHeadline->text(), QStringLiteral("Selectable measured value:"));
    EXPECT_EQ(child->ButtonSettings->text(), QStringLiteral("Settings"));
    EXPECT_EQ(child->ButtonOpenExcel->text(), QStringLiteral("Open in Excel"));
    EXPECT_EQ(child->ButtonJumpLeft->accessibleName(), QStringLiteral("--"));
    EXPECT_EQ(child->ButtonJumpRight->accessibleName(), QStringLiteral("++"));
    // Stored defaults: −10 … 120 and header sections 130, 36, 36 filling the header exactly.
    EXPECT_EQ(child->Chart->yAxis->range().lower, -10);
    EXPECT_EQ(child->Chart->yAxis->range().upper, 120);
    QTest::qWait(0);
    const QHeaderView* header = child->HeaderControl;
    EXPECT_EQ(header->sectionSize(0) + header->sectionSize(1) + header->sectionSize(2) + 2,
        header->width());
}

TEST_F(ChildformFrameTest, SwappedAxisLimitsAreAppliedInOrderAndWiderSectionsWidenThePanel)
{
    TChildform* child = NewWindow();
    const int before = child->PanelLeftWidth();
    ChildSettings settings;
    settings.AxisMin = 120;
    settings.AxisMax = -10;
    settings.HeaderWidth0 = 160;
    child->ApplyChildSettings(settings);
    EXPECT_EQ(child->Chart->yAxis->range().lower, -10);
    EXPECT_EQ(child->Chart->yAxis->range().upper, 120);
    EXPECT_EQ(child->CurrentChildSettings().AxisMin, -10);
    EXPECT_EQ(child->PanelLeftWidth(), before + 30);
    QTest::qWait(0);
    EXPECT_EQ(child->HeaderControl->width(), 2 + 160 + 36 + 36);
}

TEST_F(ChildformFrameTest, TableViewReplacesTheCharts)
{
    TChildform* child = NewWindow();
    child->ShowTableView(true);
    EXPECT_TRUE(child->TableViewActive());
    EXPECT_TRUE(child->Grid->isVisible());
    EXPECT_FALSE(child->PanelCharts->isVisible());
    child->ShowTableView(false);
    EXPECT_FALSE(child->Grid->isVisible());
    EXPECT_TRUE(child->PanelCharts->isVisible());
}

TEST_F(ChildformFrameTest, UntouchedHeaderWritesNothingAtCloseAResizedOneWritesItsWidths)
{
    GetIniSettings();
    TChildform* untouched = NewWindow();
    const QString before = IniText();
    untouched->close();
    EXPECT_EQ(IniText(), before);

    TChildform* dragged = NewWindow();
    dragged->HeaderControl->resizeSection(1, 50);
    EXPECT_TRUE(dragged->HeaderWidthsChanged());
    dragged->close();
    EXPECT_EQ(GetIniSettings().GetChildSettings().HeaderWidth1, 50);
    EXPECT_EQ(GetIniSettings().GetChildSettings().HeaderWidth0, 130);
    EXPECT_TRUE(IniText().contains(QStringLiteral("HeaderWidth1=50")));
}

TEST_F(ChildformFrameTest, SectionsKeepTheirOwnMinimumWidths)
{
    TChildform* child = NewWindow();
    child->HeaderControl->resizeSection(0, 40);
    EXPECT_EQ(child->HeaderControl->sectionSize(0), 72);
    child->HeaderControl->resizeSection(2, 20);
    EXPECT_EQ(child->HeaderControl->sectionSize(2), 36);
}

TEST_F(ChildformFrameTest, LanguageChangeRetranslatesAndKeepsTheTimeWindow)
{
    TChildform* child = NewWindow();
    child->SpanTime->setCurrentIndex(4);
    SelectLanguage(1);
    child->ApplyLanguageAndLayout();
    EXPECT_EQ(child->SpanTime->currentIndex(), 4);
    EXPECT_EQ(child->SpanTime->currentText(), QString::fromStdString(Text(TextId::TxtSpan1Month)));
    EXPECT_NE(child->SpanTime->currentText(), QStringLiteral("1 month"));
    EXPECT_EQ(child->windowTitle(), QString::fromStdString(Text(TextId::TxtNew)));
    EXPECT_EQ(child->LabelHeadline->text(),
        QString::fromStdString(Text(TextId::TxtSelectableValues)) + ":");
    EXPECT_GE(child->PanelLeftWidth(), child->LabelHeadline->width() + 5);
    EXPECT_FALSE(child->HeaderWidthsChanged());
    // The header sits on the all-devices list, whose overview column has no title.
    EXPECT_EQ(child->HeaderControl->model()->headerData(2, Qt::Horizontal).toString(), QString());
}

TEST_F(ChildformFrameTest, AWheelNotchOverTheValueListScrollsIt120PixelsButNotOverTheChart)
{
    TChildform* child = NewWindow();
    child->Overview->widget()->setMinimumHeight(3000);
    QTest::qWait(0);
    QScrollBar* bar = child->Overview->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 500);
    const auto wheel = [](QWidget* target, int delta) {
        const QPointF at(10, 30);
        QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    };
    wheel(child->Overview->viewport(), -120);
    EXPECT_EQ(bar->value(), 120);
    wheel(child->Overview->viewport(), -240);
    EXPECT_EQ(bar->value(), 360);
    wheel(child->Overview->viewport(), 120);
    EXPECT_EQ(bar->value(), 240);
    // Over the chart, delivered where the pointer is: neither the list nor the time
    // window moves.
    const QCPRange time = child->Chart->xAxis->range();
    const QPoint overChart = child->Chart->mapTo(child, child->Chart->rect().center());
    QWidget* under = child->childAt(overChart);
    ASSERT_TRUE(under == child->Chart || child->Chart->isAncestorOf(under));
    wheel(under, -120);
    EXPECT_EQ(bar->value(), 240);
    EXPECT_EQ(child->Chart->xAxis->range(), time);
}

TEST_F(ChildformFrameTest, ControlsUseTheSystemFontTheChartsArialAndThePanelsTheirBevels)
{
    TChildform* child = NewWindow();
    EXPECT_EQ(child->font().family(), QApplication::font().family());
    EXPECT_EQ(child->font().pointSize(), 8);
    EXPECT_EQ(child->SpanTime->font().family(), QApplication::font().family());
    EXPECT_EQ(child->LabelHeadline->font().pointSize(), 9);
    EXPECT_TRUE(child->LabelHeadline->font().bold());
    EXPECT_EQ(child->Chart->font().family(), QStringLiteral("Arial"));

    for (QFrame* panel : {child->PanelGraph, child->PanelZoomX}) {
        EXPECT_EQ(panel->frameShape(), QFrame::Panel);
        EXPECT_EQ(panel->frameShadow(), QFrame::Raised);
        EXPECT_EQ(panel->lineWidth(), 1);
    }

    // The selected tab in the window's colour.
    child->TabSetDevices->addTab(QStringLiteral("Solar"));
    child->TabSetDevices->addTab(QStringLiteral("Overview"));
    child->TabSetDevices->setCurrentIndex(0);
    QTest::qWait(0);
    const QImage tabs = child->TabSetDevices->grab().toImage();
    const QRect selected = child->TabSetDevices->tabRect(0);
    const qreal scale = tabs.devicePixelRatio();
    EXPECT_EQ(
        QColor(tabs.pixel(int((selected.left() + 3) * scale), int((selected.top() + 3) * scale))),
        QColor(219, 224, 227));
}

TEST_F(ChildformFrameTest, ExtraHeightGoesToTheButtonPanelBeyond750PixelsOfValueList)
{
    TChildform* child = NewWindow();
    area.resize(1000, 1300);
    child->showMaximized();
    QTest::qWait(0);
    const int panel = child->PanelLeft->height();
    ASSERT_GT(panel, 25 + 750 + 70);
    EXPECT_EQ(child->PanelLeftBottom->height(), panel - child->PanelLeftTop->height() - 750);
    EXPECT_LE(child->PanelGraphPanels->height(), 750);
}

} // namespace

TEST_F(ChildformFrameTest, ADeviceThatCouldNotBeFinishedShowsAnEmptyListOfItsOwn)
{
    QTemporaryDir samples;
    GenerateMarchSamples(samples.path().toStdString(), {10, 21}, 2);
    TChildform* child = NewWindow();
    TAnalysisSet& set = child->AnalysisSet();
    const TLogFileList files = FindLogFiles(samples.path().toStdString());
    set.BeginLoad(
        int(files.size()), DeviceListOf(files), EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 2));
    for (const TLogFileEntry& file : files)
        set.LoadFile(file.path);
    // The second device's finishing failed: the load went on without its value list.
    set.FinishDevice(0);
    set.FinishLoad();
    child->FinishLoad();
    ASSERT_EQ(child->TabSetDevices->count(), 3);
    child->TabSetDevices->setCurrentIndex(2);
    EXPECT_TRUE(child->Overview->isVisible());
    child->TabSetDevices->setCurrentIndex(1);
    EXPECT_FALSE(child->Overview->isVisible()) << "the other devices' rows";
    EXPECT_TRUE(child->EmptyValueList->isVisible());
    EXPECT_TRUE(child->EmptyValueList->widget()->findChildren<TGraphPanel*>().isEmpty());
    EXPECT_EQ(child->HeaderControl->parentWidget(), child->EmptyValueList->widget());
    child->TabSetDevices->setCurrentIndex(0);
    EXPECT_FALSE(child->EmptyValueList->isVisible());
}

TEST_F(ChildformFrameTest, EmptyingTheWindowLeavesNoLaneLabelsOnTheLowerChart)
{
    QTemporaryDir samples;
    GenerateMarchSamples(samples.path().toStdString(), {10}, 2);
    TLoadResult result;
    TChildform* child = OpenLoadedWindow(
        area, samples.path().toStdString(), EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 2), result);
    TLogAnalysis& solar = *child->AnalysisSet().Analysis(0);
    int r1 = -1;
    ASSERT_TRUE(solar.DeviceSettings()->IndexOfValue("R1", r1));
    ASSERT_TRUE(child->ShowValue(solar, r1));
    child->SelectDevice(0);
    ASSERT_EQ(child->ChartView().OutputLaneNames().size(), 1);
    EXPECT_FALSE(child->ChartView().OutputLaneName(0).isEmpty());
    child->ResetToEmpty();
    EXPECT_TRUE(child->ChartView().OutputLaneNames().isEmpty());
    EXPECT_TRUE(child->ChartView().OutputLaneName(0).isEmpty());
}
