// The settings dialog opened from an analysis window loaded from sample logs of three
// devices: what the user edits shows in the value list and the charts after OK, and is
// stored for the next analysis when the user says so.
#include "SettingsDialogDriver.h"
#include "core/base/LanguageTable.h"
#include "core/loading/LoadLogFiles.h"
#include "core/logdata/LogAnalysis.h"
#include "core/settings/IniSettings.h"
#include "samplegen/SampleGenerator.h"
#include "support/GuiTestHelpers.h"
#include "support/LoadedWindow.h"
#include "support/TestFiles.h"
#include "ui/analysis/ChartView.h"
#include "ui/analysis/Childform.h"
#include "ui/analysis/GraphPanel.h"
#include "ui/analysis/ValueSelector.h"
#include "ui/settings/ColorChooser.h"
#include "ui/settings/DerivedValuesSection.h"
#include "ui/settings/DialogDerivedValue.h"
#include "ui/settings/DialogSettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>

#include <qcustomplot.h>

#include <gtest/gtest.h>

namespace {

const TColor Teal = 0x808000;

class WindowSettingsTest : public testing::Test {
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
        child = OpenWindow();
        dialog.ChooseColor = [](QWidget*, TColor) { return std::optional<TColor>(Teal); };
    }
    void TearDown() override
    {
        area.closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ReleaseIniSettings();
        SelectLanguage(1);
    }
    TChildform* OpenWindow()
    {
        TLoadResult result;
        TChildform* window = OpenLoadedWindow(area, samples.path().toStdString(),
            EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 2), result);
        EXPECT_TRUE(result.failures.empty());
        return window;
    }
    TDeviceSettings& Device(int index) const
    {
        return *child->AnalysisSet().Analysis(index)->DeviceSettings();
    }
    int Field(int device, const std::string& name) const
    {
        int index = -1;
        Device(device).IndexOfValue(name, index);
        return index;
    }
    TGraphPanel* Row(int device, const std::string& name) const
    {
        TLogAnalysis& analysis = *child->AnalysisSet().Analysis(device);
        auto* panel = dynamic_cast<TValueListPanel*>(analysis.ValuePanel());
        for (TGraphPanel* row : RowsOf(*panel->List()))
            if (row->ValueIndex() == Field(device, name))
                return row;
        return nullptr;
    }
    void Tick(int device, const std::string& name)
    {
        QTest::mouseClick(Row(device, name)->PlotBox, Qt::LeftButton, {}, QPoint(6, 8));
    }
    const TSeriesPlottable* Drawn(int device, const std::string& name) const
    {
        const TFieldSeries* series
            = child->AnalysisSet().Analysis(device)->Series(Field(device, name));
        const TSeriesPlottable* upper = child->ChartView().UpperTarget().PlottableOf(*series);
        return upper ? upper : child->ChartView().LowerTarget().PlottableOf(*series);
    }
    // Opens the dialog from the window's "Settings" button; the edits run while it is up.
    void EditSettings(const std::function<void()>& edits)
    {
        bool edited = false;
        WhenModalAppears([&](QWidget* modal) {
            EXPECT_EQ(modal, &dialog);
            edits();
            edited = true;
        });
        QTest::mouseClick(child->ButtonSettings, Qt::LeftButton);
        EXPECT_TRUE(edited);
        EXPECT_FALSE(dialog.isVisible());
    }
    QTreeWidgetItem* Node(const QStringList& path) const
    {
        QTreeWidgetItem* node = nullptr;
        for (const QString& text : path) {
            QTreeWidgetItem* next = nullptr;
            const int count = node ? node->childCount() : dialog.Tree->topLevelItemCount();
            for (int i = 0; i < count && !next; ++i) {
                QTreeWidgetItem* item = node ? node->child(i) : dialog.Tree->topLevelItem(i);
                if (item->text(0) == text)
                    next = item;
            }
            EXPECT_TRUE(next) << text.toStdString();
            if (!next)
                return nullptr;
            node = next;
        }
        return node;
    }
    void Select(const QStringList& path) { ASSERT_TRUE(ClickNode(*dialog.Tree, Node(path))); }
    QString IniPath() const { return location.Path() + "/Velmora/Kalvex.ini"; }

    TemporarySettingsLocation location;
    MessageRecorder boxes;
    QTemporaryDir samples;
    TDialogSettings dialog;
    QMdiArea area;
    TChildform* child = nullptr;
};

