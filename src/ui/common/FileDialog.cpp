#include "ui/common/FileDialog.h"

#include "ui/common/CenterDialogHook.h"

#include <QFileDialog>
#include <QFileInfo>

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

namespace {

// "bmp" of "Image files (*.bmp)"; empty for a filter of several patterns or of all files.
QString SuffixOfNameFilter(const QString& nameFilter)
{
    const qsizetype open = nameFilter.lastIndexOf(QLatin1String("(*."));
    if (open < 0 || !nameFilter.endsWith(QLatin1Char(')')))
        return {};
    const QString suffix = nameFilter.mid(open + 3, nameFilter.size() - open - 4);
    return suffix.contains(QLatin1Char(' ')) || suffix.contains(QLatin1Char('*')) ? QString()
                                                                                  : suffix;
}

} // namespace

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
    // The type chosen in the list gives a name without extension its extension.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog, suffix](const QString& nameFilter) {
            const QString chosen = SuffixOfNameFilter(nameFilter);
            dialog.setDefaultSuffix(chosen.isEmpty() ? suffix : chosen);
        });
    const QFileInfo given(fileName);
    if (!initialDirectory.isEmpty())
        dialog.setDirectory(initialDirectory);
    else if (given.isAbsolute())
        dialog.setDirectory(given.absolutePath());
    if (!fileName.isEmpty())
        dialog.selectFile(given.fileName());
    InstallCenterDialogHook(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = dialog.selectedFiles().constFirst();
    return true;
}
