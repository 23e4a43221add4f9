// Loading several devices at once: the same analysis as one after the other, with the
// hooks still called on the loading thread.

#include "core/loading/AnalysisFixture.h"

#include "core/base/KalvexError.h"
#include "core/loading/LoadLogFiles.h"
#include "core/logdata/LogAnalysis.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

namespace {

class RecordingHooks : public TAnalysisSetHooks {
public:
    void UnitsWarning(const std::string& message) override
    {
        warnings.push_back(message);
        threads.push_back(std::this_thread::get_id());
    }
    void BuildValueSelector(int deviceIndex, TLogAnalysis&) override
    {
        selectors.push_back(deviceIndex);
        threads.push_back(std::this_thread::get_id());
    }
    std::vector<std::string> warnings;
    std::vector<int> selectors;
    std::vector<std::thread::id> threads;
};

// Everything a device holds after loading, as text.
std::string Fingerprint(const TAnalysisSet& set)
{
    std::string text;
    for (int d = 0; d < set.DeviceCount(); ++d) {
        const TLogAnalysis* analysis = set.Analysis(d);
        if (!analysis)
            continue;
        text += set.DeviceList()[static_cast<size_t>(d)] + " files "
            + std::to_string(analysis->FileCount()) + "\n";
        for (int f = 0; f < analysis->FieldRecordCount(); ++f) {
            const TPointSeries& points = analysis->Series(f)->Points();
            text += " field " + std::to_string(f) + ":";
            for (int i = 0; i < points.Count(); ++i)
                text += " " + std::to_string(points.X(i)) + (points.IsNull(i) ? "n" : "=")
                    + std::to_string(points.Y(i));
            text += "\n";
        }
    }
    for (int i = 0; i < set.DayList().Count(); ++i)
        text += std::to_string(set.DayList().DayNumber(i)) + " ";
    const TOverviewTable& daily = *set.DailyOverview();
    for (int row = 0; row < daily.RowCount(); ++row)
        for (int column = 0; column < daily.ColumnCount(); ++column)
            text += daily.Text(column, row) + ";";
    return text;
}

class ParallelLoadTest : public AnalysisFixture {
protected:
    void SetUp() override
    {
        AnalysisFixture::SetUp();
        for (int day = 1; day <= 9; ++day) {
            WriteEnergyDay("02", 2007, 3, day, std::to_string(day) + ",5");
            if (day % 2)
                WriteEnergyDay("01", 2007, 3, day, "1,0", std::to_string(100 + day));
            WriteTemperatureDay("03", 2007, 3, day);
        }
        WriteGarbageDay("02", 2007, 3, 10);
        WriteGarbageDay("03", 2007, 3, 10);
        files = FindLogFiles(TempPath("logs"));
    }

    TLoadResult Load(TAnalysisSet& set, TLoadHooks hooks, int workers)
    {
        hooks.workers = workers;
        return LoadLogFiles(set, files, EncodeDate(2007, 3, 1), EncodeDate(2007, 3, 31), hooks);
    }

    TLogFileList files;
};

TEST_F(ParallelLoadTest, GivesTheSameFilesFailuresDaysSeriesAndTablesAsOneByOne)
{
    RecordingHooks aloneHooks, togetherHooks;
    TAnalysisSet alone(&aloneHooks), together(&togetherHooks);
    const TLoadResult one = Load(alone, {}, 1);
    std::vector<int> progress;
    TLoadHooks hooks;
    hooks.progress = [&](int done, int total) { progress.push_back(total - done); };
    const TLoadResult three = Load(together, hooks, 3);

    EXPECT_EQ(three.loadedFiles, one.loadedFiles);
    ASSERT_EQ(three.failures.size(), 2u);
    ASSERT_EQ(one.failures.size(), 2u);
    for (size_t i = 0; i < one.failures.size(); ++i) {
        EXPECT_EQ(three.failures[i].path, one.failures[i].path);
        EXPECT_EQ(three.failures[i].message, one.failures[i].message);
    }
    EXPECT_EQ(Fingerprint(together), Fingerprint(alone));
    EXPECT_EQ(togetherHooks.selectors, (std::vector<int>{0, 1, 2}));
    for (const std::thread::id& id : togetherHooks.threads)
        EXPECT_EQ(id, std::this_thread::get_id()) << "a hook ran on a worker";
    // From all to do down to nothing left, never backwards.
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front(), static_cast<int>(files.size()) + 3);
    EXPECT_EQ(progress.back(), 0);
    EXPECT_TRUE(std::is_sorted(progress.rbegin(), progress.rend()));
}

