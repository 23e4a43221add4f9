#include "ui/app/DialogAbout.h"
#include "core/base/LanguageTable.h"
#include "core/base/ProgramVersion.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened << url; }
};

class DialogAboutTest : public testing::Test {
protected:
    void SetUp() override
    {
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &urls, "Open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &urls, "Open");
    }
    void TearDown() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        SelectLanguage(1);
    }
    UrlRecorder urls;
};

TEST_F(DialogAboutTest, ShowsNameVersionAndTheNoticeOfTheCurrentLanguage)
{
    TDialogAbout box;
    SelectLanguage(3);
    box.show();
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Info: Velmora Kalvex 2"));
    EXPECT_EQ(box.LabelAppName->text(), QStringLiteral("Velmora Kalvex 2"));
    // The version --version prints, which starts with the project's.
    EXPECT_EQ(box.LabelVersion->text(), QStringLiteral("Version ") + ProgramVersionText());
    EXPECT_TRUE(
        box.LabelVersion->text().startsWith(QStringLiteral("Version " KALVEX_PROJECT_VERSION)));
    const QString french
        = QString::fromStdString(TextIn(TextArray::French, TextId::TxtFreewareNotice)) + " "
        + QString::fromStdString(TextIn(TextArray::French, TextId::TxtFreewareNotice2));
    EXPECT_EQ(box.Disclaimer->toPlainText(), french);
    EXPECT_EQ(box.LabelCountry->text(), QStringLiteral("Allemagne"));
    box.hide();

    // Shown again in another language, the texts follow it.
    SelectLanguage(2);
    box.show();
    EXPECT_TRUE(box.Disclaimer->toPlainText().startsWith("Velmora Kalvex 2 is free software"));
    EXPECT_EQ(box.LabelByOrderOf->text(), QStringLiteral("By order of:"));
    EXPECT_EQ(box.Memo1->document()->blockCount(), 3);
}

TEST_F(DialogAboutTest, LinksOpenMailAndWebAddresses)
{
    TDialogAbout box;
    box.show();
    QTest::mouseClick(box.LabelMailTo, Qt::LeftButton);
    QTest::mouseClick(box.LabelWebLink, Qt::LeftButton);
    ASSERT_EQ(urls.opened.size(), 2);
    EXPECT_EQ(urls.opened[0].scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(urls.opened[0].path(), box.LabelMailTo->text());
    EXPECT_EQ(urls.opened[1].toString(), box.LabelWebLink->text());
}

TEST_F(DialogAboutTest, EscClosesWithOk)
{
    TDialogAbout box;
    box.show();
    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

} // namespace

#include "DialogAboutTest.moc"
