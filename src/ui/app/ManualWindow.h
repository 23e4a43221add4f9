#pragma once
// The user manual in a window of its own: the Markdown manual of the program's language
// with its pictures, and its headings as a list of contents beside it.

#include "core/base/LanguageTable.h"

#include <QHash>
#include <QSize>
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ListHeadings();
    void ScrollToHeading(int row);
    // Shrinks the pictures wider than the text to its width, keeping their proportions.
    void FitPictures();

    QHash<QString, QSize> pictureSizes;
};
