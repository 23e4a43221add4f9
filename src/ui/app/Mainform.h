#pragma once
// The multiple-document frame of the program: menus, tool bar, language choice, the
// analysis windows (three at most), the error display and the start-up "Open".

#include <QMainWindow>

#include <array>

class QAction;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QActionGroup;
class QLabel;
class QMdiArea;
class QMenu;
class QTimer;
class QToolBar;
class TChildform;
class TDialogAbout;
class TDialogFileError;
class TDialogOpenAnalysis;
class TIniSettings;
class TManualWindow;

constexpr int MaxAnalysisWindows = 3;
constexpr int LanguageCount = 7;

class TMainform : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainform(QWidget* parent = nullptr);
    ~TMainform() override;

    // The reused dialogs, created after the main window.
    void AttachDialogs(
        TDialogAbout* about, TDialogFileError* fileError, TDialogOpenAnalysis* openAnalysis);
    // A directory named on the command line, offered instead of the last used one until an
    // analysis has been opened.
    void OfferDirectory(const QString& directory) { offeredDirectory = directory; }

    void ShowErrorBox(const QString& text);
    void ApplicationException(const QString& message);
    void UpdateCommandStates();
    void ApplyLanguage();
    void ApplyStoredLanguage();

    // The analysis windows in the frame's child order, without those being closed.
    QList<TChildform*> AnalysisWindows() const;
    TChildform* ActiveAnalysisWindow() const;

    void ActionOpenExecute();
    void ActionCloseExecute();
    void ActionSaveExecute();
    void ActionPrintExecute();
    void ActionPrintPreviewExecute();
    void ActionExitExecute();
    void ActionWindowSettingsExecute();
    void ActionAboutExecute();
    void ActionManualExecute();
    void ActionViewChartExecute();
    void ActionViewListExecute();
    void ActionFollowNewRecordsExecute();
    void ActionLanguageSelection(QAction* sender);

    // Moves and shrinks a window so it lies within the work area.
    static QRect FitToWorkArea(QRect window, const QRect& workArea);

    QWidget* PanelTop = nullptr;
    QToolBar* ToolBar = nullptr;
    QLabel* VelmoraLogo = nullptr;
    QMdiArea* MdiArea = nullptr;
    QTimer* Timer = nullptr;
    TIniSettings* Settings = nullptr;

    QAction* ActionOpen = nullptr;
    QAction* ActionClose = nullptr;
    QAction* ActionSave = nullptr;
    QAction* ActionPrint = nullptr;
    QAction* ActionPrintPreview = nullptr;
    QAction* ActionExit = nullptr;
    QAction* ActionWindowSettings = nullptr;
    QAction* ActionAbout = nullptr;
    QAction* ActionManual = nullptr;
    QAction* ActionViewChart = nullptr;
    QAction* ActionViewList = nullptr;
    QAction* ActionFollowNewRecords = nullptr;
    QAction* ActionCascade = nullptr;
    QAction* ActionTileHorizontal = nullptr;
    QAction* ActionMinimizeAll = nullptr;
    // German, English (GB), French, Spanish, Italian, Portuguese, English (US): code − 1.
    std::array<QAction*, LanguageCount> LanguageActions{};

    QMenu* MenuFile = nullptr;
    QMenu* MenuSettings = nullptr;
    QMenu* MenuLanguage = nullptr;
    QMenu* MenuView = nullptr;
    QMenu* MenuWindow = nullptr;
    QMenu* MenuHelp = nullptr;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // A folder (or a log file, meaning its folder) dropped from a file manager is offered
    // to "Open"; anything else is refused.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateSettingsStore();
    void OnActivate();
    void OnTimer();
    void PanelTopResize();
    template <typename Command> void WithActiveWindow(Command command);
    void ShowActiveWindowAs(bool table);
    void TileHorizontally();
    void MinimizeAll();
    bool MakeRoomForAnotherWindow();
    TChildform* CreateAnalysisWindow();
    int LanguageCodeOf(const QAction* action) const;

    QActionGroup* languageGroup = nullptr;
    QAction* checkedLanguage = nullptr;
    TDialogAbout* dialogAbout = nullptr;
    TDialogFileError* dialogFileError = nullptr;
    TDialogOpenAnalysis* dialogOpenAnalysis = nullptr;
    TManualWindow* manualWindow = nullptr;
    QString offeredDirectory;
    bool FirstActivation = true;
    QMetaObject::Connection focusConnection;
};
