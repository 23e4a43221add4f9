#include "ui/open/DialogOpenAnalysis.h"
#include "core/base/LanguageTable.h"
#include "support/GuiTestHelpers.h"
#include "support/TestFiles.h"
#include "ui/analysis/Childform.h"
#include "ui/common/ApplicationErrors.h"
#include "ui/open/DialogFileError.h"

#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The dialog as the main window uses it: on an empty analysis window in a frame.
class DialogOpenAnalysisTest : public testing::Test {
protected:
    void SetUp() override
    {
        SelectLanguage(2);
        previousHandler = SetApplicationErrorHandler([this](const QString& m) { reported << m; });
        area.resize(900, 600);
        area.show();
        window = new TChildform;
        area.addSubWindow(window);
        window->showMaximized();
    }
    void TearDown() override
    {
        SetApplicationErrorHandler(previousHandler);
        SelectLanguage(1);
    }
    // Shows the dialog on a directory as the main window does, without a modal loop.
    void ShowOn(const QString& directory)
    {
        dialog.AssignAnalysisWindow(window, directory);
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
    void Write(const QString& relative, std::string_view bytes = "x")
    {
        WriteTestFile((dir.path() + "/" + relative).toStdString(), bytes);
    }

    QTemporaryDir dir;
    QMdiArea area;
    TChildform* window = nullptr;
    TDialogFileError errors;
    TDialogOpenAnalysis dialog{&errors};
    QStringList reported;
    ApplicationErrorHandler previousHandler;
};

TEST_F(DialogOpenAnalysisTest, ThePickersOfferTheDatesOfTheFilesFound)
{
    Write("10100517.csv");
    Write("10100518.CSV");
    Write("notes.txt");
    Write("1010051x.csv");
    ShowOn(dir.path());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Open report"));
    EXPECT_EQ(dialog.ExecuteBtn->text(), QStringLiteral("Analyse"));
    EXPECT_EQ(dialog.ValidFileCount(), 2);
    EXPECT_EQ(dialog.DateFrom->date(), QDate(2010, 5, 17));
    EXPECT_EQ(dialog.DateTo->date(), QDate(2010, 5, 18));
    EXPECT_EQ(dialog.DateFrom->minimumDate(), QDate(2010, 5, 17));
    EXPECT_EQ(dialog.DateTo->maximumDate(), QDate(2010, 5, 18));
    EXPECT_TRUE(dialog.DateFrom->isEnabled());
    EXPECT_TRUE(dialog.LabelStep2->font().bold());
    EXPECT_FALSE(dialog.LabelAbort->isVisible());
}

TEST_F(DialogOpenAnalysisTest, RestoringTheMinimisedDialogKeepsTheChosenPeriod)
{
    for (const char* name : {"10100517.csv", "10100518.csv", "10100519.csv"})
        Write(name);
    ShowOn(dir.path());
    dialog.DateFrom->setDate(QDate(2010, 5, 18));
    dialog.DateTo->setDate(QDate(2010, 5, 18));
    dialog.setWindowState(Qt::WindowMinimized);
    dialog.setWindowState(Qt::WindowNoState);
    ASSERT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.DateFrom->date(), QDate(2010, 5, 18));
    EXPECT_EQ(dialog.DateTo->date(), QDate(2010, 5, 18));
}

