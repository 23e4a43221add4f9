#include "ui/app/Mainform.h"

#include "core/base/KalvexError.h"
#include "core/settings/IniSettings.h"
#include "ui/analysis/Childform.h"
#include "ui/analysis/RecordFollower.h"
#include "ui/app/DialogAbout.h"
#include "ui/app/FolderDrop.h"
#include "ui/app/ManualWindow.h"
#include "ui/app/ProgramIdentity.h"
#include "ui/common/ApplicationErrors.h"
#include "ui/common/Glyphs.h"
#include "ui/common/MessageBox.h"
#include "ui/common/QtTexts.h"
#include "ui/common/UiText.h"
#include "ui/open/DialogFileError.h"
#include "ui/open/DialogOpenAnalysis.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QColor WindowColour(219, 224, 227);

const char* const LanguageNames[LanguageCount]
    = {"Deutsch", "English (GB)", "Français", "Español", "Italiano", "Português", "English (US)"};

QWidget* Spacer(int width)
{
    auto* spacer = new QWidget;
    spacer->setFixedWidth(width);
    return spacer;
}

} // namespace

TMainform::TMainform(QWidget* parent)
    : QMainWindow(parent)
{
    setWindowTitle(ProgramTitle);
    setWindowIcon(ProgramIcon());
    resize(790, 590);
    setMinimumSize(750, 510);
    setAcceptDrops(true);
    setFont(QFont(QStringLiteral("Arial"), 8));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, WindowColour);
    setPalette(palette);
    setAutoFillBackground(true);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    PanelTop = new QWidget(central);
    PanelTop->setFixedHeight(44);
    PanelTop->installEventFilter(this);
    layout->addWidget(PanelTop);
    MdiArea = new QMdiArea(central);
    layout->addWidget(MdiArea, 1);
    setCentralWidget(central);

    VelmoraLogo = new QLabel(PanelTop);
    VelmoraLogo->setFixedSize(97, 32);
    VelmoraLogo->setAlignment(Qt::AlignCenter);
    VelmoraLogo->setPixmap(PaintMakerLogo(97, 32));

    Timer = new QTimer(this);
    Timer->setInterval(1);
    Timer->setSingleShot(true);
    connect(Timer, &QTimer::timeout, this, Guarded([this] { OnTimer(); }));

    CreateActions();
    CreateMenus();
    CreateToolBar();

    SetApplicationErrorHandler(
        [this](const QString& message) { ApplicationException(message); }, this);
    SelectLanguage(1);
    CreateSettingsStore();
    ApplyLanguage();

    focusConnection = connect(
        qApp, &QApplication::focusChanged, this, Guarded([this] { UpdateCommandStates(); }));
    connect(
        MdiArea, &QMdiArea::subWindowActivated, this, Guarded([this] { UpdateCommandStates(); }));
    UpdateCommandStates();
    setWindowState(Qt::WindowMaximized);
}

TMainform::~TMainform()
{
    // The children are deleted after this body, and a focused child losing its focus, a
    // window leaving the area or a series going would run the handlers on a window whose
    // members are half gone.
    disconnect(focusConnection);
    MdiArea->disconnect(this);
    for (TChildform* child : findChildren<TChildform*>())
        child->disconnect(this);
    ClearApplicationErrorHandler(this);
}

void TMainform::AttachDialogs(
    TDialogAbout* about, TDialogFileError* fileError, TDialogOpenAnalysis* openAnalysis)
{
    dialogAbout = about;
    dialogFileError = fileError;
    dialogOpenAnalysis = openAnalysis;
}

