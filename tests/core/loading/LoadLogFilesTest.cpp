#include "core/loading/AnalysisFixture.h"

#include "core/base/KalvexError.h"
#include "core/loading/LoadLogFiles.h"
#include "core/logdata/LogAnalysis.h"

#include <gtest/gtest.h>

class LoadLogFilesTest : public AnalysisFixture {
protected:
    // Two devices, 02 with three days of which the middle one is garbage, 01 with one day.
    void SetUp() override
    {
        AnalysisFixture::SetUp();
        first = WriteEnergyDay("02", 2007, 3, 1, "5,0");
        broken = WriteGarbageDay("02", 2007, 3, 2);
        WriteEnergyDay("02", 2007, 3, 3, "7,0");
        other = WriteEnergyDay("01", 2007, 3, 2, "1,0");
        files = FindLogFiles(TempPath("logs"));
    }

    TLoadResult Load(const TLoadHooks& hooks = {})
    {
        return LoadLogFiles(set, files, EncodeDate(2007, 3, 1), EncodeDate(2007, 3, 31), hooks);
    }

    std::string first, broken, other;
    TLogFileList files;
    TAnalysisSet set;
};

TEST_F(LoadLogFilesTest, AFailingFileIsRecordedAndTheOthersLoadInDateOrder)
{
    std::vector<std::string> steps;
    TLoadHooks hooks;
    hooks.progress = [&](int done, int total) {
        steps.push_back(std::to_string(done) + "/" + std::to_string(total));
    };
    int events = 0;
    hooks.processEvents = [&] { ++events; };
    const TLoadResult result = Load(hooks);

    EXPECT_FALSE(result.aborted);
    EXPECT_EQ(result.loadedFiles,
        (std::vector<std::string>{first, other, TempPath("logs/02070303.csv")}));
    ASSERT_EQ(result.failures.size(), 1u);
    EXPECT_EQ(result.failures[0].path, broken);
    EXPECT_EQ(result.failures[0].message, Text(TextId::TxtInvalidLogFile));
    EXPECT_EQ(result.ErrorLines(),
        (std::vector<std::string>{broken, Text(TextId::TxtInvalidLogFile), ""}));
    // Four files and two devices.
    EXPECT_EQ(steps, (std::vector<std::string>{"0/6", "1/6", "2/6", "3/6", "4/6", "5/6", "6/6"}));
    EXPECT_EQ(events, 6);

    EXPECT_EQ(set.DeviceList(), (std::vector<std::string>{"01", "02"}));
    EXPECT_EQ(set.Caption(), "Analysis from 01.03.2007 to 31.03.2007. (4 files found)");
    ASSERT_NE(set.Analysis(1), nullptr);
    EXPECT_EQ(set.Analysis(1)->FileCount(), 2);
    EXPECT_GE(FieldOf(*set.Analysis(1), "Pmonat"), 0) << "device not finished";
    EXPECT_EQ(set.DayList().Count(), 3);
    EXPECT_EQ(set.CurrentAnalysis(), set.Analysis(0));
}

TEST_F(LoadLogFilesTest, AbortEmptiesTheAnalysisAndFinishesNoDevice)
{
    int polls = 0;
    TLoadHooks hooks;
    hooks.abortRequested = [&] { return ++polls == 3; };
    const TLoadResult result = Load(hooks);
    EXPECT_TRUE(result.aborted);
    EXPECT_EQ(result.loadedFiles.size(), 2u);
    EXPECT_EQ(polls, 3);
    EXPECT_EQ(set.DeviceCount(), 0);
    EXPECT_EQ(set.Caption(), "New");

    // Between the files and the devices as well.
    polls = 0;
    hooks.abortRequested = [&] { return ++polls == 5; };
    EXPECT_TRUE(Load(hooks).aborted);
    EXPECT_EQ(set.DayList().Count(), 0);
}

TEST_F(LoadLogFilesTest, NoMemoryStopsTheWholeLoadAndGivesTheMemoryBack)
{
    int probes = 0;
    TLoadHooks hooks;
    hooks.memoryAvailable = [&] { return ++probes < 3; };
    ExpectFailure(TextId::TxtOutOfMemoryReport, [&] { Load(hooks); });
    EXPECT_EQ(set.DeviceCount(), 0);
    EXPECT_EQ(set.Caption(), "New");
}

TEST_F(LoadLogFilesTest, NothingToLoadOrNothingLoadedFailsWithItsMessage)
{
    ExpectFailure(TextId::TxtNoFilesFound,
        [&] { LoadLogFiles(set, {}, EncodeDate(2007, 3, 1), EncodeDate(2007, 3, 31)); });

    const TLogFileList garbage{{broken, 70302}};
    ExpectFailure(TextId::TxtReportNotProduced,
        [&] { LoadLogFiles(set, garbage, EncodeDate(2007, 3, 1), EncodeDate(2007, 3, 31)); });
    EXPECT_EQ(set.DeviceCount(), 0);
    EXPECT_EQ(set.Caption(), "New");
}

TEST_F(LoadLogFilesTest, WithoutAUsableSettingsFolderTheFilesLoadWithDefaults)
{
    SetVariable("LocalAppData", std::nullopt);
    const TLoadResult result = Load();
    EXPECT_EQ(result.loadedFiles.size(), 3u);
    EXPECT_EQ(result.failures.size(), 1u) << "only the garbage file";
    ASSERT_NE(set.Analysis(1), nullptr);
    EXPECT_EQ(set.Analysis(1)->FileCount(), 2);
}

TEST_F(LoadLogFilesTest, ViewsThatCannotBeBuiltFailTheReportAndEmptyTheAnalysis)
{
    int built = 0;
    TLoadHooks hooks;
    hooks.finishViews = [&] {
        ++built;
        EXPECT_EQ(set.DayList().Count(), 3) << "the views follow the completed analysis";
        throw KalvexError("grid");
    };
    ExpectFailure(TextId::TxtReportNotProduced, [&] { Load(hooks); });
    EXPECT_EQ(built, 1);
    EXPECT_EQ(set.DeviceCount(), 0);
    EXPECT_EQ(set.Caption(), "New");
}

TEST_F(LoadLogFilesTest, FilesVanishingOrUnreadableBetweenScanAndLoadAreListedAsFailed)
{
    std::filesystem::remove(other);
    const TLoadResult result = Load();
    ASSERT_EQ(result.failures.size(), 2u);
    EXPECT_EQ(result.failures[0].path, other);
    EXPECT_EQ(result.failures[0].message.rfind(Text(TextId::TxtErrorOpeningFile), 0), 0u)
        << result.failures[0].message;
    // The device's analysis is made before its file is read; it stays empty.
    ASSERT_NE(set.Analysis(0), nullptr);
    EXPECT_EQ(set.Analysis(0)->FileCount(), 0);
    EXPECT_EQ(set.DayList().Count(), 2);

    if (PermissionsAreIgnored())
        return;
    std::filesystem::permissions(first, std::filesystem::perms::none);
    const TLoadResult closed = Load();
    std::filesystem::permissions(first, std::filesystem::perms::owner_all);
    ASSERT_EQ(closed.failures.size(), 3u);
    EXPECT_EQ(closed.failures[0].path, first);
}
