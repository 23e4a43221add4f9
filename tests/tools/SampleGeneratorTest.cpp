#include "samplegen/SampleGenerator.h"
#include "core/loading/AnalysisSet.h"
#include "core/loading/LoadLogFiles.h"
#include "core/logdata/LogAnalysis.h"
#include "core/settings/SettingsFixture.h"
#include "samplegen/SampleOptions.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>

namespace {

struct Record {
    std::string stamp;
    std::vector<std::string> cells;
};

std::vector<std::string> SplitCrLf(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    EXPECT_EQ(start, bytes.size()) << "text after the last CR LF";
    return lines;
}

std::vector<std::string> SplitCells(const std::string& line)
{
    std::vector<std::string> cells;
    std::stringstream in(line);
    std::string cell;
    while (std::getline(in, cell, ';'))
        cells.push_back(cell);
    return cells;
}

double Number(const std::string& cell)
{
    std::string dotted = cell;
    std::replace(dotted.begin(), dotted.end(), ',', '.');
    return std::stod(dotted);
}

TSampleOptions Options(const QTemporaryDir& dir, int fromDay, int toDay, int month = 6)
{
    TSampleOptions o;
    o.outputDir = dir.path().toStdString();
    o.from = {2024, month, fromDay};
    o.to = {2024, month, toDay};
    return o;
}

std::string Base(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

} // namespace

TEST(SampleGenerator, NamesFilesByBusPrefixAndDateInFlatAndMonthFolders)
{
    QTemporaryDir dir;
    TSampleOptions o = Options(dir, 28, 30);
    o.to = {2024, 7, 2};
    o.faults = false;
    const auto files = GenerateSampleLogs(o);
    ASSERT_EQ(files.size(), 15u); // 5 days, 3 devices
    const std::regex name(R"((10|21|30)24(06|07)\d\d\.(csv|CSV))");
    int nested = 0;
    for (const std::string& f : files) {
        EXPECT_TRUE(std::regex_match(Base(f), name)) << f;
        EXPECT_TRUE(std::filesystem::is_regular_file(f)) << f;
        const auto parent = std::filesystem::path(f).parent_path();
        if (parent != std::filesystem::path(o.outputDir)) {
            ++nested;
            EXPECT_EQ(parent.parent_path().filename().string(), "2024");
            EXPECT_EQ(parent.filename().string(), Base(f).substr(4, 2));
        }
    }
    // Mixed layout: one of the two months lies in year/month folders, the other not.
    EXPECT_TRUE(nested == 9 || nested == 6) << nested;

    QTemporaryDir flatDir;
    o.outputDir = flatDir.path().toStdString();
    o.layout = TSampleLayout::Flat;
    for (const std::string& f : GenerateSampleLogs(o))
        EXPECT_EQ(std::filesystem::path(f).parent_path(), std::filesystem::path(o.outputDir));
}

TEST(SampleGenerator, SameSeedGivesSameBytesOtherSeedOthers)
{
    QTemporaryDir a, b, c;
    TSampleOptions o = Options(a, 10, 10);
    const auto first = GenerateSampleLogs(o);
    o.outputDir = b.path().toStdString();
    const auto second = GenerateSampleLogs(o);
    o.outputDir = c.path().toStdString();
    o.seed = 2;
    const auto third = GenerateSampleLogs(o);
    ASSERT_EQ(first.size(), second.size());
    ASSERT_FALSE(first.empty());
    for (size_t i = 0; i < first.size(); ++i)
        EXPECT_EQ(ReadTestFile(first[i]), ReadTestFile(second[i])) << first[i];
    EXPECT_NE(ReadTestFile(first[0]), ReadTestFile(third[0]));
}

TEST(SampleGenerator, WritesWindows1252HeadersCrLfAndOneCellPerColumn)
{
    QTemporaryDir dir;
    TSampleOptions o = Options(dir, 3, 3);
    o.intervalMinutes = 5;
    o.faults = false;
    for (const std::string& f : GenerateSampleLogs(o)) {
        const std::string bytes = ReadTestFile(f);
        EXPECT_NE(bytes.find("[\xB0"
                             "C]"),
            std::string::npos)
            << f;
        const auto lines = SplitCrLf(bytes);
        ASSERT_EQ(lines.size(), 1u + 288u) << f;
        const auto header = SplitCells(lines[0]);
        const bool named = header[0] != "DATE & TIME" && header[0] != "dd.mm.yy hh:mm";
        const std::string stampHeader = header[named ? 1 : 0];
        const std::regex stamp(stampHeader == "DATE & TIME" ? R"(2024-06-03 \d\d:\d[05])"
                                                            : R"(03\.06\.2024 \d\d:\d[05])");
        for (size_t i = 1; i < lines.size(); ++i) {
            const auto cells = SplitCells(lines[i]);
            ASSERT_EQ(cells.size(), header.size()) << f << " line " << i;
            EXPECT_TRUE(std::regex_match(cells[named ? 1 : 0], stamp)) << lines[i];
            if (named) {
                EXPECT_EQ(cells[0], header[0]);
            }
        }
    }
}

TEST(SampleGenerator, SolarControllerFollowsThePhysics)
{
    QTemporaryDir dir;
    TSampleOptions o = Options(dir, 1, 30);
    o.devices = {10};
    o.faults = false;
    const auto files = GenerateSampleLogs(o);
    ASSERT_EQ(files.size(), 30u);
    double warmestNoon = -100.0;
    for (const std::string& f : files) {
        const auto lines = SplitCrLf(ReadTestFile(f));
        const auto header = SplitCells(lines[0]);
        auto column = [&](const std::string& name) {
            const auto it = std::find(header.begin(), header.end(), name);
            EXPECT_NE(it, header.end()) << name;
            return static_cast<size_t>(it - header.begin());
        };
        // The file is Windows-1252: "°" is the byte 0xB0.
        const size_t collectorAt = column("T1[\xB0"
                                          "C]"),
                     storeAt = column("T2[\xB0"
                                      "C]");
        const size_t flowAt = column("V'[l/min]"), powerAt = column("P[W]");
        const size_t dayTotalAt = column("Qtag[kWh]"), pumpAt = column("R1[%]");
        double integral = 0.0;
        std::vector<std::string> last;
        for (size_t i = 1; i < lines.size(); ++i) {
            const auto c = SplitCells(lines[i]);
            const double collector = Number(c[collectorAt]), store = Number(c[storeAt]);
            const double flow = Number(c[flowAt]), power = Number(c[powerAt]);
            const double pump = Number(c[pumpAt]);
            if (pump > 0) {
                EXPECT_GT(flow, 0.0) << lines[i];
                EXPECT_GT(collector, store) << lines[i];
                // Power is flow times the lift between collector and store.
                const double expected = 4186.0 / 60.0 * flow * (collector - store);
                EXPECT_NEAR(power, expected, 0.5) << lines[i];
            } else {
                EXPECT_EQ(power, 0.0) << lines[i];
            }
            if (c[0].ends_with("12:30"))
                warmestNoon = std::max(warmestNoon, collector);
            if (c[0].ends_with("00:30")) {
                EXPECT_LT(collector, 40.0) << "collector hot at night: " << lines[i];
            }
            integral += power / 60000.0;
            last = c;
        }
        // The day total is the day's energy so far.
        EXPECT_NEAR(Number(last[dayTotalAt]), integral, 0.02) << f;
    }
    EXPECT_GT(warmestNoon, 60.0) << "June noons never heated the collector";
}

TEST(SampleGenerator, FaultsLeaveGapsErrCellsAndMissingDaysButNeverEmptyFiles)
{
    QTemporaryDir dir;
    TSampleOptions o = Options(dir, 1, 30);
    o.to = {2024, 12, 31};
    o.intervalMinutes = 10;
    const auto files = GenerateSampleLogs(o);
    EXPECT_LT(files.size(), 214u * 3u);
    EXPECT_GT(files.size(), 200u * 3u);
    bool err = false, shortDay = false;
    for (const std::string& f : files) {
        const auto lines = SplitCrLf(ReadTestFile(f));
        EXPECT_GT(lines.size(), 100u) << f;
        shortDay = shortDay || lines.size() < 145u;
        for (const auto& l : lines)
            err = err || l.find(";Err") != std::string::npos;
    }
    EXPECT_TRUE(err);
    EXPECT_TRUE(shortDay);
}

TEST(SampleGeneratorOptions, ReadsTheCommandLineAndRejectsNonsense)
{
    const auto ok
        = ParseSampleArguments({"out", "--from", "2023-12-30", "--to", "2024-01-02", "--interval",
            "5", "--seed", "7", "--devices", "10,22", "--layout", "nested", "--no-faults"});
    ASSERT_EQ(ok.error, "");
    EXPECT_EQ(ok.options.outputDir, "out");
    EXPECT_EQ(ok.options.from.year, 2023);
    EXPECT_EQ(ok.options.to.day, 2);
    EXPECT_EQ(ok.options.intervalMinutes, 5);
    EXPECT_EQ(ok.options.seed, 7u);
    EXPECT_EQ(ok.options.devices, (std::vector<int>{10, 22}));
    EXPECT_EQ(ok.options.layout, TSampleLayout::Nested);
    EXPECT_FALSE(ok.options.faults);

    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{{},
             {"out", "--from"}, {"out", "--from", "2024-02-30"}, {"out", "--interval", "0"},
             {"out", "--devices", "10,x"}, {"out", "--layout", "deep"}, {"out", "more"},
             {"out", "--frm", "2024-01-01"}})
        EXPECT_NE(ParseSampleArguments(bad).error, "") << bad.size();
}