void TMainform::CreateActions()
{
    const auto command = [this](void (TMainform::*handler)(), QKeySequence shortcut = {}) {
        auto* action = new QAction(this);
        action->setShortcut(shortcut);
        connect(
            action, &QAction::triggered, this, Guarded([this, handler] { (this->*handler)(); }));
        return action;
    };
    ActionOpen = command(&TMainform::ActionOpenExecute, QKeySequence(Qt::CTRL | Qt::Key_O));
    ActionOpen->setIcon(PaintToolGlyph(ToolGlyph::Open));
    ActionClose = command(&TMainform::ActionCloseExecute, QKeySequence(Qt::CTRL | Qt::Key_W));
    ActionSave = command(&TMainform::ActionSaveExecute, QKeySequence(Qt::CTRL | Qt::Key_S));
    ActionSave->setIcon(PaintToolGlyph(ToolGlyph::Save));
    ActionPrint = command(&TMainform::ActionPrintExecute, QKeySequence(Qt::CTRL | Qt::Key_P));
    ActionPrint->setIcon(PaintToolGlyph(ToolGlyph::Print));
    ActionPrintPreview = command(&TMainform::ActionPrintPreviewExecute);
    ActionExit = command(&TMainform::ActionExitExecute);
    ActionWindowSettings = command(&TMainform::ActionWindowSettingsExecute);
    ActionAbout = command(&TMainform::ActionAboutExecute);
    ActionAbout->setIcon(PaintToolGlyph(ToolGlyph::About));
    ActionManual = command(&TMainform::ActionManualExecute, QKeySequence(Qt::Key_F1));

    // Checked states of the two views mirror the active window; the group keeps exactly
    // one of them checked.
    ActionViewChart = command(&TMainform::ActionViewChartExecute);
    ActionViewChart->setIcon(PaintToolGlyph(ToolGlyph::Chart));
    ActionViewList = command(&TMainform::ActionViewListExecute);
    ActionViewList->setIcon(PaintToolGlyph(ToolGlyph::List));
    auto* views = new QActionGroup(this);
    for (QAction* view : {ActionViewChart, ActionViewList}) {
        view->setCheckable(true);
        views->addAction(view);
    }
    ActionViewChart->setChecked(true);
    // The active window's own state; off for a new window.
    ActionFollowNewRecords = command(&TMainform::ActionFollowNewRecordsExecute);
    ActionFollowNewRecords->setCheckable(true);

    ActionCascade = new QAction(this);
    connect(ActionCascade, &QAction::triggered, MdiArea, &QMdiArea::cascadeSubWindows);
    ActionTileHorizontal = new QAction(this);
    connect(ActionTileHorizontal, &QAction::triggered, this, &TMainform::TileHorizontally);
    ActionMinimizeAll = new QAction(this);
    connect(ActionMinimizeAll, &QAction::triggered, this, &TMainform::MinimizeAll);

    languageGroup = new QActionGroup(this);
    for (int i = 0; i < LanguageCount; ++i) {
        auto* action = new QAction(QString::fromUtf8(LanguageNames[i]), this);
        action->setCheckable(true);
        action->setIcon(PaintToolGlyph(static_cast<ToolGlyph>(int(ToolGlyph::FlagGerman) + i)));
        languageGroup->addAction(action);
        connect(action, &QAction::triggered, this,
            [this, action] { RunGuarded([&] { ActionLanguageSelection(action); }); });
        LanguageActions[i] = action;
    }
    LanguageActions[0]->setChecked(true);
    checkedLanguage = LanguageActions[0];
}

void TMainform::CreateMenus()
{
    MenuFile = menuBar()->addMenu(QString());
    MenuFile->addAction(ActionOpen);
    MenuFile->addAction(ActionClose);
    MenuFile->addSeparator();
    MenuFile->addAction(ActionSave);
    MenuFile->addAction(ActionPrint);
    MenuFile->addAction(ActionPrintPreview);
    MenuFile->addSeparator();
    MenuFile->addAction(ActionExit);
    MenuSettings = menuBar()->addMenu(QString());
    MenuSettings->addAction(ActionWindowSettings);
    MenuLanguage = menuBar()->addMenu(QString());
    for (QAction* language : LanguageActions)
        MenuLanguage->addAction(language);
    MenuView = menuBar()->addMenu(QString());
    MenuView->addAction(ActionViewChart);
    MenuView->addAction(ActionViewList);
    MenuView->addSeparator();
    MenuView->addAction(ActionFollowNewRecords);
    MenuWindow = menuBar()->addMenu(QString());
    MenuWindow->addAction(ActionCascade);
    MenuWindow->addAction(ActionTileHorizontal);
    MenuWindow->addAction(ActionMinimizeAll);
    MenuHelp = menuBar()->addMenu(QStringLiteral("?"));
    MenuHelp->addAction(ActionManual);
    MenuHelp->addAction(ActionAbout);
}

void TMainform::CreateToolBar()
{
    ToolBar = new QToolBar(PanelTop);
    ToolBar->setGeometry(0, 7, 537, 30);
    ToolBar->setIconSize(QSize(ToolGlyphSize, ToolGlyphSize));
    ToolBar->setMovable(false);
    ToolBar->setStyleSheet(QStringLiteral("QToolBar { border: 0px; }"));
    ToolBar->addAction(ActionOpen);
    ToolBar->addAction(ActionSave);
    ToolBar->addAction(ActionPrint);
    ToolBar->addWidget(Spacer(24));
    for (QAction* language : LanguageActions)
        ToolBar->addAction(language);
    ToolBar->addWidget(Spacer(24));
    ToolBar->addAction(ActionViewChart);
    ToolBar->addAction(ActionViewList);
    ToolBar->addWidget(Spacer(24));
    ToolBar->addAction(ActionAbout);
}

