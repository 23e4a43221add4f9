#include "open/DialogOpenAnalysis.h"

#include "analysis/Childform.h"
#include "app/ApplicationErrors.h"
#include "app/UiText.h"
#include "open/DialogFileError.h"
#include "open/EscapeKeyWatch.h"

#include <QCloseEvent>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString ChooseDirectory(QWidget* parent, const QString& title, const QString& start)
{
    return QFileDialog::getExistingDirectory(parent, title, start, QFileDialog::ShowDirsOnly);
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
        if (!loading)
            UpdateFileList();
    });
    connect(SelectDirBtn, &QPushButton::clicked, this, &TDialogOpenAnalysis::SelectDirBtnClick);
    connect(DateFrom, &QDateEdit::dateChanged, this, &TDialogOpenAnalysis::DateFromChange);
    connect(DateTo, &QDateEdit::dateChanged, this, &TDialogOpenAnalysis::DateToChange);
    connect(ExecuteBtn, &QPushButton::clicked, this, &TDialogOpenAnalysis::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &TDialogOpenAnalysis::reject);
}

TDialogOpenAnalysis::~TDialogOpenAnalysis() = default;

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
    ApplyLanguage();
    UpdateFileList();
    RootDir->setFocus();
    QDialog::showEvent(event);
}

void TDialogOpenAnalysis::SelectDirBtnClick()
{
    const QString current = RootDir->text();
    const QString start = !current.isEmpty() && QDir(current).exists() ? current : QDir::currentPath();
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
    for (QWidget* input : std::initializer_list<QWidget*>{RootDir, SelectDirBtn, DateTo, DateFrom, CancelBtn, ExecuteBtn})
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
