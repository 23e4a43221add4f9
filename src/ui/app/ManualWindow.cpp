#include "ui/app/ManualWindow.h"

#include "ui/app/ProgramIdentity.h"
#include "ui/common/UiText.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageReader>
#include <QListWidget>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextFragment>
#include <QUrl>

#include <algorithm>

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
    splitter->setSizes({270, 730});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    connect(Contents, &QListWidget::currentRowChanged, this, &TManualWindow::ScrollToHeading);
    Browser->viewport()->installEventFilter(this);
}

bool TManualWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Browser->viewport() && event->type() == QEvent::Resize)
        FitPictures();
    return QWidget::eventFilter(watched, event);
}

void TManualWindow::Open(const QString& file)
{
    setWindowTitle(UiText(TextId::TxtUserManual) + QStringLiteral(" – ") + ProgramTitle);
    // Pictures and links are found relative to the file.
    Browser->setSource(QUrl::fromLocalFile(file), QTextDocument::MarkdownResource);
    pictureSizes.clear();
    FitPictures();
    ListHeadings();
}

void TManualWindow::FitPictures()
{
    QTextDocument* document = Browser->document();
    // The manual is longer than a screen: room for the scroll bar before it shows.
    const QScrollBar* bar = Browser->verticalScrollBar();
    const int room = Browser->viewport()->width() - (bar->isVisible() ? 0 : bar->sizeHint().width())
        - 2 * int(document->documentMargin()) - 4;
    if (room <= 0)
        return;
    const QDir folder = QFileInfo(Browser->source().toLocalFile()).absoluteDir();
    // Collected first: changing a format may split or merge the fragments walked.
    QList<std::pair<int, QTextImageFormat>> pictures;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                pictures.append(
                    {it.fragment().position(), it.fragment().charFormat().toImageFormat()});
    for (auto& [position, picture] : pictures) {
        if (!pictureSizes.contains(picture.name()))
            pictureSizes.insert(
                picture.name(), QImageReader(folder.filePath(picture.name())).size());
        const QSize natural = pictureSizes.value(picture.name());
        if (natural.isEmpty())
            continue;
        const int width = std::min(natural.width(), room);
        picture.setWidth(width);
        picture.setHeight(double(natural.height()) * width / natural.width());
        QTextCursor cursor(document);
        cursor.setPosition(position);
        cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
        cursor.setCharFormat(picture);
    }
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