TEST_F(WindowSettingsTest, TheDialogListsTheWindowsDevicesWithTheSelectedTabsDeviceSelected)
{
    child->TabSetDevices->setCurrentIndex(1);
    child->HeaderControl->resizeSection(0, 150);
    EditSettings([&] {
        ASSERT_EQ(dialog.Tree->topLevelItemCount(), 3);
        EXPECT_EQ(dialog.Tree->topLevelItem(0)->text(0), "Solar controller");
        EXPECT_EQ(dialog.Tree->topLevelItem(1)->text(0), "Heating circuit 1");
        EXPECT_EQ(dialog.Tree->currentItem(), dialog.Tree->topLevelItem(1));
        EXPECT_EQ(dialog.CurrentDevice(), &Device(1));
        // The heating circuit has no other measured values: no group for them.
        EXPECT_EQ(ChildTexts(Node({"Heating circuit 1"})), (QStringList{"Inputs", "Outputs"}));
        // Day totals after all other measured values, month sums not listed.
        EXPECT_EQ(ChildTexts(Node({"Solar controller", "Other measured values"})),
            (QStringList{"E", "V", "P", "Sum of flow rate (V)", "Sum of energy (Q)"}));
        QTest::mouseClick(dialog.CancelBtn, Qt::LeftButton);
    });
    EXPECT_EQ(dialog.GetWindowSettings().HeaderWidth0, 150);
    EXPECT_EQ(dialog.Tree->topLevelItemCount(), 0);
}

TEST_F(WindowSettingsTest, ALabelAndAColourShowInTheValueListAndTheChartsAfterOk)
{
    Tick(0, "T1");
    Tick(0, "R1");
    EditSettings([&] {
        Select({"Solar controller", "Inputs", "T1"});
        Retype(dialog.EditLabel, "Collector");
        QTest::mouseClick(dialog.PanelColor, Qt::LeftButton);
        Select({"Solar controller", "Outputs", "R1"});
        Retype(dialog.EditLabel, "Solar pump");
        QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    });
    EXPECT_EQ(Row(0, "T1")->Label->text(), "Collector");
    EXPECT_EQ(Row(0, "R1")->Label->text(), "Solar pump");
    ASSERT_TRUE(Drawn(0, "T1"));
    EXPECT_EQ(Drawn(0, "T1")->Plottable()->name(), "Collector");
    EXPECT_EQ(Drawn(0, "T1")->Plottable()->pen().color(), ToQColor(Teal));
    EXPECT_EQ(child->ChartView().OutputLaneNames(), QStringList{"Solar pump"});
    // What was shown stays shown.
    EXPECT_TRUE(Row(0, "T1")->PlotBox->isChecked());
}

TEST_F(WindowSettingsTest, OutputsAsBarsFillTheirLanesAndFixedAxisLimitsApplyAtOnce)
{
    Tick(0, "T1");
    Tick(0, "R1");
    ASSERT_EQ(Drawn(0, "R1")->Graph()->brush().style(), Qt::NoBrush);
    EditSettings([&] {
        Select({"Solar controller"});
        Choose(dialog.RadioOutputsUseBars);
        Retype(dialog.EditLineWidth, "5");
        Choose(dialog.RadioAxisFixed);
        Retype(dialog.EditYMin, "5");
        Retype(dialog.EditYMax, "60");
        QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    });
    const TSeriesPlottable* pump = Drawn(0, "R1");
    ASSERT_TRUE(pump);
    EXPECT_NE(pump->Graph()->brush().style(), Qt::NoBrush);
    EXPECT_TRUE(pump->BaseLine());
    EXPECT_EQ(pump->Graph()->pen().width(), 5);
    EXPECT_EQ(child->Chart->yAxis->range().lower, 5);
    EXPECT_EQ(child->Chart->yAxis->range().upper, 60);
    EXPECT_FALSE(child->CurrentChildSettings().DynamicScaling);
}

