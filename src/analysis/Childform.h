#pragma once
// An analysis window: one analysis (the log files of one directory and period), with a
// device tab per bus participant, the two charts or the table, the value list on the
// left and the navigation bar. This file is the frame: building, filling, switching
// devices and views, layout, language and closing.

#include "settings/IniSettings.h"

#include <QMdiSubWindow>
#include <QStringList>

#include <array>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QCustomPlot;
class QCPTextElement;
class QFrame;
class QHeaderView;
class QLabel;
class QScrollArea;
class QSlider;
class QSplitter;
class QStackedLayout;
class QStandardItemModel;
class QTabBar;
class QTableWidget;
class QToolButton;
class TXPButton;

// Texts of the caption: the requested period and the number of files found.
struct TChildCaption {
    QString DateFromText;
    QString DateToText;
    int FileCount = 0;
};

class TChildform : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit TChildform(QWidget* parent = nullptr);
    ~TChildform() override;

    // Loading, driven by the open dialog: BeginLoad once, LoadFile per file in ascending
    // date order, FinishDevice per device, FinishLoad; ResetToEmpty on abort or failure.
    void BeginLoad(int fileCount, std::vector<std::string> deviceList, double from, double to);
    void LoadFile(const std::string& path);
    void FinishDevice(int deviceIndex);
    void FinishLoad();

    // Closed windows wait for their deletion; they no longer count as open.
    bool IsClosed() const { return closed; }

    // Commands of the main window.
    void ShowTableView(bool table);
    bool TableViewActive() const { return tableViewActive; }
    bool HasSeries() const;
    void ApplyLanguageAndLayout();
    void ActionOpenSettingsExecute();
    void OnActivate();
    void SaveChartImage();
    void PrintWindow();

    void UpdateCaption();
    bool HasCurrentAnalysis() const;
    void ApplyChildSettings(ChildSettings settings);
    const ChildSettings& CurrentChildSettings() const { return childSettings; }
    void UpdateExcelAction();
    void UpdateExcelAction(bool allowed);
    void ClearAnalysis();
    void ResetToEmpty();

    // Header control over the value lists.
    void HeaderControlSectionResize(int section);
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
    QHeaderView* HeaderControl = nullptr;
    QWidget* PanelLeftBottom = nullptr;
    QToolButton* ButtonSettings = nullptr;
    QToolButton* ButtonOpenExcel = nullptr;
    QWidget* PanelGraph = nullptr;
    QSplitter* PanelCharts = nullptr;
    QCustomPlot* Chart = nullptr;
    QCustomPlot* Chart2 = nullptr;
    QTableWidget* Grid = nullptr;
    QWidget* PanelZoomX = nullptr;
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

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreatePanelLeft(QWidget* content);
    void CreatePanelGraph(QWidget* content);
    void CreateNavigationBar();
    void CreateHeaderControl();
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
    void SetSectionMinimum(int section, int minimum);

    // Calls into the navigation, chart, table, overview, value list, settings dialog,
    // export and printing of the window.
    void SliderTimeChange(int position);
    void SpanTimeChange(int index);
    void LayHeaderOver(QWidget* valueList, bool setText, const QString& text);
    void AlignValueListRows(QWidget* listContent);
    void FillTable();
    void UpdateYieldText();
    void UpdateChartTitle();
    void UpdateValueAxes();
    void RelabelOverviewGrids();
    void OpenInExcel();

    ChildSettings childSettings;
    TChildCaption caption;
    bool tableViewActive = false;
    bool overviewTabActive = false;
    bool headerWidthsChanged = false;
    bool closed = false;
    int panelLeftWidth = 209;
    int panelLeftMinimumWidth = 141;
    int panelLeftMinimumHeight = 415;
    std::array<int, 3> sectionMinimum{72, 36, 36};
    QStandardItemModel* headerModel = nullptr;
    QStackedLayout* valueLists = nullptr;
    QCPTextElement* chartTitle = nullptr;
    QMetaObject::Connection sliderHandler;
    bool resizingSection = false;
};
