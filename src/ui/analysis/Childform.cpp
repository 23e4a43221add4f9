#include "ui/analysis/Childform.h"

#include "core/base/DateTime.h"
#include "core/logdata/LogAnalysis.h"
#include "ui/analysis/ChartValues.h"
#include "ui/analysis/ChartView.h"
#include "ui/analysis/ChartZoom.h"
#include "ui/analysis/DerivedValueUpdate.h"
#include "ui/analysis/OutputDialogs.h"
#include "ui/analysis/RecordFollower.h"
#include "ui/analysis/SpreadsheetExport.h"
#include "ui/analysis/TableGrid.h"
#include "ui/analysis/TableView.h"
#include "ui/analysis/ValueReadout.h"
#include "ui/analysis/ValueSelector.h"
#include "ui/common/ApplicationErrors.h"
#include "ui/common/Glyphs.h"
#include "ui/common/UiText.h"
#include "ui/common/XPButton.h"
#include "ui/settings/DialogSettings.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSplitter>
#include <QStackedLayout>
#include <QStandardItemModel>
#include <QTabBar>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <qcustomplot.h>

namespace {

const QColor WindowColour(219, 224, 227);

// Frames around the header inside the left panel: the panel's and the value-list
// panel's borders, one pixel each side, and one pixel of air on the right.
constexpr int PanelLeftChrome = 5;
constexpr int ValueListMaximumHeight = 750;
constexpr int PanelLeftBottomMinimumHeight = 70;

QToolButton* ActionButton(QAction* action, QWidget* parent, int x, int y)
{
    auto* button = new QToolButton(parent);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setGeometry(x, y, 113, 25);
    return button;
}

TXPButton* NavigationButton(
    QWidget* parent, const QString& caption2, NavigationGlyph glyph, int left)
{
    auto* button = new TXPButton(parent);
    button->setGeometry(left, 40, 25, 25);
    button->SetCaption2(caption2);
    button->SetPicture(PaintNavigationGlyph(glyph));
    button->SetImage();
    return button;
}

} // namespace

TChildform::TChildform(QWidget* parent)
    : QMdiSubWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    resize(730, 517);
    // The system's UI font; the charts draw in Arial of their own.
    QFont font = QApplication::font();
    font.setPointSize(8);
    setFont(font);

    auto* content = new QWidget(this);
    QPalette palette = content->palette();
    palette.setColor(QPalette::Window, WindowColour);
    content->setPalette(palette);
    content->setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    CreatePanelLeft(content);
    CreatePanelGraph(content);
    chartZoom = std::make_unique<TChartZoom>(
        *chartView, [this] { return SpanTime->currentIndex(); }, [this] { UpdateValueAxes(); });
    navigation = std::make_unique<TTimeNavigation>(analysisSet, *chartView, *chartZoom, *this,
        TNavigationControls{SpanTime, SliderTime, ButtonJumpLeft, ButtonScrollLeft,
            ButtonScrollRight, ButtonJumpRight});
    readout = std::make_unique<TValueReadout>(*chartView, analysisSet, *PanelGraph);
    derivedValues = std::make_unique<TDerivedValueUpdate>(analysisSet,
        TDerivedValueHost{[this](TLogAnalysis& a, int f) { return ShowValue(a, f); },
            [this](TLogAnalysis& a, int f) { HideValue(a, f); },
            [this](int d, TLogAnalysis& a) {
                // The header lies over a device's list, which goes now: it waits on Overview.
                LayHeaderOver(Overview, false, QString());
                ShowValueList(Overview);
                BuildValueSelector(d, a);
                a.ApplyDisplaySettings();
            },
            [this] {
                SelectDevice(TabSetDevices->count() > 0 ? TabSetDevices->currentIndex() : 0);
            }});
    CreateRecordFollower();
    // Changed definitions reach every open window, once the dialog has closed.
    if (TDialogSettings* dialog = DialogSettings())
        connect(
            dialog, &TDialogSettings::DerivedValuesChanged, this,
            [this](const QStringList& prefixes) {
                RunGuarded([&] { derivedValues->Apply(prefixes); });
            },
            Qt::QueuedConnection);
    layout->addWidget(PanelLeft);
    layout->addWidget(PanelGraph, 1);
    setWidget(content);

    // Screens of 120 dots per inch and more need a taller value list.
    if (QScreen* screen = this->screen(); screen && screen->logicalDotsPerInchY() > 119)
        panelLeftMinimumHeight = panelLeftMinimumHeight * 120 / 96;
    PanelLeft->setMinimumHeight(panelLeftMinimumHeight);

    SliderTime->setRange(0, 0);
    SliderTime->setValue(0);
    SliderTime->setEnabled(false);
    FillSpanTime();
    SelectSpanTimeQuietly(SpanTimeOneDay);
    connect(SpanTime, &QComboBox::currentIndexChanged, this, &TChildform::SpanTimeChange);
    connect(TabSetDevices, &QTabBar::currentChanged, this, &TChildform::TabSetDevicesChange);
    AttachSliderHandler();

    SetChartTitle(QString());

    ApplyLanguageAndLayout();
    if (TIniSettings* settings = ExistingIniSettings())
        ApplyChildSettings(settings->GetChildSettings());
    UpdateCaption();
}

