// "User manual" (F1) in the "?" menu: the manual of the program's language from the build
// tree, English for the languages without one, in a window of its own with its pictures.
#include "ui/app/ManualWindow.h"
#include "support/ProgramFixture.h"
#include "support/TestFiles.h"
#include "ui/app/ProgramWindows.h"
#include "ui/open/DialogOpenAnalysis.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>

#include <gtest/gtest.h>

namespace {

TEST(ManualFileTest, TheLanguagesManualElseTheEnglishOne)
{
    struct Case {
        QStringList files;
        TextArray language;
        QString expected;
    };
    const Case cases[] = {
        {{"de.md", "en.md"}, TextArray::German, "de.md"},
        {{"de.md", "en.md"}, TextArray::EnglishGB, "en.md"},
        {{"de.md", "en.md"}, TextArray::French, "en.md"},
        {{"en.md"}, TextArray::German, "en.md"},
        {{"de.md"}, TextArray::Italian, ""},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        for (const QString& name : c.files)
            WriteTestFile((dir.path() + '/' + name).toStdString(), "# Manual\n");
        const QString found = ManualFile(dir.path(), c.language);
        EXPECT_EQ(found.isEmpty() ? QString() : QFileInfo(found).fileName(), c.expected)
            << c.files.join(',').toStdString() << " " << int(c.language);
    }
}

class ManualWindowTest : public ProgramFixture {
protected:
    // Starts the program in a stored language, cancels the open dialog and presses F1.
    TManualWindow* StartAndPressF1(int languageCode)
    {
        WriteTestFile(
            IniPath().toStdString(), "[Main]\r\nLanguage=" + std::to_string(languageCode) + "\r\n");
        bool cancelled = false;
        WhenModalAppears([&](QWidget* modal) {
            QTest::mouseClick(qobject_cast<TDialogOpenAnalysis*>(modal)->CancelBtn, Qt::LeftButton);
            cancelled = true;
        });
        form = CreateProgramWindows();
        form->show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return cancelled; }, 10000));
        // The closed dialog hands the keyboard back to the main window.
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == form.get(); }));
        QTest::keyClick(form.get(), Qt::Key_F1);
        // Laid out as a user first sees it, the scroll bar included.
        QTest::qWait(100);
        return form->findChild<TManualWindow*>();
    }
};

TEST_F(ManualWindowTest, F1OpensTheManualOfTheLanguageWithItsPictures)
{
    struct Case {
        int languageCode;
        QString file;
        QString menuText;
        QString title;
    };
    const Case cases[] = {
        {1, "de.md", "Benutzerhandbuch", "Kalvex – Benutzerhandbuch"},
        {2, "en.md", "User manual", "Kalvex – User manual"},
        {3, "en.md", "Manuel d'utilisation", "Kalvex – User manual"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.languageCode);
        TManualWindow* window = StartAndPressF1(c.languageCode);
        EXPECT_EQ(form->ActionManual->text(), c.menuText);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(window->isWindow());
        EXPECT_EQ(window->windowTitle(), c.menuText + " – Velmora Kalvex 2");
        EXPECT_EQ(window->Browser->source().fileName(), c.file);
        // The build tree's copy, where the installed program finds the installed one.
        EXPECT_EQ(QFileInfo(window->Browser->source().toLocalFile()).absolutePath(),
            QDir::cleanPath(QApplication::applicationDirPath() + "/../share/kalvex/manual"));
        ASSERT_GT(window->Contents->count(), 10);
        EXPECT_EQ(window->Contents->item(0)->text(), c.title);

        int pictures = 0;
        QTextDocument* document = window->Browser->document();
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().isImageFormat()) {
                    const QString name = it.fragment().charFormat().toImageFormat().name();
                    // The browser hands over the file's bytes, which must decode.
                    QImage picture;
                    picture.loadFromData(
                        window->Browser->loadResource(QTextDocument::ImageResource, name)
                            .toByteArray());
                    EXPECT_GT(picture.width(), 300) << name.toStdString();
                    // Shown no wider than the text, in its proportions.
                    const QTextImageFormat shown = it.fragment().charFormat().toImageFormat();
                    EXPECT_LE(shown.width(), window->Browser->viewport()->width());
                    EXPECT_NEAR(shown.height() / shown.width(),
                        double(picture.height()) / picture.width(), 0.01);
                    ++pictures;
                }
        EXPECT_GE(pictures, 6);

        // A heading chosen in the contents scrolls the text to it.
        const int last = window->Contents->count() - 1;
        window->Contents->setCurrentRow(last);
        const QRect cursor = window->Browser->cursorRect(QTextCursor(
            document->findBlock(window->Contents->item(last)->data(Qt::UserRole).toInt())));
        EXPECT_GE(cursor.top(), 0);
        EXPECT_LT(cursor.top(), window->Browser->viewport()->height());
        CloseProgram();
    }
}

} // namespace
