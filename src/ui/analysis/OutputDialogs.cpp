#include "ui/analysis/OutputDialogs.h"

#include "core/base/KalvexError.h"
#include "ui/common/FileDialog.h"
#include "ui/common/UiText.h"

#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>

TOutputDialogs StandardOutputDialogs(QWidget* parent)
{
    const QPointer<QWidget> owner(parent);
    TOutputDialogs dialogs;
    dialogs.saveFile = [owner](const QString& proposedName, const QString& filters) {
        QString name = proposedName;
        if (!ShowFileDialog(name, owner, filters, false, QStringLiteral("*.jpg"), QString()))
            return QString();
        return name;
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
