// An analysis window destroyed without being closed first, as when its owner goes away:
// nothing of it may be used after it is freed.
#include "support/LoadedWindow.h"
#include "ui/analysis/Childform.h"

#include "core/settings/IniSettings.h"
#include "samplegen/SampleGenerator.h"
#include "support/TestFiles.h"

#include <QMdiArea>
#include <QPointer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(ChildformTeardownTest, ALoadedWindowDeletedWithoutClosingFreesEverythingSafely)
{
    for (const std::vector<int>& devices : {std::vector<int>{10}, std::vector<int>{10, 21}}) {
        QTemporaryDir samples;
        TSampleOptions options;
        options.outputDir = samples.path().toStdString();
        options.from = {2024, 3, 1};
        options.to = {2024, 3, 2};
        options.devices = devices;
        options.layout = TSampleLayout::Flat;
        options.faults = false;
        GenerateSampleLogs(options);
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
