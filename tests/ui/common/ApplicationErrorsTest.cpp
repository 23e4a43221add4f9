#include "ui/common/ApplicationErrors.h"
#include "core/base/KalvexError.h"
#include "support/GuiTestHelpers.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <new>

namespace {

TEST(ApplicationErrorsTest, AnExceptionEscapingAClickReachesTheHandlerAndTheProgramGoesOn)
{
    QStringList reported;
    const auto previous
        = SetApplicationErrorHandler([&](const QString& message) { reported << message; });
    QPushButton button;
    int clicks = 0;
    // Through the slots' wrapper, so the exception never unwinds through Qt.
    QObject::connect(&button, &QPushButton::clicked, Guarded([&] {
        ++clicks;
        Fail(TextId::TxtNoFileToOpen, " (x)");
    }));
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 2);
    ASSERT_EQ(reported.size(), 2);
    EXPECT_EQ(reported[0], QString::fromStdString(Text(TextId::TxtNoFileToOpen)) + " (x)");
    SetApplicationErrorHandler(previous);
}

TEST(ApplicationErrorsTest, OutOfMemoryIsReportedWithTheLanguageTableText)
{
    QStringList reported;
    const auto previous
        = SetApplicationErrorHandler([&](const QString& message) { reported << message; });
    try {
        throw std::bad_alloc();
    } catch (...) {
        ReportCurrentException();
    }
    ASSERT_EQ(reported.size(), 1);
    EXPECT_EQ(reported[0], QString::fromStdString(Text(TextId::TxtDataStructureMemory)));
    SetApplicationErrorHandler(previous);
}

TEST(ApplicationErrorsTest, WithoutAHandlerAPlainErrorBoxShowsTheText)
{
    MessageRecorder boxes;
    const auto previous = SetApplicationErrorHandler({});
    ReportApplicationError(QStringLiteral("broken"));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("broken"));
    EXPECT_EQ(boxes.shown[0].caption, QString::fromStdString(Text(TextId::TxtError)));
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Error);
    SetApplicationErrorHandler(previous);
}

} // namespace
