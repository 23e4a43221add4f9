#include "ui/common/FileDialog.h"

#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QScreen>

namespace {

class TCenterOnShow : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* dialog = qobject_cast<QWidget*>(watched);
        if (dialog && event->type() == QEvent::Show)
            if (const QScreen* screen = dialog->screen()) {
                // The frame as the user sees it, title bar included.
                const QRect area = screen->availableGeometry();
                const QSize size = dialog->frameGeometry().size();
                dialog->move(area.x() + (area.width() - size.width()) / 2,
                    area.y() + (area.height() - size.height()) / 2);
            }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

QStringList NameFiltersOf(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        if (const qsizetype open = name.lastIndexOf(QLatin1String(" ("));
            open > 0 && name.endsWith(QLatin1Char(')')))
            name.truncate(open);
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << name + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

bool ShowFileDialog(QString& fileName, QWidget* owner, const QString& filter, bool open,
    const QString& defaultExtension, const QString& initialDirectory)
{
    QFileDialog dialog(owner);
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(NameFiltersOf(filter));
    QString suffix = defaultExtension;
    if (suffix.startsWith(QLatin1String("*.")))
        suffix.remove(0, 2);
    dialog.setDefaultSuffix(suffix);
    const QFileInfo given(fileName);
    if (!initialDirectory.isEmpty())
        dialog.setDirectory(initialDirectory);
    else if (given.isAbsolute())
        dialog.setDirectory(given.absolutePath());
    if (!fileName.isEmpty())
        dialog.selectFile(given.fileName());
    CenterDialogHook(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = dialog.selectedFiles().constFirst();
    return true;
}

void CenterDialogHook(QWidget& dialog)
{
    dialog.installEventFilter(new TCenterOnShow(&dialog));
}