void TMainform::CreateSettingsStore()
{
    try {
        Settings = &GetIniSettings();
    } catch (const std::exception&) {
        Settings = nullptr;
        // Both languages: the user's language cannot be known without the settings.
        ShowErrorBox(
            QString::fromStdString(TextIn(TextArray::EnglishGB, TextId::TxtIniAccessFailed))
            + QStringLiteral("\n\n")
            + QString::fromStdString(TextIn(TextArray::German, TextId::TxtIniAccessFailed)));
    }
}

void TMainform::ShowErrorBox(const QString& text)
{
    ShowMessage({this, UiText(TextId::TxtError), text, MessageIcon::Error, MessageButtons::Ok});
}

void TMainform::ApplicationException(const QString& message)
{
    ShowErrorBox(message);
}

QList<TChildform*> TMainform::AnalysisWindows() const
{
    QList<TChildform*> windows;
    for (QMdiSubWindow* window : MdiArea->subWindowList(QMdiArea::CreationOrder)) {
        auto* child = qobject_cast<TChildform*>(window);
        if (child && !child->IsClosed())
            windows << child;
    }
    return windows;
}

TChildform* TMainform::ActiveAnalysisWindow() const
{
    auto* child = qobject_cast<TChildform*>(MdiArea->currentSubWindow());
    return child && !child->IsClosed() ? child : nullptr;
}

bool TMainform::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && FirstActivation)
        OnActivate();
    // Without a window manager that activates it, the first showing counts as the first
    // activation, once the window is up.
    if (event->type() == QEvent::Show && FirstActivation)
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (FirstActivation)
                    OnActivate();
            },
            Qt::QueuedConnection);
    return QMainWindow::event(event);
}