TChildform::~TChildform()
{
    // Taken down as closing does: the analyses free their value lists while everything
    // the window's handlers refer to is still there.
    if (!closed) {
        DetachSliderHandler();
        ClearAnalysis();
    }
}

void TChildform::CreatePanelLeft(QWidget* content)
{
    PanelLeft = new QFrame(content);
    PanelLeft->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PanelLeft->setLineWidth(1);
    PanelLeft->setFixedWidth(panelLeftWidth);
    PanelLeft->installEventFilter(this);
    auto* column = new QVBoxLayout(PanelLeft);
    column->setContentsMargins(0, 0, 1, 0);
    column->setSpacing(0);

    PanelLeftTop = new QWidget(PanelLeft);
    PanelLeftTop->setFixedHeight(25);
    LabelHeadline = new QLabel(PanelLeftTop);
    // Arial still: its width sets the value list's minimum width, which the sections fit.
    QFont headline(QStringLiteral("Arial"), 9);
    headline.setBold(true);
    headline.setUnderline(true);
    LabelHeadline->setFont(headline);
    LabelHeadline->move(2, 6);
    column->addWidget(PanelLeftTop);

    PanelGraphPanels = new QFrame(PanelLeft);
    PanelGraphPanels->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PanelGraphPanels->setLineWidth(1);
    PanelGraphPanels->setMaximumHeight(ValueListMaximumHeight);
    valueLists = new QStackedLayout(PanelGraphPanels);
    Overview = NewValueList(QStringLiteral("Overview"));
    // A device without a list of its own (its files or its finishing failed) shows this
    // one, never another device's rows.
    EmptyValueList = NewValueList(QStringLiteral("EmptyValueList"));
    CreateHeaderControl();
    column->addWidget(PanelGraphPanels, 1);

    PanelLeftBottom = new QWidget(PanelLeft);
    PanelLeftBottom->setFixedHeight(PanelLeftBottomMinimumHeight);
    ActionOpenSettings = new QAction(this);
    connect(ActionOpenSettings, &QAction::triggered, this, &TChildform::ActionOpenSettingsExecute);
    ActionOpenExcel = new QAction(this);
    ActionOpenExcel->setEnabled(false);
    connect(ActionOpenExcel, &QAction::triggered, this, &TChildform::OpenInExcel);
    spreadsheetExport = std::make_unique<TSpreadsheetExport>(*this);
    ButtonSettings = ActionButton(ActionOpenSettings, PanelLeftBottom, 4, 8);
    ButtonOpenExcel = ActionButton(ActionOpenExcel, PanelLeftBottom, 4, 40);
    column->addWidget(PanelLeftBottom);
}

