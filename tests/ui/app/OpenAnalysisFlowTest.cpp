// The program driven as a user drives it: start, open a directory of day logs, see the
// analysis, the files that failed, the limit of three windows, the language switch and
// the Esc abort.
#include "core/base/LanguageTable.h"
#include "core/settings/IniSettings.h"
#include "samplegen/SampleGenerator.h"
#include "support/ProgramFixture.h"
#include "support/TestFiles.h"
#include "ui/analysis/Childform.h"
#include "ui/app/Mainform.h"
#include "ui/app/ProgramWindows.h"
#include "ui/open/DialogFileError.h"
#include "ui/open/DialogOpenAnalysis.h"

#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <memory>

namespace {

class OpenAnalysisFlowTest : public ProgramFixture {
protected:
    static void SetUpTestSuite()
    {
        samples = new QTemporaryDir;
        TSampleOptions options;
        options.outputDir = samples->path().toStdString();
        options.from = {2024, 3, 1};
        options.to = {2024, 3, 3};
        options.intervalMinutes = 10;
        options.devices = {10, 21, 30};
        options.layout = TSampleLayout::Flat;
        options.faults = false;
        GenerateSampleLogs(options);
    }
    static void TearDownTestSuite()
    {
        delete samples;
        samples = nullptr;
    }
    void SetUp() override
    {
        // English (GB) as stored language.
        WriteTestFile(
            (location.Path() + "/Velmora/Kalvex.ini").toStdString(), "[Main]\r\nLanguage=2\r\n");
    }
    // Starts the program on a directory; the open dialog appearing by itself gets
    // "Analyse" clicked.
    void StartAndAnalyse(const QString& directory)
    {
        bool analysed = false;
        WhenModalAppears([&](QWidget* modal) {
            auto* dialog = qobject_cast<TDialogOpenAnalysis*>(modal);
            ASSERT_NE(dialog, nullptr);
            offered = dialog->RootDir->text();
            QTest::mouseClick(dialog->ExecuteBtn, Qt::LeftButton);
            analysed = true;
        });
        form = CreateProgramWindows(directory);
        form->show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return analysed; }, 20000));
        QTest::qWait(0);
    }

    // "Open" again from the tool bar, clicking "Analyse" on the directory offered.
    void OpenAgain()
    {
        WhenModalAppears([&](QWidget* modal) {
            QTest::mouseClick(
                qobject_cast<TDialogOpenAnalysis*>(modal)->ExecuteBtn, Qt::LeftButton);
        });
        ClickToolButton(form->ActionOpen);
    }

    static QStringList TabTexts(const TChildform* window)
    {
        QStringList texts;
        for (int i = 0; i < window->TabSetDevices->count(); ++i)
            texts << window->TabSetDevices->tabText(i);
        return texts;
    }

    // Copies the sample files matching the patterns into another directory.
    static void CopySamples(const QString& to, const QStringList& patterns)
    {
        for (const QString& name : QDir(samples->path()).entryList(patterns, QDir::Files))
            QFile::copy(samples->path() + "/" + name, to + "/" + name);
    }

    static QTemporaryDir* samples;
    QString offered;
};

QTemporaryDir* OpenAnalysisFlowTest::samples = nullptr;

TEST_F(OpenAnalysisFlowTest, ADirectoryGivenAtStartIsAnalysedIntoOneWindowWithATabPerDevice)
{
    StartAndAnalyse(samples->path());
    EXPECT_EQ(offered, samples->path());
    ASSERT_EQ(form->AnalysisWindows().size(), 1);
    TChildform* window = form->AnalysisWindows().first();
    EXPECT_EQ(window->windowTitle(),
        QStringLiteral("Analysis from 01.03.2024 to 03.03.2024. (9 files found)"));
    const QStringList tabs = TabTexts(window);
    // Devices 10, 21 and 30 name no device in their logs: the names of their kinds.
    EXPECT_EQ(
        tabs, (QStringList{"Solar controller", "Heating circuit 1", "Fresh water 0", "Overview"}));
    EXPECT_EQ(window->TabSetDevices->currentIndex(), 0);
    EXPECT_TRUE(window->SliderTime->isEnabled());
    EXPECT_EQ(window->SliderTime->maximum(), 2);
    // Selecting the first device tab titles the chart with the day shown.
    EXPECT_EQ(window->ChartTitle(), QStringLiteral("01. Mar 2024"));
    EXPECT_TRUE(window->ActionOpenExcel->isEnabled());
    EXPECT_TRUE(boxes.shown.empty()) << boxes.Texts().join('|').toStdString();
    // The directory is remembered for the next "Open".
    EXPECT_EQ(
        QString::fromStdString(GetIniSettings().GetMainSettings().LastUsedDir), samples->path());
    EXPECT_TRUE(form->ActionClose->isEnabled());
    EXPECT_TRUE(form->ActionViewList->isEnabled());

    // The table view is a property of the window; the view buttons mirror it.
    QTest::mouseClick(form->ToolBar->widgetForAction(form->ActionViewList), Qt::LeftButton);
    EXPECT_TRUE(window->TableViewActive());
    EXPECT_TRUE(form->ActionViewList->isChecked());
    EXPECT_FALSE(form->ActionViewChart->isChecked());
    EXPECT_TRUE(form->ActionPrint->isEnabled());
    QTest::mouseClick(form->ToolBar->widgetForAction(form->ActionViewList), Qt::LeftButton);
    EXPECT_TRUE(window->TableViewActive()) << "clicking the checked view does nothing";
    QTest::mouseClick(form->ToolBar->widgetForAction(form->ActionViewChart), Qt::LeftButton);
    EXPECT_FALSE(window->TableViewActive());
}

