// The main window on a desktop: folders dropped from a file manager, and Qt's own texts in
// the program's language.

#include "support/ProgramFixture.h"
#include "support/TestFiles.h"
#include "ui/app/FolderDrop.h"
#include "ui/app/Mainform.h"
#include "ui/app/ProgramWindows.h"
#include "ui/open/DialogOpenAnalysis.h"

#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

class DesktopIntegrationTest : public ProgramFixture {
protected:
    void StartAndCancel()
    {
        WhenModalAppears([](QWidget* modal) {
            QTest::mouseClick(qobject_cast<TDialogOpenAnalysis*>(modal)->CancelBtn, Qt::LeftButton);
        });
        form = CreateProgramWindows();
        form->show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return form->AnalysisWindows().isEmpty(); }, 5000));
        QTest::qWait(50);
    }

    // What the main window answers to a drag of the data entering it.
    bool DragAccepted(const QMimeData& data)
    {
        QDragEnterEvent enter(
            QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &enter);
        return enter.isAccepted();
    }

    static std::unique_ptr<QMimeData> Files(const QStringList& paths)
    {
        auto data = std::make_unique<QMimeData>();
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        data->setUrls(urls);
        return data;
    }

    static QString YesNoTexts()
    {
        QMessageBox box(QMessageBox::Question, "", "", QMessageBox::Yes | QMessageBox::No);
        return box.button(QMessageBox::Yes)->text().remove('&') + "/"
            + box.button(QMessageBox::No)->text().remove('&');
    }
};

TEST(FolderDrop, AFolderOrAFileMeansItsFolderAndNothingElseCounts)
{
    QTemporaryDir logs;
    const QString file = logs.path() + "/10240301.csv";
    WriteTestFile(file.toStdString(), "x");
    auto data = std::make_unique<QMimeData>();
    data->setUrls({QUrl::fromLocalFile(logs.path())});
    EXPECT_EQ(DroppedFolder(data.get()), logs.path());
    data->setUrls({QUrl::fromLocalFile(file)});
    EXPECT_EQ(DroppedFolder(data.get()), logs.path());
    data->setUrls({QUrl::fromLocalFile(logs.path() + "/gone")});
    EXPECT_EQ(DroppedFolder(data.get()), QString());
    data->setUrls({QUrl("https://example.org/logs/")});
    EXPECT_EQ(DroppedFolder(data.get()), QString());
    data->setUrls({QUrl::fromLocalFile(logs.path()), QUrl::fromLocalFile(file)});
    EXPECT_EQ(DroppedFolder(data.get()), QString()) << "two things at once are not one folder";
    QMimeData text;
    text.setText(logs.path());
    EXPECT_EQ(DroppedFolder(&text), QString());
}

TEST_F(DesktopIntegrationTest, AFolderDroppedOnTheWindowOpensTheDialogOnItAndTextIsRefused)
{
    StartAndCancel();
    QTemporaryDir logs;
    QMimeData text;
    text.setText(logs.path());
    EXPECT_FALSE(DragAccepted(text));
    const auto folder = Files({logs.path()});
    EXPECT_TRUE(DragAccepted(*folder));

    QString offered;
    WhenModalAppears([&](QWidget* modal) {
        auto* dialog = qobject_cast<TDialogOpenAnalysis*>(modal);
        offered = dialog->GetRootDirectory();
        QTest::mouseClick(dialog->CancelBtn, Qt::LeftButton);
    });
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, folder.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !offered.isEmpty(); }, 5000));
    EXPECT_EQ(QDir(offered).absolutePath(), QDir(logs.path()).absolutePath());
}

TEST_F(DesktopIntegrationTest, QtsOwnButtonsSpeakTheChosenLanguage)
{
    StartAndCancel();
    ClickToolButton(form->LanguageActions[0]); // German
    EXPECT_EQ(YesNoTexts(), QStringLiteral("Ja/Nein"));
    ClickToolButton(form->LanguageActions[2]); // French
    EXPECT_EQ(YesNoTexts(), QStringLiteral("Oui/Non"));
    ClickToolButton(form->LanguageActions[1]); // English (GB)
    EXPECT_EQ(YesNoTexts(), QStringLiteral("Yes/No"));
}

} // namespace
