#include "ui/open/EscapeKeyWatch.h"
#include "support/GuiTestHelpers.h"

#include <QDialog>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void Send(QWidget* to, QEvent::Type type, bool autoRepeat = false)
{
    QKeyEvent key(type, Qt::Key_Escape, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(to, &key);
}

class EscapeKeyWatchTest : public testing::Test {
protected:
    void SetUp() override
    {
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
    QDialog dialog;
    TEscapeKeyWatch watch{&dialog};
};

TEST_F(EscapeKeyWatchTest, APressCountsOnceAndAHeldKeyUntilReleased)
{
    watch.Start();
    Send(&dialog, QEvent::KeyPress);
    Send(&dialog, QEvent::KeyRelease);
    EXPECT_TRUE(watch.Poll());
    EXPECT_FALSE(watch.Poll());

    Send(&dialog, QEvent::KeyPress);
    Send(&dialog, QEvent::KeyRelease, true); // auto-repeat: still held
    Send(&dialog, QEvent::KeyPress, true);
    EXPECT_TRUE(watch.Poll());
    EXPECT_TRUE(watch.Poll()) << "held down";
    Send(&dialog, QEvent::KeyRelease);
    EXPECT_FALSE(watch.Poll());
    EXPECT_TRUE(dialog.isVisible()) << "the watched dialog never saw the Esc";
    watch.Stop();
}

TEST_F(EscapeKeyWatchTest, EscInAnotherWindowDoesNotCount)
{
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    watch.Start();
    Send(&other, QEvent::KeyPress);
    Send(&other, QEvent::KeyRelease);
    EXPECT_FALSE(watch.Poll());
    watch.Stop();
}

TEST_F(EscapeKeyWatchTest, FlushWaitsForAnEarlierPressToBeTakenOut)
{
    watch.Start();
    PostEscPressAndRelease(&dialog);
    watch.Flush();
    EXPECT_FALSE(watch.Poll());
    watch.Stop();
}

TEST_F(EscapeKeyWatchTest, WhenNotWatchingEscReachesTheWindow)
{
    Send(&dialog, QEvent::KeyPress);
    EXPECT_FALSE(dialog.isVisible()) << "Esc cancels a dialog as usual";
}

} // namespace