TEST_F(ParallelLoadTest, OneDeviceAloneIsReadOnSeveralWorkersWithTheSameResult)
{
    // Device 02's days, a copy of one of them read again, its garbage day, and a last day
    // whose power comes in another unit.
    std::filesystem::create_directories(TempPath("logs/copy"));
    std::filesystem::copy_file(TempPath("logs/" + DayFileName("02", 2007, 3, 4)),
        TempPath("logs/copy/" + DayFileName("02", 2007, 3, 4)));
    WriteLog(DayFileName("02", 2007, 3, 11),
        {"DATE & TIME;T1[°C];P[l/min];Qtag[kWh]", "2007-03-11 00:00;20,0;100;0,0",
            "2007-03-11 12:00;21,0;200;1,0"});
    files = FindLogFiles(TempPath("logs"));
    std::erase_if(files, [](const TLogFileEntry& file) {
        return std::filesystem::path(file.path).filename().string().substr(0, 2) != "02";
    });
    ASSERT_EQ(files.size(), 12u);
    RecordingHooks aloneHooks, togetherHooks;
    TAnalysisSet alone(&aloneHooks), together(&togetherHooks);
    const TLoadResult one = Load(alone, {}, 1);
    const TLoadResult two = Load(together, {}, 2);
    EXPECT_EQ(two.loadedFiles, one.loadedFiles);
    // The garbage day, and the copy, which adds nothing.
    ASSERT_EQ(one.failures.size(), 2u);
    ASSERT_EQ(two.failures.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(two.failures[i].path, one.failures[i].path);
        EXPECT_EQ(two.failures[i].message, one.failures[i].message);
    }
    EXPECT_EQ(std::count_if(one.failures.begin(), one.failures.end(),
                  [](const TLoadFailure& f) {
                      return f.message.starts_with(Text(TextId::TxtSameDayLoaded));
                  }),
        1);
    EXPECT_EQ(Fingerprint(together), Fingerprint(alone));
    ASSERT_EQ(aloneHooks.warnings.size(), 1u);
    EXPECT_EQ(togetherHooks.warnings, aloneHooks.warnings);
}

TEST_F(ParallelLoadTest, AWarningOfTheLastFileReachesTheWindowBeforeTheLoadEnds)
{
    const std::string folder = TempPath("short");
    std::filesystem::create_directories(folder);
    WriteTestFile(folder + "/10240301.csv",
        "dd.mm.yy hh:mm;T1[\xB0"
        "C]\r\n01.03.2024 10:00;20\r\n");
    WriteTestFile(folder + "/10240302.csv", "dd.mm.yy hh:mm;T1[F]\r\n02.03.2024 10:00;68\r\n");
    files = FindLogFiles(folder);
    for (int run = 0; run < 10; ++run) {
        RecordingHooks hooks;
        TAnalysisSet set(&hooks);
        TLoadHooks load;
        load.workers = 2;
        // A window slow to serve its events: the files are read meanwhile.
        load.processEvents = [] { std::this_thread::sleep_for(std::chrono::milliseconds(5)); };
        LoadLogFiles(set, files, EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 2), load);
        ASSERT_EQ(hooks.warnings.size(), 1u) << "run " << run;
    }
}

TEST_F(ParallelLoadTest, AbortStopsTheWorkersAndEmptiesTheAnalysis)
{
    TAnalysisSet set;
    int polls = 0;
    TLoadHooks hooks;
    hooks.abortRequested = [&] { return ++polls == 2; };
    const TLoadResult result = Load(set, hooks, 2);
    EXPECT_TRUE(result.aborted);
    EXPECT_EQ(set.DeviceCount(), 0);
    EXPECT_EQ(set.Caption(), "New");

    // The same set loads completely afterwards.
    EXPECT_FALSE(Load(set, {}, 2).aborted);
    EXPECT_EQ(set.DayList().Count(), 9);
}

TEST_F(ParallelLoadTest, MemoryIsCheckedOnTheLoadingThreadBeforeEveryFile)
{
    TAnalysisSet set;
    int probes = 0;
    bool elsewhere = false;
    const auto loader = std::this_thread::get_id();
    TLoadHooks hooks;
    hooks.memoryAvailable = [&] {
        elsewhere |= std::this_thread::get_id() != loader;
        return ++probes < 5;
    };
    ExpectFailure(TextId::TxtOutOfMemoryReport, [&] { Load(set, hooks, 2); });
    EXPECT_FALSE(elsewhere);
    EXPECT_EQ(probes, 5);
    EXPECT_EQ(set.DeviceCount(), 0);

    probes = -1000;
    EXPECT_FALSE(Load(set, hooks, 2).aborted);
    EXPECT_EQ(probes, -1000 + static_cast<int>(files.size()));
}

TEST_F(ParallelLoadTest, UnitsWarningsReachTheWindowOnItsOwnThread)
{
    // Device 02 logged its power in kW so far; this day something else under its name.
    WriteLog(DayFileName("02", 2007, 3, 11),
        {"DATE & TIME;T1[°C];P[l/min];Qtag[kWh]", "2007-03-11 00:00;20,0;100;0,0",
            "2007-03-11 12:00;21,0;200;1,0"});
    files = FindLogFiles(TempPath("logs"));
    RecordingHooks aloneHooks, togetherHooks;
    TAnalysisSet alone(&aloneHooks), together(&togetherHooks);
    Load(alone, {}, 1);
    Load(together, {}, 2);
    ASSERT_EQ(aloneHooks.warnings.size(), 1u);
    EXPECT_EQ(togetherHooks.warnings, aloneHooks.warnings);
    for (const std::thread::id& id : togetherHooks.threads)
        EXPECT_EQ(id, std::this_thread::get_id());
}

} // namespace