TEST_F(DialogOpenAnalysisTest, AMissingOrEmptyDirectoryOffersNoDatesAndAnalyseSaysSo)
{
    ShowOn(dir.path() + "/does-not-exist");
    EXPECT_FALSE(dialog.DateFrom->isEnabled());
    EXPECT_FALSE(dialog.DateTo->isEnabled());
    EXPECT_FALSE(dialog.LabelStep2->font().bold());
    QTest::mouseClick(dialog.ExecuteBtn, Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open";
    EXPECT_EQ(reported, QStringList{"No files were found, please check file path and try again."});

    // Thousands of other files and no log file: the same.
    for (int i = 0; i < 2000; ++i)
        Write(QStringLiteral("notes%1.txt").arg(i));
    Write("sub/10100501.csv");
    dialog.RootDir->setFocus();
    dialog.RootDir->clear();
    QTest::keyClicks(dialog.RootDir, dir.path() + "/sub");
    QTest::keyClick(dialog.RootDir, Qt::Key_Tab);
    ASSERT_EQ(dialog.ValidFileCount(), 1) << "typed folder scanned";
    dialog.RootDir->setFocus();
    dialog.RootDir->clear();
    QTest::keyClicks(dialog.RootDir, dir.path());
    QTest::keyClick(dialog.RootDir, Qt::Key_Tab);
    EXPECT_EQ(dialog.ValidFileCount(), 1) << "only the file one level down";
    QFile::remove(dir.path() + "/sub/10100501.csv");
    dialog.RootDir->setFocus();
    QTest::keyClick(dialog.RootDir, Qt::Key_Backspace);
    QTest::keyClicks(dialog.RootDir, dir.path().right(1));
    QTest::keyClick(dialog.RootDir, Qt::Key_Tab);
    EXPECT_EQ(dialog.ValidFileCount(), 1) << "leaving an unchanged field keeps the scan";
    dialog.RootDir->setFocus();
    QTest::keyClicks(dialog.RootDir, "/");
    QTest::keyClick(dialog.RootDir, Qt::Key_Tab);
    EXPECT_EQ(dialog.ValidFileCount(), 0);
    EXPECT_FALSE(dialog.DateFrom->isEnabled());
}

TEST_F(DialogOpenAnalysisTest, TypingADirectoryAndLeavingTheFieldRescans)
{
    ShowOn(QString());
    Write("sub/one/21100601.csv");
    Write("sub/one/two/21100602.csv");
    Write("sub/one/two/three/21100603.csv"); // three levels down: not searched
    dialog.RootDir->setFocus();
    QTest::keyClicks(dialog.RootDir, dir.path() + "/sub");
    QTest::keyClick(dialog.RootDir, Qt::Key_Tab);
    EXPECT_EQ(dialog.ValidFileCount(), 2) << "one and two levels below are searched";
    EXPECT_EQ(dialog.DateFrom->date(), QDate(2010, 6, 1));
}

TEST_F(DialogOpenAnalysisTest, TheTwoPickersKeepStartBeforeEnd)
{
    Write("10100501.csv");
    Write("10100531.csv");
    ShowOn(dir.path());
    dialog.DateFrom->setDate(QDate(2010, 5, 20));
    EXPECT_EQ(dialog.DateTo->date(), QDate(2010, 5, 31));
    dialog.DateTo->setDate(QDate(2010, 5, 10));
    EXPECT_EQ(dialog.DateFrom->date(), QDate(2010, 5, 10));
    dialog.DateFrom->setDate(QDate(2010, 5, 25));
    EXPECT_EQ(dialog.DateTo->date(), QDate(2010, 5, 25));
}

TEST_F(DialogOpenAnalysisTest, APeriodWithoutFilesKeepsTheDialogOpenAndAnotherPeriodThenLoads)
{
    Write("10100501.csv",
        "dd.mm.yy hh:mm;T1[\xB0"
        "C]\r\n01.05.2010 10:00;20\r\n");
    Write("10100531.csv",
        "dd.mm.yy hh:mm;T1[\xB0"
        "C]\r\n31.05.2010 10:00;21\r\n");
    ShowOn(dir.path());
    dialog.DateFrom->setDate(QDate(2010, 5, 10));
    dialog.DateTo->setDate(QDate(2010, 5, 20));
    QTest::mouseClick(dialog.ExecuteBtn, Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(reported, QStringList{"No files were found, please check file path and try again."});
    EXPECT_EQ(dialog.ValidFileCount(), 2) << "the scanned files stay for another period";
    EXPECT_TRUE(dialog.ExecuteBtn->isEnabled());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("New"));

    dialog.DateTo->setDate(QDate(2010, 5, 31));
    const QSize before = dialog.size();
    QSize whileLoading;
    bool progressEnabled = false;
    QObject::connect(dialog.Progress, &QProgressBar::valueChanged, &dialog, [&](int value) {
        if (value > 0) {
            whileLoading = dialog.size();
            progressEnabled = dialog.Progress->isEnabled();
        }
    });
    QTest::mouseClick(dialog.ExecuteBtn, Qt::LeftButton);
    EXPECT_TRUE(progressEnabled);
    EXPECT_EQ(whileLoading, before) << "the line of LabelAbort is kept";
    EXPECT_FALSE(dialog.Progress->isEnabled()) << "after the load";
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(window->windowTitle(),
        QStringLiteral("Analysis from 10.05.2010 to 31.05.2010. (1 files found)"));
}

TEST_F(DialogOpenAnalysisTest, TheFolderBrowserStartsAtTheTypedDirectoryAndItsChoiceIsScanned)
{
    Write("picked/30100701.csv");
    QString startedAt;
    QString title;
    dialog.BrowseForDirectory = [&](QWidget*, const QString& caption, const QString& start) {
        startedAt = start;
        title = caption;
        return dir.path() + "/picked";
    };
    ShowOn(dir.path());
    QTest::mouseClick(dialog.SelectDirBtn, Qt::LeftButton);
    EXPECT_EQ(startedAt, dir.path());
    EXPECT_EQ(title, QStringLiteral("Please select a log directory"));
    EXPECT_EQ(dialog.RootDir->text(), dir.path() + "/picked");
    EXPECT_EQ(dialog.ValidFileCount(), 1);

    // Cancelling the browser changes nothing.
    dialog.BrowseForDirectory = [](QWidget*, const QString&, const QString&) { return QString(); };
    QTest::mouseClick(dialog.SelectDirBtn, Qt::LeftButton);
    EXPECT_EQ(dialog.RootDir->text(), dir.path() + "/picked");
}

TEST_F(DialogOpenAnalysisTest, TabOrderFollowsTheSteps)
{
    Write("10100501.csv");
    ShowOn(dir.path());
    const QList<QWidget*> expected{dialog.RootDir, dialog.SelectDirBtn, dialog.DateFrom,
        dialog.DateTo, dialog.ExecuteBtn, dialog.CancelBtn, dialog.Progress, dialog.RootDir};
    // The focus chain, leaving out the pickers' inner edits.
    QList<QWidget*> order{dialog.RootDir};
    for (QWidget* w = dialog.RootDir->nextInFocusChain(); order.size() < expected.size();
         w = w->nextInFocusChain())
        if (expected.contains(w))
            order << w;
    EXPECT_EQ(order, expected);
}

} // namespace
