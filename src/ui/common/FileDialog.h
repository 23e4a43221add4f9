#pragma once
// The open and save dialogs of the program, centred on the desktop when they open.

#include <QString>
#include <QStringList>

class QWidget;

// Filters as pairs "text|pattern|text|pattern…" (patterns separated by ";"), e.g.
// "All files (*.*)|*". Each becomes one Qt name filter showing the text's name with the
// pattern that really applies, so "All files" lists files without an extension too.
QStringList NameFiltersOf(const QString& filter);

// The open (open set: the file must exist) or save dialog, starting in the initial
// directory (or the folder of the given name) with the given name preselected. A name
// without extension gets that of the file type chosen in the list, or the default
// extension ("*.jpg") while the type is one of several patterns or all files. True and
// the chosen full name when the user confirms.
bool ShowFileDialog(QString& fileName, QWidget* owner, const QString& filter, bool open,
    const QString& defaultExtension, const QString& initialDirectory);