TEST_F(OpenAnalysisFlowTest, ABrokenFileIsListedAfterTheLoadAndTheOthersAreAnalysed)
{
    QTemporaryDir broken;
    CopySamples(broken.path(), {"*.csv"});
    const QString bad = broken.path() + "/10240302.csv";
    QFile::remove(bad);
    WriteTestFile(bad.toStdString(), "this is no log file\r\n");

    QStringList errorLines;
    bool errorListShown = false;
    WhenModalAppears([&](QWidget* modal) {
        QTest::mouseClick(qobject_cast<TDialogOpenAnalysis*>(modal)->ExecuteBtn, Qt::LeftButton);
        // The file error list follows as soon as the open dialog has closed.
        WhenModalAppears(
            [&](QWidget* next) {
                auto* errors = qobject_cast<TDialogFileError*>(next);
                ASSERT_NE(errors, nullptr);
                errorListShown = true;
                errorLines = errors->ErrorList->toPlainText().split('\n');
                QTest::mouseClick(errors->ButtonOk, Qt::LeftButton);
            },
            modal);
    });
    form = CreateProgramWindows(broken.path());
    form->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return errorListShown; }, 20000));
    ASSERT_EQ(errorLines.size(), 3);
    EXPECT_EQ(errorLines[0], bad);
    EXPECT_FALSE(errorLines[1].isEmpty());
    EXPECT_TRUE(errorLines[2].isEmpty());
    QTest::qWait(0);
    ASSERT_EQ(form->AnalysisWindows().size(), 1);
    EXPECT_TRUE(form->AnalysisWindows().first()->windowTitle().endsWith("(9 files found)"));
}

TEST_F(OpenAnalysisFlowTest, AFourthAnalysisAsksFirstAndNoKeepsAllThree)
{
    StartAndAnalyse(samples->path());
    OpenAgain();
    OpenAgain();
    ASSERT_EQ(form->AnalysisWindows().size(), 3);
    const QList<TChildform*> three = form->AnalysisWindows();

    boxes.answers = {MessageResult::No};
    form->ActionOpen->trigger();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, QStringLiteral("Warning"));
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(boxes.shown[0].text.startsWith("You have already opened the maximum number"));
    EXPECT_EQ(form->AnalysisWindows(), three);

    // Yes replaces the active window with the new analysis.
    TChildform* active = form->ActiveAnalysisWindow();
    ASSERT_NE(active, nullptr);
    boxes.answers = {MessageResult::Yes};
    OpenAgain();
    QTest::qWait(0);
    const QList<TChildform*> after = form->AnalysisWindows();
    EXPECT_EQ(after.size(), 3);
    EXPECT_FALSE(after.contains(active));
}

TEST_F(OpenAnalysisFlowTest, AMinimisedWindowToBeReplacedIsShownBeforeTheQuestion)
{
    StartAndAnalyse(samples->path());
    OpenAgain();
    OpenAgain();
    TChildform* active = form->ActiveAnalysisWindow();
    ASSERT_NE(active, nullptr);
    active->showMinimized();
    bool maximisedWhenAsked = false;
    boxes.onShow = [&](const MessageRequest&) {
        maximisedWhenAsked = active->isMaximized() && form->ActiveAnalysisWindow() == active;
    };
    form->ActionOpen->trigger();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(maximisedWhenAsked);
    EXPECT_EQ(form->AnalysisWindows().size(), 3);
}

