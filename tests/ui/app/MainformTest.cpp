#include "ui/app/Mainform.h"
#include "core/base/LanguageTable.h"
#include "core/settings/IniSettings.h"
#include "support/ProgramFixture.h"
#include "support/TestFiles.h"
#include "ui/analysis/Childform.h"
#include "ui/app/DialogAbout.h"
#include "ui/app/ProgramWindows.h"
#include "ui/common/ApplicationErrors.h"
#include "ui/open/DialogOpenAnalysis.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

class MainformTest : public ProgramFixture {
protected:
    // Starts the program as a user does and cancels the open dialog that appears by itself.
    void StartAndCancel()
    {
        bool cancelled = false;
        WhenModalAppears([&](QWidget* modal) {
            auto* dialog = qobject_cast<TDialogOpenAnalysis*>(modal);
            ASSERT_NE(dialog, nullptr);
            windowsWhileDialogOpen = int(form->AnalysisWindows().size());
            QTest::mouseClick(dialog->CancelBtn, Qt::LeftButton);
            cancelled = true;
        });
        Start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return cancelled; }, 10000));
        QTest::qWait(0);
    }

    void Start()
    {
        form = CreateProgramWindows();
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    int windowsWhileDialogOpen = -1;
};

TEST_F(MainformTest, TheOpenDialogAppearsByItselfAndCancelRemovesTheNewWindow)
{
    StartAndCancel();
    EXPECT_EQ(windowsWhileDialogOpen, 1);
    EXPECT_TRUE(form->AnalysisWindows().isEmpty());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(MainformTest, WithoutAnAnalysisWindowOnlyOpenExitAndInfoAreEnabled)
{
    StartAndCancel();
    for (QAction* enabled : {form->ActionOpen, form->ActionExit, form->ActionAbout})
        EXPECT_TRUE(enabled->isEnabled()) << enabled->text().toStdString();
    for (QAction* disabled :
        {form->ActionClose, form->ActionSave, form->ActionPrint, form->ActionPrintPreview,
            form->ActionWindowSettings, form->ActionCascade, form->ActionTileHorizontal,
            form->ActionMinimizeAll, form->ActionViewChart, form->ActionViewList})
        EXPECT_FALSE(disabled->isEnabled()) << disabled->text().toStdString();
    // Short-cuts of the disabled commands do nothing and break nothing.
    QTest::keyClick(form.get(), Qt::Key_W, Qt::ControlModifier);
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(MainformTest, MenusFollowTheChosenLanguageWhichIsStoredAndReadAtTheNextStart)
{
    StartAndCancel();
    EXPECT_EQ(form->MenuFile->title(), QStringLiteral("Datei"));
    ClickToolButton(form->LanguageActions[1]);
    EXPECT_EQ(form->MenuFile->title(), QStringLiteral("File"));
    EXPECT_EQ(form->ActionOpen->text(), QStringLiteral("Open"));
    EXPECT_EQ(form->ActionPrintPreview->text(), QStringLiteral("Print preview"));
    EXPECT_TRUE(form->MenuFile->actions().contains(form->ActionPrintPreview));
    EXPECT_EQ(form->MenuWindow->title(), QStringLiteral("Window"));
    EXPECT_EQ(form->ActionMinimizeAll->text(), QStringLiteral("Minimise all"));
    EXPECT_EQ(form->ActionViewChart->toolTip(), QStringLiteral("Graphical view"));
    EXPECT_TRUE(form->LanguageActions[1]->isChecked());
    EXPECT_FALSE(form->LanguageActions[0]->isChecked());
    EXPECT_TRUE(IniText().contains(QStringLiteral("Language=2")));

    CloseProgram();
    SelectLanguage(1);
    StartAndCancel();
    EXPECT_TRUE(form->LanguageActions[1]->isChecked());
    EXPECT_EQ(form->MenuFile->title(), QStringLiteral("File"));
    EXPECT_EQ(form->LanguageActions[1]->text(), QStringLiteral("English (GB)"));
}

TEST_F(MainformTest, ClosingTheMainWindowLeavesAnotherErrorHandlerInPlace)
{
    StartAndCancel();
    QStringList reported;
    const ApplicationErrorHandler previous
        = SetApplicationErrorHandler([&](const QString& m) { reported << m; });
    form.reset();
    ReportApplicationError(QStringLiteral("still heard"));
    SetApplicationErrorHandler(previous);
    EXPECT_EQ(reported, QStringList{"still heard"});
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(MainformTest, AStoredLanguageOutsideTheTableStartsInGerman)
{
    WriteTestFile(IniPath().toStdString(), "[Main]\r\nLanguage=9\r\n");
    StartAndCancel();
    EXPECT_TRUE(form->LanguageActions[0]->isChecked());
    EXPECT_EQ(form->MenuFile->title(), QStringLiteral("Datei"));
}

TEST_F(MainformTest, EnglishUsShowsTheBritishTextsAndIsStoredAsSeven)
{
    StartAndCancel();
    ClickToolButton(form->LanguageActions[6]);
    EXPECT_EQ(form->MenuLanguage->title(), QStringLiteral("Language selection"));
    EXPECT_EQ(form->ActionExit->text(), QStringLiteral("End"));
    EXPECT_TRUE(IniText().contains(QStringLiteral("Language=7")));
    CloseProgram();
    StartAndCancel();
    EXPECT_TRUE(form->LanguageActions[6]->isChecked());
    EXPECT_FALSE(form->LanguageActions[1]->isChecked());
}

TEST_F(MainformTest, ChoosingTheCheckedLanguageAgainWritesNothing)
{
    StartAndCancel();
    ClickToolButton(form->LanguageActions[2]);
    const QString stored = IniText();
    ASSERT_TRUE(stored.contains(QStringLiteral("Language=3")));
    GetIniSettings().SetMainSettings(5, "/elsewhere");
    ClickToolButton(form->LanguageActions[2]);
    EXPECT_TRUE(form->LanguageActions[2]->isChecked());
    EXPECT_TRUE(IniText().contains(QStringLiteral("Language=5"))) << "not written again";
    EXPECT_EQ(form->MenuFile->title(), QStringLiteral("Fichier"));
}

TEST_F(MainformTest, AnUnusableSettingsFolderGivesOneBilingualMessageAndTheProgramGoesOn)
{
    // A settings "folder" that is a plain file cannot hold Kalvex.ini.
    const QString blocked = location.Path() + "/blocked";
    WriteTestFile(blocked.toStdString(), "not a folder");
    qputenv("LocalAppData", blocked.toLocal8Bit());
    StartAndCancel();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
        QStringLiteral("Access to INI file failed. Settings cannot be saved.\n\n"
                       "Zugriff auf Ini-Datei fehlgeschlagen. Einstellungen können nicht "
                       "gespeichert werden."));
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(form->Settings, nullptr);
    EXPECT_EQ(windowsWhileDialogOpen, 1) << "the open dialog still appeared";
    ClickToolButton(form->LanguageActions[3]);
    EXPECT_EQ(form->MenuFile->title(), QStringLiteral("Archivo"));
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(MainformTest, ClosingTheMainWindowWhileTheOpenDialogIsUpClosesBoth)
{
    bool closedFromDialog = false;
    WhenModalAppears([&](QWidget*) {
        form->close();
        closedFromDialog = true;
    });
    Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return closedFromDialog; }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->isVisible(); }, 5000));
    EXPECT_TRUE(form->AnalysisWindows().isEmpty());
    EXPECT_EQ(ExistingIniSettings(), nullptr) << "the settings store is released at close";
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(MainformTest, ErrorsReachingTheApplicationShowInAnErrorBoxOfTheCurrentLanguage)
{
    StartAndCancel();
    ClickToolButton(form->LanguageActions[4]);
    ReportApplicationError(QStringLiteral("disk gone"));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption,
        QString::fromStdString(TextIn(TextArray::Italian, TextId::TxtError)));
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("disk gone"));
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::Ok);
}

TEST_F(MainformTest, InfoShowsTheAboutBox)
{
    StartAndCancel();
    QString title;
    WhenModalAppears([&](QWidget* modal) {
        title = modal->windowTitle();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    form->ActionAbout->trigger();
    EXPECT_EQ(title, QStringLiteral("Info: Velmora Kalvex 2"));
}

TEST(MainformFitTest, AWindowOutsideTheWorkAreaIsShrunkAndCentred)
{
    const QRect workArea(0, 30, 1024, 738);
    EXPECT_EQ(TMainform::FitToWorkArea(QRect(0, 40, 790, 900), workArea), QRect(0, 30, 790, 738));
    EXPECT_EQ(TMainform::FitToWorkArea(QRect(500, 40, 790, 590), workArea),
        QRect((1024 - 790) / 2, 40, 790, 590));
    EXPECT_EQ(TMainform::FitToWorkArea(QRect(10, 40, 790, 590), workArea), QRect(10, 40, 790, 590));
    EXPECT_EQ(TMainform::FitToWorkArea(QRect(0, 500, 790, 590), workArea),
        QRect(0, 30 + (738 - 590) / 2, 790, 590));
}

} // namespace
