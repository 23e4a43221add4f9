#include "ui/open/DialogOpenAnalysis.h"

#include "core/base/KalvexError.h"
#include "core/loading/DeviceReaders.h"
#include "core/loading/LoadLogFiles.h"
#include "ui/analysis/Childform.h"
#include "ui/common/ApplicationErrors.h"
#include "ui/common/MessageBox.h"
#include "ui/common/UiText.h"
#include "ui/open/DialogFileError.h"
#include "ui/open/EscapeKeyWatch.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

QString ChooseDirectory(QWidget* parent, const QString& title, const QString& start)
{
    return QFileDialog::getExistingDirectory(parent, title, start, QFileDialog::ShowDirsOnly);
}

QDate ToQDate(TDateTime t)
{
    const CivilDate date = DecodeDate(t);
    return QDate(date.year, date.month, date.day);
}

TDateTime FromQDate(const QDate& date)
{
    return EncodeDate(date.year(), date.month(), date.day());
}

QDateEdit* DatePicker(QWidget* parent)
{
    auto* picker = new QDateEdit(QDate::currentDate(), parent);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    return picker;
}

} // namespace

TDialogOpenAnalysis::TDialogOpenAnalysis(TDialogFileError* errors, QWidget* parent)
    : QDialog(parent)
    , BrowseForDirectory(ChooseDirectory)
    , fileErrors(errors)
    , escape(new TEscapeKeyWatch(this))
{
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    auto* layout = new QVBoxLayout(this);

    LabelStep1 = new QLabel(this);
    QFont bold = LabelStep1->font();
    bold.setBold(true);
    LabelStep1->setFont(bold);
    layout->addWidget(LabelStep1);
    auto* directoryRow = new QHBoxLayout;
    RootDir = new QLineEdit(this);
    RootDir->setMinimumWidth(300);
    SelectDirBtn = new QPushButton(this);
    directoryRow->addWidget(RootDir, 1);
    directoryRow->addWidget(SelectDirBtn);
    layout->addLayout(directoryRow);

    layout->addSpacing(8);
    LabelStep2 = new QLabel(this);
    layout->addWidget(LabelStep2);
    auto* dates = new QGridLayout;
    LabelFrom = new QLabel(this);
    DateFrom = DatePicker(this);
    LabelTo = new QLabel(this);
    DateTo = DatePicker(this);
    dates->addWidget(LabelFrom, 0, 0);
    dates->addWidget(DateFrom, 0, 1);
    dates->addWidget(LabelTo, 1, 0);
    dates->addWidget(DateTo, 1, 1);
    dates->setColumnStretch(2, 1);
    layout->addLayout(dates);

    layout->addSpacing(8);
    auto* progressRow = new QHBoxLayout;
    LabelProgress = new QLabel(this);
    Progress = new QProgressBar(this);
    Progress->setTextVisible(false);
    Progress->setFocusPolicy(Qt::TabFocus);
    progressRow->addWidget(LabelProgress);
    progressRow->addWidget(Progress, 1);
    layout->addLayout(progressRow);
    LabelAbort = new QLabel(this);
    // Its line is kept while it is hidden, so the dialog keeps its size while loading.
    QSizePolicy abortPolicy = LabelAbort->sizePolicy();
    abortPolicy.setRetainSizeWhenHidden(true);
    LabelAbort->setSizePolicy(abortPolicy);
    LabelAbort->hide();
    layout->addWidget(LabelAbort);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    ExecuteBtn = new QPushButton(this);
    ExecuteBtn->setDefault(true);
    CancelBtn = new QPushButton(this);
    buttons->addWidget(ExecuteBtn);
    buttons->addWidget(CancelBtn);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(RootDir, SelectDirBtn);
    setTabOrder(SelectDirBtn, DateFrom);
    setTabOrder(DateFrom, DateTo);
    setTabOrder(DateTo, ExecuteBtn);
    setTabOrder(ExecuteBtn, CancelBtn);
    setTabOrder(CancelBtn, Progress);

    connect(RootDir, &QLineEdit::editingFinished, this, [this] {
        // Leaving the field rescans a changed directory; merely passing through it keeps
        // the chosen period, and the focus moving away as the dialog hides does nothing.
        if (!loading && isVisible() && RootDir->text() != scannedDirectory)
            UpdateFileList();
    });
    connect(SelectDirBtn, &QPushButton::clicked, this, &TDialogOpenAnalysis::SelectDirBtnClick);
    connect(DateFrom, &QDateEdit::dateChanged, this, &TDialogOpenAnalysis::DateFromChange);
    connect(DateTo, &QDateEdit::dateChanged, this, &TDialogOpenAnalysis::DateToChange);
    connect(ExecuteBtn, &QPushButton::clicked, this, &TDialogOpenAnalysis::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &TDialogOpenAnalysis::reject);
}