TEST_F(OpenAnalysisFlowTest, WindowCommandsArrangeTheAnalysisWindows)
{
    StartAndAnalyse(samples->path());
    OpenAgain();
    const QList<TChildform*> windows = form->AnalysisWindows();
    ASSERT_EQ(windows.size(), 2);
    form->ActionTileHorizontal->trigger();
    EXPECT_FALSE(windows[0]->isMaximized());
    EXPECT_EQ(windows[0]->geometry().left(), windows[1]->geometry().left());
    EXPECT_EQ(windows[0]->width(), windows[1]->width());
    EXPECT_NE(windows[0]->geometry().top(), windows[1]->geometry().top());
    EXPECT_FALSE(windows[0]->geometry().intersects(windows[1]->geometry()));
    form->ActionCascade->trigger();
    EXPECT_NE(windows[0]->geometry().topLeft(), windows[1]->geometry().topLeft());
    form->ActionMinimizeAll->trigger();
    EXPECT_TRUE(windows[0]->isMinimized());
    EXPECT_TRUE(windows[1]->isMinimized());
}

TEST_F(OpenAnalysisFlowTest, ClosingTheProgramDuringALoadWaitsForTheLoad)
{
    bool done = false;
    WhenModalAppears([&](QWidget* modal) {
        auto* dialog = qobject_cast<TDialogOpenAnalysis*>(modal);
        QObject::connect(dialog->Progress, &QProgressBar::valueChanged, dialog, [&](int value) {
            if (value == 2)
                form->close();
        });
        QTest::mouseClick(dialog->ExecuteBtn, Qt::LeftButton);
        dialog->Progress->disconnect(dialog);
        done = true;
    });
    form = CreateProgramWindows(samples->path());
    form->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 20000));
    QTest::qWait(0);
    EXPECT_TRUE(form->isVisible());
    ASSERT_EQ(form->AnalysisWindows().size(), 1);
    EXPECT_TRUE(form->AnalysisWindows().first()->windowTitle().endsWith("(9 files found)"));
}

TEST_F(OpenAnalysisFlowTest, ALanguageSwitchRetranslatesTheOpenWindowAndIsStored)
{
    StartAndAnalyse(samples->path());
    TChildform* window = form->AnalysisWindows().first();
    QTest::mouseClick(form->ToolBar->widgetForAction(form->LanguageActions[0]), Qt::LeftButton);
    EXPECT_EQ(form->MenuFile->title(), QStringLiteral("Datei"));
    EXPECT_TRUE(window->windowTitle().startsWith(
        QString::fromStdString(TextIn(TextArray::German, TextId::TxtAnalysisFromTo))));
    EXPECT_TRUE(window->windowTitle().endsWith(
        QString::fromStdString(TextIn(TextArray::German, TextId::TxtFileCountClose))));
    EXPECT_EQ(TabTexts(window).last(),
        QString::fromStdString(TextIn(TextArray::German, TextId::TxtOverview)));
    EXPECT_EQ(GetIniSettings().GetMainSettings().Language, 1);
}

TEST_F(OpenAnalysisFlowTest, EscDuringTheLoadAbortsAndLeavesTheDialogOpen)
{
    bool done = false;
    QString captionAfterAbort;
    WhenModalAppears([&](QWidget* modal) {
        auto* dialog = qobject_cast<TDialogOpenAnalysis*>(modal);
        // An Esc pressed before "Analyse" does not count.
        PostEscPressAndRelease(dialog);
        // Esc pressed once the bar has advanced (files are read on several workers, so it may
        // move by several files at a time) aborts.
        auto pressed = std::make_shared<bool>(false);
        QObject::connect(
            dialog->Progress, &QProgressBar::valueChanged, dialog, [dialog, pressed](int value) {
                if (value > 0 && !*pressed) {
                    *pressed = true;
                    QCoreApplication::postEvent(
                        dialog, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
                }
            });
        boxes.onShow = [&](const MessageRequest&) {
            captionAfterAbort = form->AnalysisWindows().value(0)->windowTitle();
        };
        QTest::mouseClick(dialog->ExecuteBtn, Qt::LeftButton);
        EXPECT_TRUE(dialog->isVisible()) << "the dialog stays open after an abort";
        EXPECT_TRUE(dialog->ExecuteBtn->isEnabled());
        EXPECT_EQ(dialog->Progress->value(), 0);
        dialog->Progress->disconnect(dialog);
        QTest::mouseClick(dialog->CancelBtn, Qt::LeftButton);
        done = true;
    });
    form = CreateProgramWindows(samples->path());
    form->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 20000));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Aborted by user."));
    EXPECT_EQ(boxes.shown[0].caption, QStringLiteral("Information"));
    EXPECT_EQ(captionAfterAbort, QStringLiteral("New"));
    QTest::qWait(0);
    EXPECT_TRUE(form->AnalysisWindows().isEmpty()) << "cancel removes the window";
}

