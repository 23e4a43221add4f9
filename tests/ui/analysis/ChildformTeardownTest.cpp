// An analysis window destroyed without being closed first, as when its owner goes away:
// nothing of it may be used after it is freed.
#include "support/LoadedWindow.h"
#include "ui/analysis/Childform.h"

#include "core/base/KalvexError.h"
#include "core/base/LanguageTable.h"
#include "core/settings/IniSettings.h"
#include "support/TestFiles.h"
#include "ui/analysis/ChartWindowFixture.h"

#include <QHeaderView>
#include <QMdiArea>
#include <QPointer>
#include <QScrollArea>
#include <QTabBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(ChildformTeardownTest, ALoadedWindowDeletedWithoutClosingFreesEverythingSafely)
{
    for (const std::vector<int>& devices : {std::vector<int>{10}, std::vector<int>{10, 21}}) {
        QTemporaryDir samples;
        GenerateMarchSamples(samples.path().toStdString(), devices, 2);
        QMdiArea area;
        area.resize(900, 700);
        area.show();
        TLoadResult result;
        QPointer<TChildform> child = OpenLoadedWindow(area, samples.path().toStdString(),
            EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 2), result);
        ASSERT_TRUE(child);
        delete child.data();
        EXPECT_TRUE(child.isNull());
        EXPECT_TRUE(area.subWindowList().isEmpty());
        ReleaseIniSettings();
    }
}

TEST(ChildformTeardownTest, AWindowWhoseViewsFailAfterItsTabsWereFilledIsEmptiedSafely)
{
    SelectLanguage(2);
    for (const std::vector<int>& devices : {std::vector<int>{10}, std::vector<int>{10, 21}}) {
        QTemporaryDir samples;
        GenerateMarchSamples(samples.path().toStdString(), devices, 2);
        QMdiArea area;
        area.resize(900, 700);
        area.show();
        auto* window = new TChildform;
        area.addSubWindow(window);
        window->showMaximized();
        // As the open dialog has it: the window's own finishing fails at its end.
        TLoadHooks hooks;
        hooks.finishViews = [window] {
            window->FinishLoad();
            throw KalvexError("views");
        };
        QPointer<QHeaderView> header = window->HeaderControl;
        EXPECT_THROW(LoadLogFiles(window->AnalysisSet(), FindLogFiles(samples.path().toStdString()),
                         EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 2), hooks),
            KalvexError);
        ASSERT_TRUE(header) << "the header went with a device's value list";
        // What the dialog does next.
        window->ResetToEmpty();
        EXPECT_EQ(window->windowTitle(), QStringLiteral("New"));
        EXPECT_EQ(window->TabSetDevices->count(), 0);
        EXPECT_EQ(header->parentWidget(), window->Overview->widget());
        ReleaseIniSettings();
    }
    SelectLanguage(1);
}