TDialogOpenAnalysis::~TDialogOpenAnalysis()
{
    // Hiding while destroyed moves the focus, which must not reach a half-destroyed dialog.
    RootDir->disconnect(this);
}

void TDialogOpenAnalysis::AssignAnalysisWindow(TChildform* window, const QString& directory)
{
    target = window;
    RootDir->setText(directory);
}

QString TDialogOpenAnalysis::GetRootDirectory() const
{
    return RootDir->text();
}

void TDialogOpenAnalysis::ApplyLanguage()
{
    setWindowTitle(UiText(TextId::TxtOpenReport));
    LabelStep1->setText(UiText(TextId::TxtStep1));
    LabelStep2->setText(UiText(TextId::TxtStep2));
    SelectDirBtn->setText(UiText(TextId::TxtSearch));
    LabelFrom->setText(UiText(TextId::TxtPeriodStart));
    LabelTo->setText(UiText(TextId::TxtPeriodEnd));
    LabelProgress->setText(UiText(TextId::TxtProgress));
    LabelAbort->setText(UiText(TextId::TxtPressEsc));
    ExecuteBtn->setText(UiText(TextId::TxtAnalyse));
    CancelBtn->setText(UiText(TextId::TxtCancel));
}

void TDialogOpenAnalysis::showEvent(QShowEvent* event)
{
    // Not when the minimised dialog is restored: the chosen period would be lost.
    if (!event->spontaneous()) {
        ApplyLanguage();
        UpdateFileList();
        RootDir->setFocus();
    }
    QDialog::showEvent(event);
}

int TDialogOpenAnalysis::ValidFileCount() const
{
    return int(validFiles.size());
}

void TDialogOpenAnalysis::UpdateFileList()
{
    validFiles.clear();
    SetInputsEnabled(true);
    Progress->setValue(0);
    Progress->setEnabled(false);
    LabelAbort->hide();
    bool datesAvailable = false;
    const QString directory = RootDir->text();
    scannedDirectory = directory;
    if (!directory.isEmpty() && QFileInfo(directory).isDir()) {
        ScanDirectory(directory.toStdString(), validFiles, 2);
        SortByDateKey(validFiles);
        if (const std::optional<TFileDates> dates = TrimToDatedEnds(validFiles)) {
            SetDateRange(DateFrom, dates->first, dates->last, dates->first);
            SetDateRange(DateTo, dates->first, dates->last, dates->last);
            datesAvailable = true;
        }
    }
    QFont font = LabelStep2->font();
    font.setBold(datesAvailable);
    LabelStep2->setFont(font);
    DateFrom->setEnabled(datesAvailable);
    DateTo->setEnabled(datesAvailable);
}

void TDialogOpenAnalysis::SetDateRange(
    QDateEdit* picker, TDateTime minimum, TDateTime maximum, TDateTime date)
{
    // Setting the range and the date is no choice of the user's: the coupling of the two
    // pickers stays out of it.
    const QSignalBlocker quiet(picker);
    picker->setDateRange(ToQDate(minimum), ToQDate(maximum));
    picker->setDate(ToQDate(date));
}

bool TDialogOpenAnalysis::Analyse()
{
    // The scanned list stays whole, so that another period can be chosen after this one.
    TLogFileList chosen = validFiles;
    KeepPeriod(chosen, FromQDate(DateFrom->date()), FromQDate(DateTo->date()));
    return LoadFiles(chosen);
}