TEST_F(OpenAnalysisFlowTest, AnEscPressedBeforeAnalyseDoesNotAbortTheLoad)
{
    bool done = false;
    bool accepted = false;
    WhenModalAppears([&](QWidget* modal) {
        auto* dialog = qobject_cast<TDialogOpenAnalysis*>(modal);
        // Pressed and released while "Analyse" is being clicked, still waiting in the queue.
        PostEscPressAndRelease(dialog);
        QTest::mouseClick(dialog->ExecuteBtn, Qt::LeftButton);
        accepted = !dialog->isVisible();
        done = true;
    });
    form = CreateProgramWindows(samples->path());
    form->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 20000));
    EXPECT_TRUE(accepted);
    EXPECT_TRUE(boxes.shown.empty()) << boxes.Texts().join('|').toStdString();
    QTest::qWait(0);
    ASSERT_EQ(form->AnalysisWindows().size(), 1);
    EXPECT_TRUE(form->AnalysisWindows().first()->windowTitle().endsWith("(9 files found)"));
}

TEST_F(OpenAnalysisFlowTest, ADeviceWhoseFilesAllFailStillGivesAnAnalysisOfTheOthers)
{
    QTemporaryDir mixed;
    CopySamples(mixed.path(), {"21*.csv", "30*.csv"});
    for (const char* name : {"/05240301.csv", "/05240302.csv"})
        WriteTestFile((mixed.path() + name).toStdString(), "garbage\r\n");
    bool errorListShown = false;
    QStringList errorLines;
    WhenModalAppears([&](QWidget* modal) {
        QTest::mouseClick(qobject_cast<TDialogOpenAnalysis*>(modal)->ExecuteBtn, Qt::LeftButton);
        WhenModalAppears(
            [&](QWidget* next) {
                errorListShown = true;
                errorLines
                    = qobject_cast<TDialogFileError*>(next)->ErrorList->toPlainText().split('\n');
                next->close();
            },
            modal);
    });
    form = CreateProgramWindows(mixed.path());
    form->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return errorListShown; }, 20000));
    EXPECT_EQ(errorLines.size(), 6);
    QTest::qWait(0);
    ASSERT_EQ(form->AnalysisWindows().size(), 1);
    TChildform* window = form->AnalysisWindows().first();
    EXPECT_EQ(TabTexts(window).size(), 4);
    // The failed device's tab can be chosen without harm.
    window->TabSetDevices->setCurrentIndex(0);
    window->TabSetDevices->setCurrentIndex(1);
    EXPECT_TRUE(boxes.shown.empty()) << boxes.Texts().join('|').toStdString();
}

TEST_F(OpenAnalysisFlowTest, UnitsThatChangeBetweenDaysAreReportedOnceAndTheLoadGoesOn)
{
    QTemporaryDir changing;
    WriteTestFile((changing.path() + "/10240301.csv").toStdString(),
        "dd.mm.yy hh:mm;T1[\xB0"
        "C]\r\n01.03.2024 10:00;20\r\n");
    WriteTestFile((changing.path() + "/10240302.csv").toStdString(),
        "dd.mm.yy hh:mm;T1[F]\r\n02.03.2024 10:00;68\r\n");
    WriteTestFile((changing.path() + "/10240303.csv").toStdString(),
        "dd.mm.yy hh:mm;T1[F]\r\n03.03.2024 10:00;68\r\n");
    StartAndAnalyse(changing.path());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
        QStringLiteral("Different units were found for field T1. The displayed values/units "
                       "are probably faulty."));
    EXPECT_EQ(boxes.shown[0].caption, QStringLiteral("Error"));
    ASSERT_EQ(form->AnalysisWindows().size(), 1);
    EXPECT_TRUE(form->AnalysisWindows().first()->windowTitle().endsWith("(3 files found)"));
    TChildform* window = form->AnalysisWindows().first();
    EXPECT_EQ(window->TabSetDevices->count(), 0) << "one device: no tabs";
    EXPECT_EQ(window->HeaderControl->count(), 2) << "and no overview column";
    QTest::qWait(0);
    EXPECT_EQ(window->HeaderControl->width(),
        2 + window->HeaderControl->sectionSize(0) + window->HeaderControl->sectionSize(1));
}

} // namespace