TEST_F(WindowSettingsTest, CancelAfterEditsOnTwoDevicesLeavesTheWindowAsItWas)
{
    Tick(0, "T1");
    EditSettings([&] {
        Select({"Solar controller", "Inputs", "T1"});
        Retype(dialog.EditLabel, "Collector");
        QTest::mouseClick(dialog.PanelColor, Qt::LeftButton);
        Choose(dialog.RadioOthersUseLines);
        Select({"Fresh water 0", "Outputs", "R2"});
        Retype(dialog.EditLabel, "Circulation");
        Choose(dialog.RadioOutputsUseBars);
        QTest::mouseClick(dialog.CancelBtn, Qt::LeftButton);
    });
    EXPECT_EQ(Device(0).GetLabel(Field(0, "T1")), "T1");
    EXPECT_EQ(Device(0).GetColor(Field(0, "T1")), DefaultPalette[0]);
    EXPECT_TRUE(Device(0).OthersUseBars());
    EXPECT_EQ(Device(2).GetLabel(Field(2, "R2")), "R2");
    EXPECT_FALSE(Device(2).OutputsUseBars());
    EXPECT_EQ(Drawn(0, "T1")->Plottable()->name(), "T1");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(WindowSettingsTest, YesToTheQuestionStoresTheSettingsForTheNextWindow)
{
    boxes.answers = {MessageResult::Yes};
    EditSettings([&] {
        Select({"Heating circuit 1", "Inputs", "TA"});
        Retype(dialog.EditLabel, "Outside");
        Retype(dialog.EditLineWidth, "4");
        Choose(dialog.RadioOutputsUseBars);
        Retype(dialog.EditOutputHeadline, "House");
        QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    });
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "Question:");
    EXPECT_EQ(boxes.shown[0].text,
        "Settings have been adopted. Should these settings also be saved for future analyses?");
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::YesNo);
    // Written in Windows-1252, where "°" is one byte.
    const QString ini = QString::fromLatin1(ReadTestFile(IniPath().toStdString()));
    EXPECT_TRUE(ini.contains("[Labels:21]")) << ini.toStdString();
    EXPECT_TRUE(ini.contains("TA[°C]=Outside"));
    EXPECT_TRUE(ini.contains("[Dev:21]"));
    EXPECT_TRUE(ini.contains("[Colors:10]"));
    EXPECT_TRUE(ini.contains("PrintTitle=House"));

    TChildform* next = OpenWindow();
    const TDeviceSettings& heating = *next->AnalysisSet().Analysis(1)->DeviceSettings();
    int outside = -1;
    heating.IndexOfValue("TA", outside);
    EXPECT_EQ(heating.GetLabel(outside), "Outside");
    EXPECT_EQ(next->CurrentChildSettings().PrintTitle, "House");
    // Line width and bars as they were saved: the pump output fills its lane, 4 wide.
    child = next;
    child->TabSetDevices->setCurrentIndex(1);
    Tick(1, "PU");
    const TSeriesPlottable* pump = Drawn(1, "PU");
    ASSERT_TRUE(pump);
    EXPECT_EQ(pump->Graph()->pen().width(), 4);
    EXPECT_NE(pump->Graph()->brush().style(), Qt::NoBrush);
}

TEST_F(WindowSettingsTest, NoIsStoredNowhereAndWithoutASettingsStoreNothingIsAsked)
{
    EditSettings([&] {
        Select({"Solar controller", "Inputs", "T1"});
        Retype(dialog.EditLabel, "Collector");
        QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    });
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_FALSE(QFileInfo::exists(IniPath()));

    ReleaseIniSettings();
    EditSettings([&] {
        Select({"Solar controller", "Inputs", "T2"});
        Retype(dialog.EditLabel, "Store");
        QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    });
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(ExistingIniSettings(), nullptr);
    EXPECT_FALSE(QFileInfo::exists(IniPath()));
    EXPECT_EQ(Row(0, "T2")->Label->text(), "Store");
}

