#pragma once
// The user manual in a window of its own: the Markdown manual of the program's language
// with its pictures, and its headings as a list of contents beside it.

#include "core/base/LanguageTable.h"

#include <QString>
#include <QWidget>

class QListWidget;
class QTextBrowser;

// The manual's folder as installed relative to the program; the build copies it to the
// same place in the build tree.
QString ManualDirectory();

// The manual of the language's text array in that folder, else the English one; empty
// when neither is there.
QString ManualFile(const QString& directory, TextArray language);

class TManualWindow : public QWidget {
    Q_OBJECT
public:
    explicit TManualWindow(QWidget* parent = nullptr);

    // Loads the manual file and lists its headings.
    void Open(const QString& file);

    QListWidget* Contents = nullptr;
    QTextBrowser* Browser = nullptr;

private:
    void ListHeadings();
    void ScrollToHeading(int row);
};
