#include "ui/open/DialogFileError.h"

#include "ui/common/UiText.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>

TDialogFileError::TDialogFileError(QWidget* parent)
    : QDialog(parent)
{
    setFixedSize(577, 429);
    LabelCaption = new QLabel(this);
    QFont bold = LabelCaption->font();
    bold.setBold(true);
    LabelCaption->setFont(bold);
    LabelCaption->setGeometry(8, 12, 561, 20);
    ErrorList = new QPlainTextEdit(this);
    ErrorList->setGeometry(8, 40, 561, 345);
    ErrorList->setReadOnly(true);
    ErrorList->setLineWrapMode(QPlainTextEdit::NoWrap);
    ButtonOk = new QPushButton(this);
    ButtonOk->setGeometry(484, 396, 85, 25);
    ButtonOk->setDefault(true);
    connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
}

void TDialogFileError::ClearErrors()
{
    pending = false;
    ErrorList->clear();
}

void TDialogFileError::SetErrors(const QStringList& lines)
{
    ErrorList->setPlainText(lines.join(QLatin1Char('\n')));
    pending = true;
}

void TDialogFileError::ShowIfErrors()
{
    if (!pending)
        return;
    exec();
    ClearErrors();
}

void TDialogFileError::FormShow()
{
    setWindowTitle(UiText(TextId::TxtError) + QStringLiteral(":"));
    LabelCaption->setText(UiText(TextId::TxtErrorsOpeningLogFiles));
    ButtonOk->setText(UiText(TextId::TxtOk));
}

void TDialogFileError::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}