void TDialogOpenAnalysis::SelectDirBtnClick()
{
    const QString current = RootDir->text();
    const QString start
        = !current.isEmpty() && QDir(current).exists() ? current : QDir::currentPath();
    const QString chosen = BrowseForDirectory(this, UiText(TextId::TxtSelectLogDirectory), start);
    if (chosen.isEmpty())
        return;
    RootDir->setText(QDir::toNativeSeparators(chosen));
    UpdateFileList();
}

void TDialogOpenAnalysis::DateFromChange()
{
    if (DateFrom->date() > DateTo->date())
        DateTo->setDate(DateFrom->date());
}

void TDialogOpenAnalysis::DateToChange()
{
    if (DateTo->date() < DateFrom->date())
        DateFrom->setDate(DateTo->date());
}

void TDialogOpenAnalysis::SetInputsEnabled(bool enabled)
{
    for (QWidget* input : std::initializer_list<QWidget*>{
             RootDir, SelectDirBtn, DateTo, DateFrom, CancelBtn, ExecuteBtn})
        input->setEnabled(enabled);
}

void TDialogOpenAnalysis::accept()
{
    // "Analyse": the dialog closes with OK only when the analysis was built.
    if (loading)
        return;
    try {
        if (Analyse())
            QDialog::accept();
    } catch (const std::exception&) {
        // The dialog stays open; the message goes to the error display.
        ReportCurrentException();
    }
}

void TDialogOpenAnalysis::reject()
{
    // Esc and the close box have no say while files are loading; Esc aborts instead.
    if (!loading)
        QDialog::reject();
}

void TDialogOpenAnalysis::closeEvent(QCloseEvent* event)
{
    if (loading) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

bool TDialogOpenAnalysis::LoadFiles(const TLogFileList& files)
{
    if (files.empty())
        Fail(TextId::TxtNoFilesFound);
    if (!target)
        throw KalvexError("Illegal State (OpenDialog::Target == NULL)");

    escape->Start();
    loading = true;
    // Whatever happens below, the dialog returns to its state before the load.
    const auto restore = qScopeGuard([this] {
        loading = false;
        escape->Stop();
        SetInputsEnabled(true);
        LabelAbort->hide();
        Progress->setValue(0);
        Progress->setEnabled(false);
        QApplication::processEvents();
    });
    // An Esc pressed before now, or still held, cannot abort: the load waits for it.
    escape->Flush();
    Progress->setEnabled(true);
    SetInputsEnabled(false);
    LabelAbort->show();
    LabelAbort->repaint();
    fileErrors->ClearErrors();

    TLoadHooks hooks;
    hooks.progress = [this](int done, int total) {
        Progress->setMaximum(total);
        Progress->setValue(done);
    };
    hooks.processEvents = [this] {
        // The window shows the requested period while it fills.
        target->UpdateCaption();
        QApplication::processEvents();
    };
    hooks.abortRequested = [this] { return escape->Poll() && isActiveWindow(); };
    // The devices are read on the machine's cores while this thread keeps the dialog alive.
    hooks.workers = DefaultLoadWorkers();
    hooks.deviceFailed = [](const std::string& message) {
        ReportApplicationError(QString::fromStdString(message));
    };
    hooks.finishViews = [this] {
        target->UpdateCaption();
        target->FinishLoad();
    };

    TLoadResult result;
    try {
        result = LoadLogFiles(target->AnalysisSet(), files, FromQDate(DateFrom->date()),
            FromQDate(DateTo->date()), hooks);
    } catch (const std::exception&) {
        target->ResetToEmpty();
        throw;
    }
    if (result.aborted) {
        target->ResetToEmpty();
        ShowMessage({this, UiText(TextId::TxtInformation), UiText(TextId::TxtAbortedByUser),
            MessageIcon::Information, MessageButtons::Ok});
        return false;
    }
    if (!result.failures.empty()) {
        QStringList lines;
        for (const std::string& line : result.ErrorLines())
            lines << QString::fromStdString(line);
        fileErrors->SetErrors(lines);
    }
    return true;
}