TEST(SampleGenerator, RefusesPeriodsAndDevicesItCannotWrite)
{
    QTemporaryDir dir;
    TSampleOptions o = Options(dir, 5, 4);
    EXPECT_THROW(GenerateSampleLogs(o), std::invalid_argument);
    o = Options(dir, 1, 1);
    o.devices = {10, 45};
    EXPECT_THROW(GenerateSampleLogs(o), std::invalid_argument);
}

class SampleLogsLoad : public SettingsFixture { };

TEST_F(SampleLogsLoad, EveryGeneratedFileLoadsWithItsDay)
{
    TSampleOptions o;
    o.outputDir = TempPath("logs");
    o.from = {2024, 7, 20};
    o.to = {2024, 8, 20}; // across the fresh-water station's change of stamp style
    o.intervalMinutes = 3;
    o.seed = 5;
    const auto files = GenerateSampleLogs(o);

    TLogFileList found = FindLogFiles(o.outputDir);
    ASSERT_EQ(found.size(), files.size());
    TAnalysisSet set;
    const TLoadResult result
        = LoadLogFiles(set, found, EncodeDate(2024, 7, 20), EncodeDate(2024, 8, 20));
    EXPECT_TRUE(result.failures.empty())
        << result.failures[0].path << ": " << result.failures[0].message;
    ASSERT_EQ(set.DeviceCount(), 3);
    int days = 0;
    for (int d = 0; d < 3; ++d) {
        ASSERT_NE(set.Analysis(d), nullptr);
        days += set.Analysis(d)->DayCount();
    }
    EXPECT_EQ(days, static_cast<int>(files.size()));
    EXPECT_EQ(set.DayList().Count(), 32);
}