TEST_F(WindowSettingsTest, OverviewMarksSurviveTheDialog)
{
    Tick(0, "T1");
    QTest::mouseClick(Row(0, "T1")->OverviewBox, Qt::LeftButton, {}, QPoint(6, 8));
    child->TabSetDevices->setCurrentIndex(3);
    ASSERT_TRUE(Drawn(0, "T1"));
    EditSettings([&] {
        EXPECT_TRUE(dialog.Tree->selectedItems().isEmpty());
        EXPECT_FALSE(dialog.GroupDeviceSettings->isEnabled());
        Select({"Solar controller", "Inputs", "T1"});
        Retype(dialog.EditLabel, "Collector");
        QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    });
    ASSERT_TRUE(Drawn(0, "T1"));
    EXPECT_TRUE(Drawn(0, "T1")->Plottable()->name().endsWith("Collector"));
}

} // namespace

TEST_F(WindowSettingsTest, ADerivedValueDefinedInTheDialogIsListedPlottedAndStored)
{
    TChildform* second = OpenWindow();
    area.setActiveSubWindow(child);
    Tick(0, "T1");
    QStringList problems;
    std::vector<bool> acceptable;
    dialog.SectionDerivedValues->RunDialog = [&](TDialogDerivedValue& define) {
        QTest::keyClicks(define.EditName, "dT");
        QTest::keyClicks(define.EditUnit, "K");
        QTest::keyClicks(define.EditFormula, "T1 - T9");
        for (const char* formula : {"T1 - T9", "T1 - (T2", "T1 - T2"}) {
            Retype(define.EditFormula, formula);
            problems << define.LabelProblem->text();
            acceptable.push_back(define.Buttons->button(QDialogButtonBox::Ok)->isEnabled());
        }
        return true;
    };
    boxes.answers = {MessageResult::No};
    EditSettings([&] {
        Select({"Solar controller"});
        QTest::mouseClick(dialog.SectionDerivedValues->ButtonAdd, Qt::LeftButton);
        EXPECT_EQ(dialog.SectionDerivedValues->List->item(0)->text(), "dT [K] = T1 - T2");
        QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    });
    QApplication::processEvents();
    EXPECT_EQ(problems,
        (QStringList{"Position 6: Unknown field T9", "Position 9: Missing parenthesis", ""}));
    EXPECT_EQ(acceptable, (std::vector<bool>{false, false, true}));
    EXPECT_EQ(GetIniSettings().GetDerivedValues("10"), (TDerivedValues{{"dT", "[K]", "T1 - T2"}}));

    // Listed among the other measured values, T1 still shown; ticked, it is drawn.
    ASSERT_TRUE(Row(0, "dT"));
    EXPECT_TRUE(Row(0, "T1")->PlotBox->isChecked());
    Tick(0, "dT");
    ASSERT_TRUE(Drawn(0, "dT"));
    const TPointSeries& points = child->AnalysisSet().Analysis(0)->Series(Field(0, "dT"))->Points();
    const TPointSeries& t1 = child->AnalysisSet().Analysis(0)->Series(Field(0, "T1"))->Points();
    const TPointSeries& t2 = child->AnalysisSet().Analysis(0)->Series(Field(0, "T2"))->Points();
    ASSERT_GT(points.Count(), 10);
    EXPECT_DOUBLE_EQ(points.Y(0), t1.Y(0) - t2.Y(0));
    // The other open window of the same logs has it too.
    int inSecond = -1;
    EXPECT_TRUE(second->AnalysisSet().Analysis(0)->DeviceSettings()->IndexOfValue("dT", inSecond));

    // Removed again: gone from the list and the settings file.
    boxes.answers = {MessageResult::No};
    EditSettings([&] {
        Select({"Solar controller"});
        dialog.SectionDerivedValues->List->setCurrentRow(0);
        QTest::mouseClick(dialog.SectionDerivedValues->ButtonRemove, Qt::LeftButton);
        QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    });
    QApplication::processEvents();
    EXPECT_FALSE(Row(0, "dT"));
    EXPECT_TRUE(GetIniSettings().GetDerivedValues("10").empty());
    EXPECT_TRUE(Row(0, "T1")->PlotBox->isChecked());
}
