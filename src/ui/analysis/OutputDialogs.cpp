#include "ui/analysis/OutputDialogs.h"

#include "core/base/KalvexError.h"
#include "ui/common/UiText.h"

#include <QFileDialog>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>

TOutputDialogs StandardOutputDialogs(QWidget* parent)
{
    const QPointer<QWidget> owner(parent);
    TOutputDialogs dialogs;
    dialogs.saveFile = [owner](const QString& proposedName, const QString& filters) {
        QFileDialog dialog(owner, UiText(TextId::TxtSave), QString(), filters);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(QStringLiteral("jpg"));
        dialog.selectFile(proposedName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().first();
    };
    dialogs.printer = [owner](QPrinter& printer) {
        QPrintDialog dialog(&printer, owner);
        dialog.setWindowTitle(UiText(TextId::TxtPrint));
        return dialog.exec() == QDialog::Accepted;
    };
    return dialogs;
}

void FailWhenPrinterFailed(const QPrinter& printer)
{
    if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        Fail(TextId::TxtPrintFailed);
}