QScrollArea* TChildform::NewValueList(const QString& name)
{
    auto* list = new QScrollArea(PanelGraphPanels);
    list->setObjectName(name);
    list->setFrameShape(QFrame::NoFrame);
    list->setWidgetResizable(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setWidget(new QWidget);
    valueLists->addWidget(list);
    list->viewport()->installEventFilter(this);
    return list;
}

void TChildform::CreateHeaderControl()
{
    QWidget* list = Overview->widget();
    headerModel = new QStandardItemModel(0, 3, this);
    for (int section = 0; section < 3; ++section)
        headerModel->setHeaderData(section, Qt::Horizontal, QString());
    HeaderControl = new QHeaderView(Qt::Horizontal, list);
    HeaderControl->setModel(headerModel);
    HeaderControl->setSectionsMovable(false);
    HeaderControl->setStretchLastSection(false);
    HeaderControl->setSectionResizeMode(QHeaderView::Interactive);
    HeaderControl->setMinimumSectionSize(18);
    HeaderControl->setMaximumSectionSize(300);
    HeaderControl->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    HeaderControl->setFixedHeight(17);
    HeaderControl->resizeSection(0, 130);
    HeaderControl->resizeSection(1, 36);
    HeaderControl->resizeSection(2, 36);
    list->installEventFilter(this);
    headerViewport = HeaderControl->viewport();
    headerViewport->setMouseTracking(true);
    headerViewport->installEventFilter(this);
    connect(HeaderControl, &QHeaderView::sectionResized, this,
        [this](int section) { HeaderControlSectionResize(section); });
}

void TChildform::CreatePanelGraph(QWidget* content)
{
    PanelGraph = new QFrame(content);
    PanelGraph->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PanelGraph->setLineWidth(1);
    auto* column = new QVBoxLayout(PanelGraph);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    PanelCharts = new QSplitter(Qt::Vertical, PanelGraph);
    PanelCharts->setHandleWidth(3);
    PanelCharts->setChildrenCollapsible(false);
    Chart = new QCustomPlot(PanelCharts);
    Chart->setObjectName(QStringLiteral("Chart"));
    Chart2 = new QCustomPlot(PanelCharts);
    Chart2->setObjectName(QStringLiteral("Chart2"));
    for (QCustomPlot* chart : {Chart, Chart2})
        chart->setMinimumHeight(95);
    // Sets both charts up, on today.
    chartView = std::make_unique<TChartView>(*Chart, *Chart2);
    chartValues = std::make_unique<TChartValues>(analysisSet, *chartView, *this);
    chartOutput = std::make_unique<TChartOutput>(*chartView, analysisSet, *this);
    chartOutput->SetDialogs(StandardOutputDialogs(this));
    PanelCharts->addWidget(Chart);
    PanelCharts->addWidget(Chart2);
    PanelCharts->setStretchFactor(0, 1);
    PanelCharts->setStretchFactor(1, 0);
    PanelCharts->setSizes({400, 120});
    column->addWidget(PanelCharts, 1);

    Grid = new TTableGrid(PanelGraph);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->hide();
    tableView = std::make_unique<TTableView>(*Grid);
    column->addWidget(Grid, 1);

    PanelZoomX = new QFrame(PanelGraph);
    PanelZoomX->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PanelZoomX->setLineWidth(1);
    PanelZoomX->setFixedHeight(71);
    PanelZoomX->installEventFilter(this);
    CreateNavigationBar();
    column->addWidget(PanelZoomX);
}

void TChildform::CreateNavigationBar()
{
    TabSetDevices = new QTabBar(PanelZoomX);
    TabSetDevices->setGeometry(0, 0, PanelZoomX->width(), 17);
    TabSetDevices->setDrawBase(false);
    TabSetDevices->setExpanding(false);
    TabSetDevices->setStyleSheet(
        QStringLiteral("QTabBar { background: rgb(219, 224, 227); }"
                       "QTabBar::tab { height: 15px; padding: 0px 8px; margin-right: 1px; }"
                       "QTabBar::tab:selected { background: rgb(219, 224, 227); }"));
    LabelDisplayedTimeSpan = new QLabel(PanelZoomX);
    LabelDisplayedTimeSpan->move(5, 24);
    SpanTime = new QComboBox(PanelZoomX);
    SpanTime->setGeometry(162, 18, 213, 22);
    LabelSelectTimeSpan = new QLabel(PanelZoomX);
    LabelSelectTimeSpan->move(5, 46);
    SliderTime = new QSlider(Qt::Horizontal, PanelZoomX);
    SliderTime->setGeometry(154, 40, 229, 25);
    ButtonJumpLeft
        = NavigationButton(PanelZoomX, QStringLiteral("--"), NavigationGlyph::JumpLeft, 382);
    ButtonScrollLeft
        = NavigationButton(PanelZoomX, QStringLiteral("-"), NavigationGlyph::ScrollLeft, 406);
    ButtonScrollRight
        = NavigationButton(PanelZoomX, QStringLiteral("+"), NavigationGlyph::ScrollRight, 432);
    ButtonJumpRight
        = NavigationButton(PanelZoomX, QStringLiteral("++"), NavigationGlyph::JumpRight, 456);
}

bool TChildform::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel) {
        if (QScrollArea* list = ValueListOfViewport(watched)) {
            RouteWheelToValueList(list, static_cast<QWheelEvent*>(event));
            return true;
        }
    }
    // Compared by address: the header may be half destroyed when its children's last
    // events pass through here.
    if (headerViewport && watched == headerViewport) {
        if (event->type() == QEvent::MouseMove)
            HeaderControlMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint().x());
        if (event->type() == QEvent::ToolTip) {
            // The section's text, not the header model's tool tip role.
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                HeaderControl->toolTip(), HeaderControl);
            return true;
        }
    }
    if (event->type() == QEvent::Resize) {
        if (watched == PanelLeft)
            PanelLeftResize();
        else if (watched == PanelZoomX)
            PanelZoomXResize();
        else if (HeaderControl && watched == HeaderControl->parentWidget())
            HeaderControl->setGeometry(0, 0, HeaderControl->parentWidget()->width(), 17);
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

void TChildform::PanelLeftResize()
{
    const int height = PanelLeft->height() > panelLeftMinimumHeight
        ? std::max(PanelLeft->height() - PanelLeftTop->height() - ValueListMaximumHeight,
            PanelLeftBottomMinimumHeight)
        : PanelLeftBottomMinimumHeight;
    PanelLeftBottom->setFixedHeight(height);
    if (panelLeftWidth < panelLeftMinimumWidth)
        SetPanelLeftWidth(panelLeftMinimumWidth);
}

void TChildform::PanelZoomXResize()
{
    TabSetDevices->setGeometry(0, 0, PanelZoomX->width(), 17);
}

void TChildform::SetPanelLeftWidth(int width)
{
    panelLeftWidth = std::max(width, panelLeftMinimumWidth);
    PanelLeft->setFixedWidth(panelLeftWidth);
}

void TChildform::FillSpanTime()
{
    const QSignalBlocker quiet(SpanTime);
    const int selected = SpanTime->currentIndex();
    SpanTime->clear();
    for (TextId id :
        {TextId::TxtSpan1Hour, TextId::TxtSpan3Hours, TextId::TxtSpan8Hours, TextId::TxtSpan1Day,
            TextId::TxtSpan1Month, TextId::TxtSpan1Quarter, TextId::TxtSpan1Year})
        SpanTime->addItem(UiText(id));
    SpanTime->setCurrentIndex(selected < 0 ? SpanTimeOneDay : selected);
}

void TChildform::SelectSpanTimeQuietly(int index)
{
    const QSignalBlocker quiet(SpanTime);
    SpanTime->setCurrentIndex(index);
}

void TChildform::AttachSliderHandler()
{
    if (!sliderHandler)
        sliderHandler
            = connect(SliderTime, &QSlider::valueChanged, this, &TChildform::SliderTimeChange);
}

void TChildform::DetachSliderHandler()
{
    disconnect(sliderHandler);
    sliderHandler = {};
}

QString TChildform::ChartTitle() const
{
    return chartView->Title();
}

void TChildform::SetChartTitle(const QString& title)
{
    chartView->SetTitle(title);
}

bool TChildform::HasSeries() const
{
    return chartView->HasSeries();
}

void TChildform::ShowTableView(bool table)
{
    PanelCharts->setVisible(!table);
    Grid->setVisible(table);
    tableViewActive = table;
    FillTable();
    // So that Ctrl+C copies at once, without a click into the table first.
    if (table)
        Grid->setFocus();
}

void TChildform::UpdateCaption()
{
    setWindowTitle(QString::fromStdString(analysisSet.Caption()));
}

bool TChildform::HasCurrentAnalysis() const
{
    return analysisSet.CurrentAnalysis() != nullptr;
}

void TChildform::ApplyChildSettings(ChildSettings settings)
{
    if (settings.AxisMax < settings.AxisMin)
        std::swap(settings.AxisMin, settings.AxisMax);
    childSettings = settings;
    chartView->SetFixedLeftRange(settings.AxisMin, settings.AxisMax);
    const std::array<int, 3> widths{
        settings.HeaderWidth0, settings.HeaderWidth1, settings.HeaderWidth2};
    int total = 2;
    {
        const QSignalBlocker quiet(HeaderControl);
        for (int i = 0; i < HeaderControl->count() && i < 3; ++i) {
            // Stored widths hold to the sections' limits as dragged ones do.
            HeaderControl->resizeSection(
                i, std::clamp(widths[i], sectionMinimum[i], HeaderControl->maximumSectionSize()));
            total += HeaderControl->sectionSize(i);
        }
    }
    const int headerWidth = panelLeftWidth - PanelLeftChrome;
    if (headerWidth != total)
        SetPanelLeftWidth(panelLeftWidth + total - headerWidth);
}

void TChildform::HeaderControlSectionResize(int section)
{
    if (resizingSection)
        return;
    if (section < int(sectionMinimum.size())
        && HeaderControl->sectionSize(section) < sectionMinimum[section]) {
        // Per-section minimums: the header itself only knows one for all sections.
        resizingSection = true;
        HeaderControl->resizeSection(section, sectionMinimum[section]);
        resizingSection = false;
    }
    headerWidthsChanged = true;
    int total = 2;
    for (int i = 0; i < HeaderControl->count(); ++i) {
        total += HeaderControl->sectionSize(i);
        if (i == section) {
            const int width = HeaderControl->sectionSize(i);
            if (i == 0)
                childSettings.HeaderWidth0 = width;
            else if (i == 1)
                childSettings.HeaderWidth1 = width;
            else if (i == 2)
                childSettings.HeaderWidth2 = width;
        }
    }
    const int headerWidth = panelLeftWidth - PanelLeftChrome;
    if (total != headerWidth)
        SetPanelLeftWidth(panelLeftWidth + total - headerWidth);
    LayHeaderOver(HeaderControl->parentWidget(), false, QString());
    PanelLeft->update();
}

void TChildform::LayHeaderOver(QWidget* valueList, bool setText, const QString& text)
{
    // Given the list or the widget inside it.
    QScrollArea* list = nullptr;
    for (QWidget* w = valueList; w && !list; w = w->parentWidget())
        list = qobject_cast<QScrollArea*>(w);
    QWidget* host = list ? list->widget() : valueList;
    if (HeaderControl->parentWidget() != host) {
        HeaderControl->setParent(host);
        host->installEventFilter(this);
        HeaderControl->setGeometry(0, 0, host->width(), 17);
        HeaderControl->show();
    }
    AlignValueListRows(host);
    if (setText)
        headerModel->setHeaderData(1, Qt::Horizontal, text);
    if (HeaderControl->count() > 2)
        headerModel->setHeaderData(
            2, Qt::Horizontal, list == Overview ? QString() : UiText(TextId::TxtOverviewDisplay));
}

void TChildform::ApplyLanguageAndLayout()
{
    ActionOpenExcel->setText(UiText(TextId::TxtOpenInExcel));
    ActionOpenSettings->setText(UiText(TextId::TxtSettings));
    LabelDisplayedTimeSpan->setText(UiText(TextId::TxtDisplayedTimeWindow) + QStringLiteral(":"));
    LabelDisplayedTimeSpan->adjustSize();
    LabelSelectTimeSpan->setText(UiText(TextId::TxtScrollBar) + QStringLiteral(":"));
    LabelSelectTimeSpan->adjustSize();
    LabelHeadline->setText(UiText(TextId::TxtSelectableValues) + QStringLiteral(":"));
    LabelHeadline->adjustSize();
    panelLeftMinimumWidth = LabelHeadline->width() + 5;
    if (panelLeftWidth < panelLeftMinimumWidth)
        SetPanelLeftWidth(panelLeftMinimumWidth);
    RetranslateDevices();
    // Keeps the flag as it was: a language change is no resize by the user.
    const bool changed = headerWidthsChanged;
    HeaderControlSectionResize(0);
    headerWidthsChanged = changed;
    RelabelOverviewGrids();
    UpdateCaption();
    FillSpanTime();
    navigation->ApplyLanguage();
    UpdateYieldText();
    UpdateChartTitle();
}

void TChildform::OnActivate()
{
    UpdateExcelAction();
    if (QMenu* menu = systemMenu())
        for (QAction* item : menu->actions())
            if (item->shortcut() == QKeySequence::Close)
                item->setEnabled(true);
}

void TChildform::UpdateExcelAction()
{
    const int tabs = TabSetDevices->count();
    const bool onDeviceTab = tabs == 0 || TabSetDevices->currentIndex() != tabs - 1;
    ActionOpenExcel->setEnabled(
        SpanTime->currentIndex() <= SpanTimeOneDay && HasCurrentAnalysis() && onDeviceTab);
}

void TChildform::UpdateExcelAction(bool allowed)
{
    ActionOpenExcel->setEnabled(allowed);
}

void TChildform::ClearAnalysis()
{
    // The header lives on in Overview; the device lists go with their analyses.
    recordFollower->AnalysisCleared();
    LayHeaderOver(Overview, false, QString());
    ShowValueList(Overview);
    try {
        // The overview rows refer to the analyses that go now.
        ClearValueList(*Overview, HeaderControl);
        RemoveAllSeries();
        // The lower chart names no lane of outputs that are gone.
        chartView->SetOutputLanes({});
        analysisSet.ClearAnalysis();
    } catch (const std::exception&) {
        // Emptying goes on below whatever failed above.
    }
    AttachSliderHandler();
    readout->ClearMarkers();
    SelectSpanTimeQuietly(SpanTimeOneDay);
    SetChartTitle(QString());
    UpdateCaption();
    const QSignalBlocker quiet(TabSetDevices);
    while (TabSetDevices->count() > 0)
        TabSetDevices->removeTab(0);
}

void TChildform::ResetToEmpty()
{
    ClearAnalysis();
    setWindowTitle(UiText(TextId::TxtNew));
}

void TChildform::closeEvent(QCloseEvent* event)
{
    DetachSliderHandler();
    StoreHeaderWidthsOnClose();
    ClearAnalysis();
    closed = true;
    QMdiSubWindow::closeEvent(event);
}

void TChildform::StoreHeaderWidthsOnClose()
{
    TIniSettings* settings = ExistingIniSettings();
    if (!headerWidthsChanged || !settings)
        return;
    try {
        ChildSettings stored = settings->GetChildSettings();
        stored.HeaderWidth0 = HeaderControl->sectionSize(0);
        stored.HeaderWidth1 = HeaderControl->sectionSize(1);
        if (HeaderControl->count() > 2)
            stored.HeaderWidth2 = HeaderControl->sectionSize(2);
        settings->SetChildSettings(stored);
    } catch (const std::exception&) {
        // Widths that cannot be stored are simply not remembered.
    }
}

void TChildform::ShowValueList(QScrollArea* list)
{
    if (valueLists->indexOf(list) < 0) {
        valueLists->addWidget(list);
        list->viewport()->installEventFilter(this);
    }
    valueLists->setCurrentWidget(list);
    list->show();
}

QScrollArea* TChildform::ValueListOfViewport(QObject* viewport) const
{
    for (int i = 0; i < valueLists->count(); ++i) {
        auto* list = qobject_cast<QScrollArea*>(valueLists->widget(i));
        if (list && list->viewport() == viewport)
            return list;
    }
    return nullptr;
}

void TChildform::RouteWheelToValueList(QScrollArea* list, const QWheelEvent* event)
{
    // One notch (120) scrolls by 120 pixels, away from the user scrolling up.
    QScrollBar* bar = list->verticalScrollBar();
    bar->setValue(bar->value() - event->angleDelta().y());
}
