#include "ui/app/ManualWindow.h"

#include "ui/app/ProgramIdentity.h"
#include "ui/common/UiText.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QUrl>

namespace {

// The file names of the manuals by text array; only some languages have one of their own.
const char* const ManualNames[TextArrayCount] = {"de", "en", "fr", "es", "it", "pt"};

constexpr int HeadingPositionRole = Qt::UserRole;

} // namespace

QString ManualDirectory()
{
    return QDir::cleanPath(
        QCoreApplication::applicationDirPath() + QStringLiteral("/" KALVEX_MANUAL_FROM_BIN));
}

QString ManualFile(const QString& directory, TextArray language)
{
    for (const char* name : {ManualNames[int(language)], "en"}) {
        const QString file = directory + '/' + QString::fromLatin1(name) + QStringLiteral(".md");
        if (QFileInfo(file).isFile())
            return file;
    }
    return {};
}

TManualWindow::TManualWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    resize(1000, 760);
    auto* splitter = new QSplitter(this);
    Contents = new QListWidget(splitter);
    Browser = new QTextBrowser(splitter);
    Browser->setOpenExternalLinks(true);
    splitter->addWidget(Contents);
    splitter->addWidget(Browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, 770});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    connect(Contents, &QListWidget::currentRowChanged, this, &TManualWindow::ScrollToHeading);
}

void TManualWindow::Open(const QString& file)
{
    setWindowTitle(UiText(TextId::TxtUserManual) + QStringLiteral(" – ") + ProgramTitle);
    // Pictures and links are found relative to the file.
    Browser->setSource(QUrl::fromLocalFile(file), QTextDocument::MarkdownResource);
    ListHeadings();
}

void TManualWindow::ListHeadings()
{
    const QSignalBlocker quiet(Contents);
    Contents->clear();
    for (QTextBlock block = Browser->document()->begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        // The title and the chapters with their sections; deeper headings would crowd it.
        if (level < 1 || level > 3)
            continue;
        auto* item
            = new QListWidgetItem(QString(2 * (level - 1), QChar(' ')) + block.text(), Contents);
        item->setData(HeadingPositionRole, block.position());
    }
}

void TManualWindow::ScrollToHeading(int row)
{
    const QListWidgetItem* item = Contents->item(row);
    if (!item)
        return;
    QTextDocument* document = Browser->document();
    const QTextBlock block = document->findBlock(item->data(HeadingPositionRole).toInt());
    const QRectF where = document->documentLayout()->blockBoundingRect(block);
    Browser->verticalScrollBar()->setValue(int(where.top()));
}