void TMainform::dragEnterEvent(QDragEnterEvent* event)
{
    if (ActionOpen->isEnabled() && !DroppedFolder(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TMainform::dragMoveEvent(QDragMoveEvent* event)
{
    if (ActionOpen->isEnabled() && !DroppedFolder(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TMainform::dropEvent(QDropEvent* event)
{
    const QString folder = DroppedFolder(event->mimeData());
    if (folder.isEmpty() || !ActionOpen->isEnabled()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    OfferDirectory(folder);
    // The file manager waits for the drop to end; the dialog opens after it.
    QTimer::singleShot(0, this, [this] { RunGuarded([this] { ActionOpenExecute(); }); });
}

bool TMainform::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == PanelTop && event->type() == QEvent::Resize)
        PanelTopResize();
    return QMainWindow::eventFilter(watched, event);
}

void TMainform::PanelTopResize()
{
    VelmoraLogo->move(PanelTop->width() - VelmoraLogo->width() - 53,
        (PanelTop->height() - VelmoraLogo->height()) / 2);
}

QRect TMainform::FitToWorkArea(QRect window, const QRect& workArea)
{
    if (window.top() + window.height() > workArea.top() + workArea.height()) {
        const int height = std::min(window.height(), workArea.height());
        window.setRect(window.left(), workArea.top() + (workArea.height() - height) / 2,
            window.width(), height);
    }
    if (window.left() + window.width() > workArea.left() + workArea.width()) {
        const int width = std::min(window.width(), workArea.width());
        window.setRect(
            workArea.left() + (workArea.width() - width) / 2, window.top(), width, window.height());
    }
    return window;
}

void TMainform::OnActivate()
{
    FirstActivation = false;
    if (QScreen* screen = this->screen(); screen && !isMaximized())
        setGeometry(FitToWorkArea(geometry(), screen->availableGeometry()));
    ApplyStoredLanguage();
    Timer->start();
}

void TMainform::OnTimer()
{
    Timer->stop();
    ActionOpenExecute();
}

void TMainform::UpdateCommandStates()
{
    bool seriesFlag = false;
    bool tableFlag = false;
    TChildform* active = ActiveAnalysisWindow();
    if (active) {
        active->OnActivate();
        seriesFlag = active->HasSeries();
        tableFlag = active->TableViewActive();
    }
    const bool anyWindow = !AnalysisWindows().isEmpty();
    for (QAction* always : {ActionOpen, ActionExit, ActionAbout, ActionManual})
        always->setEnabled(true);
    for (QAction* withWindow :
        {ActionClose, ActionWindowSettings, ActionCascade, ActionMinimizeAll, ActionTileHorizontal})
        withWindow->setEnabled(anyWindow);
    ActionSave->setEnabled(seriesFlag);
    ActionPrint->setEnabled(seriesFlag || tableFlag);
    ActionPrintPreview->setEnabled(seriesFlag || tableFlag);
    ActionViewChart->setEnabled(active != nullptr);
    ActionViewList->setEnabled(active != nullptr);
    ActionViewChart->setChecked(!tableFlag);
    ActionViewList->setChecked(tableFlag);
    ActionFollowNewRecords->setEnabled(active != nullptr);
    ActionFollowNewRecords->setChecked(active && active->RecordFollower().Enabled());
}

void TMainform::ApplyLanguage()
{
    ApplyQtTexts(CurrentTextArray());
    MenuFile->setTitle(UiText(TextId::TxtMenuFile));
    ActionOpen->setText(UiText(TextId::TxtOpen));
    ActionClose->setText(UiText(TextId::TxtClose));
    ActionSave->setText(UiText(TextId::TxtSave));
    ActionPrint->setText(UiText(TextId::TxtPrint));
    ActionPrintPreview->setText(UiText(TextId::TxtPrintPreview));
    ActionExit->setText(UiText(TextId::TxtExit));
    MenuSettings->setTitle(UiText(TextId::TxtSettings));
    ActionWindowSettings->setText(UiText(TextId::TxtCurrentWindow));
    MenuLanguage->setTitle(UiText(TextId::TxtLanguageSelection));
    MenuView->setTitle(UiText(TextId::TxtMenuView));
    ActionViewChart->setText(UiText(TextId::TxtDiagram));
    ActionViewList->setText(UiText(TextId::TxtTable));
    ActionFollowNewRecords->setText(UiText(TextId::TxtFollowNewRecords));
    MenuWindow->setTitle(UiText(TextId::TxtMenuWindow));
    ActionCascade->setText(UiText(TextId::TxtCascade));
    ActionTileHorizontal->setText(UiText(TextId::TxtTileHorizontal));
    ActionMinimizeAll->setText(UiText(TextId::TxtMinimizeAll));
    ActionAbout->setText(UiText(TextId::TxtInfo));
    ActionManual->setText(UiText(TextId::TxtUserManual));
    ActionViewChart->setToolTip(UiText(TextId::TxtGraphicalView));
    ActionViewList->setToolTip(UiText(TextId::TxtTabularView));
    for (TChildform* child : AnalysisWindows())
        child->ApplyLanguageAndLayout();
}

int TMainform::LanguageCodeOf(const QAction* action) const
{
    for (int i = 0; i < LanguageCount; ++i)
        if (LanguageActions[i] == action)
            return i + 1;
    return 1;
}

void TMainform::ActionLanguageSelection(QAction* sender)
{
    MainSettings stored;
    if (Settings)
        stored = Settings->GetMainSettings();
    if (sender == checkedLanguage) {
        sender->setChecked(true);
        return;
    }
    sender->setChecked(true); // the group unchecks the others
    checkedLanguage = sender;
    const int code = LanguageCodeOf(sender);
    SelectLanguage(code);
    ApplyLanguage();
    if (Settings)
        Settings->SetMainSettings(code, stored.LastUsedDir);
}

void TMainform::ApplyStoredLanguage()
{
    if (!Settings) {
        ApplyLanguage();
        return;
    }
    const int code = Settings->GetMainSettings().Language;
    const int index = code >= 1 && code <= LanguageCount ? code - 1 : 0;
    SelectLanguage(index + 1);
    LanguageActions[index]->setChecked(true);
    checkedLanguage = LanguageActions[index];
    ApplyLanguage();
}

bool TMainform::MakeRoomForAnotherWindow()
{
    const QList<TChildform*> windows = AnalysisWindows();
    if (windows.size() < MaxAnalysisWindows)
        return true;
    TChildform* replaced = ActiveAnalysisWindow();
    if (!replaced)
        replaced = windows.at(2);
    if (replaced->isMinimized())
        replaced->showMaximized();
    MdiArea->setActiveSubWindow(replaced);
    replaced->raise();
    const MessageResult answer = ShowMessage({this, UiText(TextId::TxtWarning),
        UiText(TextId::TxtMaxAnalysesQuestion), MessageIcon::Warning, MessageButtons::YesNo});
    if (answer != MessageResult::Yes)
        return false;
    replaced->close();
    return true;
}

TChildform* TMainform::CreateAnalysisWindow()
{
    TChildform* child = nullptr;
    try {
        child = new TChildform();
    } catch (const std::exception&) {
        Fail(TextId::TxtWindowNotCreated);
    }
    connect(child, &TChildform::SeriesChanged, this, &TMainform::UpdateCommandStates);
    MdiArea->addSubWindow(child);
    child->showMaximized();
    return child;
}

void TMainform::ActionOpenExecute()
{
    QString directory;
    int rememberedLanguage = 0;
    if (Settings) {
        const MainSettings stored = Settings->GetMainSettings();
        directory = QString::fromStdString(stored.LastUsedDir);
        rememberedLanguage = stored.Language;
    }
    if (!offeredDirectory.isEmpty())
        directory = offeredDirectory;
    if (!MakeRoomForAnotherWindow())
        return;
    TChildform* child = CreateAnalysisWindow();
    dialogOpenAnalysis->AssignAnalysisWindow(child, directory);
    if (dialogOpenAnalysis->exec() != QDialog::Accepted) {
        child->close();
        UpdateCommandStates();
        return;
    }
    offeredDirectory.clear();
    if (Settings)
        Settings->SetMainSettings(
            rememberedLanguage, dialogOpenAnalysis->GetRootDirectory().toStdString());
    dialogFileError->ShowIfErrors();
}

template <typename Command> void TMainform::WithActiveWindow(Command command)
{
    if (TChildform* active = ActiveAnalysisWindow())
        command(*active);
    UpdateCommandStates();
}

void TMainform::ActionCloseExecute()
{
    WithActiveWindow([](TChildform& window) { window.close(); });
}

void TMainform::ActionSaveExecute()
{
    WithActiveWindow([](TChildform& window) { window.SaveChartImage(); });
}

void TMainform::ActionPrintExecute()
{
    WithActiveWindow([](TChildform& window) { window.PrintWindow(); });
}

void TMainform::ActionPrintPreviewExecute()
{
    WithActiveWindow([](TChildform& window) { window.PrintPreview(); });
}

void TMainform::ActionWindowSettingsExecute()
{
    WithActiveWindow([](TChildform& window) { window.ActionOpenSettingsExecute(); });
}

void TMainform::ActionExitExecute()
{
    close();
}

void TMainform::ActionAboutExecute()
{
    dialogAbout->exec();
}

// The manual of the language shown now, in its window; the window stays for the next F1.
void TMainform::ActionManualExecute()
{
    const QString file = ManualFile(ManualDirectory(), CurrentTextArray());
    if (file.isEmpty()) {
        ShowErrorBox(UiText(TextId::TxtManualMissing));
        return;
    }
    if (!manualWindow)
        manualWindow = new TManualWindow(this);
    manualWindow->Open(file);
    manualWindow->show();
    manualWindow->raise();
    manualWindow->activateWindow();
}

void TMainform::ActionViewChartExecute()
{
    ShowActiveWindowAs(false);
}

void TMainform::ActionViewListExecute()
{
    ShowActiveWindowAs(true);
}

// The view is the window's; the two buttons only mirror it, and clicking the checked one
// changes nothing.
void TMainform::ShowActiveWindowAs(bool table)
{
    WithActiveWindow([table](TChildform& window) {
        if (window.TableViewActive() != table)
            window.ShowTableView(table);
    });
}

void TMainform::ActionFollowNewRecordsExecute()
{
    const bool on = ActionFollowNewRecords->isChecked();
    WithActiveWindow([on](TChildform& window) { window.RecordFollower().SetEnabled(on); });
    UpdateCommandStates();
}

void TMainform::TileHorizontally()
{
    QList<TChildform*> shown;
    for (TChildform* child : AnalysisWindows())
        if (!child->isMinimized())
            shown << child;
    if (shown.isEmpty())
        return;
    const QRect area = MdiArea->viewport()->rect();
    const int height = area.height() / int(shown.size());
    for (int i = 0; i < shown.size(); ++i) {
        shown[i]->showNormal();
        shown[i]->setGeometry(0, i * height, area.width(), height);
    }
}

void TMainform::MinimizeAll()
{
    for (TChildform* child : AnalysisWindows())
        child->showMinimized();
}

void TMainform::closeEvent(QCloseEvent* event)
{
    // A dialog still open is closed first; one that refuses (a load in progress) keeps
    // the program open.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != this) {
        event->ignore();
        if (modal->close())
            QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    for (TChildform* child : AnalysisWindows())
        child->close();
    if (Settings) {
        ReleaseIniSettings();
        Settings = nullptr;
    }
    event->accept();
}
