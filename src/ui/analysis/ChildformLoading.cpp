// The analysis window filled from its analysis set: the views after loading, the device
// tabs and the switch between devices.
#include "ui/analysis/Childform.h"

#include "ui/analysis/RecordFollower.h"

#include "core/base/DateTime.h"
#include "core/base/KalvexError.h"
#include "core/logdata/LogAnalysis.h"
#include "core/settings/DeviceSettings.h"
#include "ui/common/ApplicationErrors.h"
#include "ui/common/UiText.h"

#include <QComboBox>
#include <QHeaderView>
#include <QScrollArea>
#include <QSlider>
#include <QStandardItemModel>
#include <QTabBar>

#include <qcustomplot.h>

void TChildform::FinishLoad()
{
    SetTimeWindow(analysisSet.RangeStart() + 1, analysisSet.RangeStart());
    FillSpanTime();
    SelectSpanTimeQuietly(SpanTimeOneDay);
    {
        const QSignalBlocker quiet(SliderTime);
        SliderTime->setRange(0, analysisSet.DayList().Count() - 1);
        SliderTime->setValue(0);
    }
    SliderTime->setEnabled(true);
    SetChartTitle(
        QString::fromStdString(FormatDateTime("dd. mmmm yyyy", analysisSet.RangeStart())));
    FillDeviceTabs();
    if (analysisSet.DeviceCount() <= 1 && HeaderControl->count() > 2) {
        // One device: no overview column.
        SetPanelLeftWidth(panelLeftWidth - HeaderControl->sectionSize(2));
        headerModel->removeColumn(2);
        sectionMinimum[1] = 18;
        LayHeaderOver(HeaderControl->parentWidget(), true, QString());
    }
    UpdateExcelAction();
    recordFollower->AnalysisLoaded();
}

QString TChildform::DeviceTabTitle(int deviceIndex, bool displayName) const
{
    TLogAnalysis* analysis = analysisSet.Analysis(deviceIndex);
    TDeviceSettings* settings = analysis ? analysis->DeviceSettings() : nullptr;
    if (!settings) // every file of the device failed
        return QString::fromStdString(analysisSet.DeviceList().at(deviceIndex));
    return QString::fromStdString(displayName ? settings->GetDisplayName() : settings->GetName());
}

void TChildform::FillDeviceTabs()
{
    {
        const QSignalBlocker quiet(TabSetDevices);
        while (TabSetDevices->count() > 0)
            TabSetDevices->removeTab(0);
        for (int device = 0; device < analysisSet.DeviceCount(); ++device)
            TabSetDevices->addTab(DeviceTabTitle(device, false));
        TabSetDevices->addTab(UiText(TextId::TxtOverview));
        TabSetDevices->setCurrentIndex(0);
    }
    selectedTab = 0;
    TabSetDevicesChange(0);
    if (analysisSet.DeviceCount() <= 1) {
        const QSignalBlocker quiet(TabSetDevices);
        while (TabSetDevices->count() > 0)
            TabSetDevices->removeTab(0);
    }
}

void TChildform::TabSetDevicesChange(int index)
{
    if (index < 0)
        Fail(TextId::TxtIndexError);
    bool allowed = true;
    try {
        SelectDevice(index);
        selectedTab = index;
    } catch (const std::exception&) {
        // The change is refused: back to the tab that was selected.
        allowed = false;
        const QSignalBlocker quiet(TabSetDevices);
        TabSetDevices->setCurrentIndex(selectedTab);
        ReportCurrentException();
    }
    FillTable();
    UpdateYieldText();
    UpdateChartTitle();
    const int tabs = TabSetDevices->count();
    UpdateExcelAction(allowed && (tabs == 0 || index != tabs - 1));
}

void TChildform::SelectDevice(int index)
{
    const int devices = analysisSet.DeviceCount();
    if (index < 0 || index > devices)
        return;
    if (index < devices) {
        overviewTabActive = false;
        TLogAnalysis* analysis = analysisSet.Analysis(index);
        analysisSet.SetCurrentAnalysis(analysis);
        QScrollArea* list = analysis ? ValueListOf(*analysis) : nullptr;
        if (!list)
            list = EmptyValueList;
        ShowValueList(list);
        LayHeaderOver(
            list, true, TabSetDevices->count() > index ? TabSetDevices->tabText(index) : QString());
        RemoveAllSeries();
        if (analysis)
            analysis->RestoreShownSeries();
    } else {
        BuildOverviewSelector();
        RemoveAllSeries();
        for (const auto& analysis : analysisSet.Analyses())
            if (analysis)
                analysis->RestoreOverviewSeries();
        overviewTabActive = true;
    }
    UpdateValueAxes();
    BuildOutputLanes(overviewTabActive);
    Chart2->replot(QCustomPlot::rpQueuedReplot);
}

void TChildform::RetranslateDevices()
{
    const int devices = analysisSet.DeviceCount();
    if (TabSetDevices->count() > 0)
        TabSetDevices->setTabText(TabSetDevices->count() - 1, UiText(TextId::TxtOverview));
    for (int device = 0; device < devices; ++device) {
        try {
            if (device < TabSetDevices->count() - 1)
                TabSetDevices->setTabText(device, DeviceTabTitle(device, true));
            if (TLogAnalysis* analysis = analysisSet.Analysis(device);
                analysis && analysis->DeviceSettings())
                analysis->DeviceSettings()->RetranslateSumLabels();
        } catch (const std::exception&) {
            // A device whose name cannot be made anew keeps its old one.
        }
    }
    if (devices == 0)
        return;
    LayHeaderOver(Overview, false, QString());
    for (int device = 0; device < devices; ++device)
        if (TLogAnalysis* analysis = analysisSet.Analysis(device))
            BuildValueSelector(device, *analysis);
    if (TabSetDevices->count() > 0) {
        const int tab = TabSetDevices->currentIndex() < 0 ? 0 : TabSetDevices->currentIndex();
        SelectDevice(tab);
    } else if (TLogAnalysis* only = analysisSet.Analysis(0)) {
        if (QScrollArea* list = ValueListOf(*only)) {
            LayHeaderOver(list, true, QString());
            ShowValueList(list);
        }
    }
}

void TChildform::UnitsWarning(const std::string& message)
{
    // Shown in the error box; the load goes on.
    ReportApplicationError(QString::fromStdString(message));
}
