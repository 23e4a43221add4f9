#include "ui/open/DialogFileError.h"
#include "core/base/LanguageTable.h"
#include "support/GuiTestHelpers.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(DialogFileErrorTest, TwoFailedFilesShowSixLinesOnceThenNothing)
{
    TDialogFileError dialog;
    dialog.ClearErrors();
    dialog.SetErrors({"/logs/0110050.csv", "broken", "", "/logs/02100501.csv", "empty", ""});
    EXPECT_TRUE(dialog.HasPendingErrors());

    int shownTimes = 0;
    QStringList seenLines;
    QString seenTitle;
    WhenModalAppears([&](QWidget* modal) {
        ++shownTimes;
        seenTitle = modal->windowTitle();
        seenLines = dialog.ErrorList->toPlainText().split('\n');
        QTest::mouseClick(dialog.ButtonOk, Qt::LeftButton);
    });
    dialog.ShowIfErrors();
    EXPECT_EQ(shownTimes, 1);
    EXPECT_EQ(seenTitle, QString::fromStdString(Text(TextId::TxtError)) + ":");
    EXPECT_EQ(seenLines,
        QStringList({"/logs/0110050.csv", "broken", "", "/logs/02100501.csv", "empty", ""}));
    EXPECT_FALSE(dialog.HasPendingErrors());
    EXPECT_TRUE(dialog.ErrorList->toPlainText().isEmpty());

    // Nothing pending: no box at all (a box would block this call).
    dialog.ShowIfErrors();
    EXPECT_FALSE(dialog.isVisible());
}

TEST(DialogFileErrorTest, ClearedErrorsAreNeverShownAndTextsFollowTheLanguage)
{
    TDialogFileError dialog;
    dialog.SetErrors({"a", "b", ""});
    dialog.ClearErrors();
    dialog.ShowIfErrors();
    EXPECT_FALSE(dialog.isVisible());

    SelectLanguage(2);
    dialog.show();
    EXPECT_EQ(
        dialog.LabelCaption->text(), QStringLiteral("Errors occurred while opening the log file."));
    EXPECT_EQ(dialog.ButtonOk->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Error:"));
    dialog.hide();
    SelectLanguage(1);
}

} // namespace
