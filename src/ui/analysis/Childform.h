#pragma once
// An analysis window: one analysis (the log files of one directory and period), with a
// device tab per bus participant, the two charts or the table, the value list on the
// left and the navigation bar. This file is the frame: building, filling, switching
// devices and views, layout, language and closing.

#include "core/loading/AnalysisSet.h"
#include "core/settings/IniSettings.h"
#include "ui/analysis/ChartHost.h"
#include "ui/analysis/ChartOutput.h"
#include "ui/analysis/TablePrinter.h"
#include "ui/analysis/TimeNavigation.h"

#include <QMdiSubWindow>
#include <QStringList>

#include <array>
#include <memory>
#include <string>

class QAction;
class QComboBox;
class QCustomPlot;
class QFrame;
class QHeaderView;
class QLabel;
class QScrollArea;
class QSlider;
class QSplitter;
class QStackedLayout;
class QStandardItemModel;
class QTabBar;
class QToolButton;
class TChartValues;
class TChartZoom;
class TDerivedValueUpdate;
class TRecordFollower;
class TValueReadout;
class TChartView;
class TLogAnalysis;
class TTableGrid;
class TTableView;
class TSpreadsheetExport;
class TXPButton;

class TChildform : public QMdiSubWindow,
                   public TAnalysisSetHooks,
                   public TChartHost,
                   public TChartOutputHost,
                   public TNavigationHost {
    Q_OBJECT
public:
    // The entry of the time-window list selected after loading.
    static constexpr int SpanTimeOneDay = 3;

    explicit TChildform(QWidget* parent = nullptr);
    ~TChildform() override;

    // The analysis the open dialog loads the files into (begin, files, devices, finish).
    TAnalysisSet& AnalysisSet() { return analysisSet; }
    const TAnalysisSet& AnalysisSet() const { return analysisSet; }
    // After the analysis set has finished loading: time window, slider, title, device
    // tabs and the header for a single device.
    void FinishLoad();
    void FillDeviceTabs();
    void TabSetDevicesChange(int index);
    void SelectDevice(int index);
    bool OverviewTabActive() const override { return overviewTabActive; }

    // The two charts: the time window start … end (date-times) of both, the label
    // pattern of their time axes ("hh:mm", " dd. mmm ", " dd. mmm hh:mm ") and the label
    // increment in days (0 = automatic).
    void SetTimeWindow(double end, double start);
    void SetTimeLabelFormat(const std::string& pattern);
    void SetTimeIncrement(double days);
    TChartView& ChartView() { return *chartView; }
    TTimeNavigation& Navigation() { return *navigation; }
    TChartZoom& Zoom() { return *chartZoom; }
    TValueReadout& Readout() { return *readout; }
    // Plots a value of a device (false when it has no series) or takes it off.
    bool ShowValue(TLogAnalysis& analysis, int value);
    void HideValue(TLogAnalysis& analysis, int value);

    // "Follow new records", kept per window.
    TRecordFollower& RecordFollower() { return *recordFollower; }

    // Closed windows wait for their deletion; they no longer count as open.
    bool IsClosed() const { return closed; }

    // Commands of the main window.
    void ShowTableView(bool table);
    // Rebuilds the table for the device tab and time window; nothing while it is hidden.
    void FillTable() override;
    bool TableViewActive() const { return tableViewActive; }
    bool HasSeries() const;
    void ApplyLanguageAndLayout();
    void ActionOpenSettingsExecute();
    void OnActivate();
    void SaveChartImage();
    void PrintWindow();
    void PrintPreview();
    // Pictures and printouts of the charts; its dialogs may be replaced (tests).
    TChartOutput& ChartOutput() { return *chartOutput; }

    void UpdateCaption();
    bool HasCurrentAnalysis() const;
    void ApplyChildSettings(ChildSettings settings);
    const ChildSettings& CurrentChildSettings() const override { return childSettings; }
    void UpdateExcelAction() override;
    void UpdateExcelAction(bool allowed);
    void ClearAnalysis();
    void ResetToEmpty();

    // Header control over the value lists.
    void HeaderControlSectionResize(int section);
    // The section's text under the pointer (x in header pixels) becomes the header's hint.
    void HeaderControlMouseMove(int x);
    bool HeaderWidthsChanged() const { return headerWidthsChanged; }
    int PanelLeftWidth() const { return panelLeftWidth; }
    int PanelLeftMinimumWidth() const { return panelLeftMinimumWidth; }
    int PanelLeftMinimumHeight() const { return panelLeftMinimumHeight; }

    // Brings a device's value list (or Overview) to the front of the left panel.
    void ShowValueList(QScrollArea* list);

    QString ChartTitle() const;
    void SetChartTitle(const QString& title);

    // Components, named as the user sees them.
    QFrame* PanelLeft = nullptr;
    QWidget* PanelLeftTop = nullptr;
    QLabel* LabelHeadline = nullptr;
    QFrame* PanelGraphPanels = nullptr;
    QScrollArea* Overview = nullptr;
    QScrollArea* EmptyValueList = nullptr;
    QHeaderView* HeaderControl = nullptr;
    QWidget* PanelLeftBottom = nullptr;
    QToolButton* ButtonSettings = nullptr;
    QToolButton* ButtonOpenExcel = nullptr;
    QFrame* PanelGraph = nullptr;
    QSplitter* PanelCharts = nullptr;
    QCustomPlot* Chart = nullptr;
    QCustomPlot* Chart2 = nullptr;
    TTableGrid* Grid = nullptr;
    QFrame* PanelZoomX = nullptr;
    QTabBar* TabSetDevices = nullptr;
    QLabel* LabelDisplayedTimeSpan = nullptr;
    QComboBox* SpanTime = nullptr;
    QLabel* LabelSelectTimeSpan = nullptr;
    QSlider* SliderTime = nullptr;
    TXPButton* ButtonJumpLeft = nullptr;
    TXPButton* ButtonScrollLeft = nullptr;
    TXPButton* ButtonScrollRight = nullptr;
    TXPButton* ButtonJumpRight = nullptr;
    QAction* ActionOpenSettings = nullptr;
    QAction* ActionOpenExcel = nullptr;

signals:
    // A value was shown or hidden: the commands that depend on the charts may change.
    void SeriesChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreatePanelLeft(QWidget* content);
    void CreatePanelGraph(QWidget* content);
    void CreateNavigationBar();
    void CreateHeaderControl();
    QScrollArea* NewValueList(const QString& name);
    void PanelLeftResize();
    void PanelZoomXResize();
    void SetPanelLeftWidth(int width);
    QScrollArea* ValueListOfViewport(QObject* viewport) const;
    void RouteWheelToValueList(QScrollArea* list, const QWheelEvent* event);
    void FillSpanTime();
    void SelectSpanTimeQuietly(int index);
    void AttachSliderHandler();
    void DetachSliderHandler();
    void StoreHeaderWidthsOnClose();
    QString DeviceTabTitle(int deviceIndex, bool displayName) const;
    void RetranslateDevices();
    void CreateRecordFollower();

    // What the analysis set asks of the window while loading.
    TChartTarget* UpperChart() override;
    TChartTarget* LowerChart() override;
    void BuildValueSelector(int deviceIndex, TLogAnalysis& analysis) override;
    void UnitsWarning(const std::string& message) override;
    void ClearViews() override { ClearAnalysis(); }

    void ChartContentChanged() override;

    // Calls into the navigation, chart, table, overview, value list, settings dialog,
    // export and printing of the window.
    void SliderTimeChange(int position);
    void SpanTimeChange(int index);
    void LayHeaderOver(QWidget* valueList, bool setText, const QString& text);
    void AlignValueListRows(QWidget* listContent);
    void RemoveAllSeries() override;
    void BuildOverviewSelector() override;
    void BuildOutputLanes(bool allDevices);
    QScrollArea* ValueListOf(TLogAnalysis& analysis);
    void UpdateYieldText();
    void UpdateChartTitle() override;
    QString SelectedTabText() const override;
    QString PrintTitle() const override;
    // What the table printout takes over from the grid on screen.
    TTablePrintMetrics TablePrintMetrics() const;
    void UpdateValueAxes() override;
    void RelabelOverviewGrids();
    void OpenInExcel();

    ChildSettings childSettings;
    bool tableViewActive = false;
    bool overviewTabActive = false;
    bool headerWidthsChanged = false;
    bool closed = false;
    int panelLeftWidth = 209;
    int panelLeftMinimumWidth = 141;
    int panelLeftMinimumHeight = 415;
    std::array<int, 3> sectionMinimum{72, 36, 36};
    QStandardItemModel* headerModel = nullptr;
    QWidget* headerViewport = nullptr;
    QStackedLayout* valueLists = nullptr;
    QMetaObject::Connection sliderHandler;
    bool resizingSection = false;
    int selectedTab = 0;
    std::unique_ptr<TChartView> chartView;
    std::unique_ptr<TChartValues> chartValues;
    std::unique_ptr<TTableView> tableView;
    std::unique_ptr<TChartOutput> chartOutput;
    std::unique_ptr<TChartZoom> chartZoom;
    std::unique_ptr<TTimeNavigation> navigation;
    std::unique_ptr<TValueReadout> readout;
    std::unique_ptr<TSpreadsheetExport> spreadsheetExport;
    std::unique_ptr<TDerivedValueUpdate> derivedValues;
    std::unique_ptr<TRecordFollower> recordFollower;
    // Last: its analyses take their series off the charts before those go.
    TAnalysisSet analysisSet{this};
};
