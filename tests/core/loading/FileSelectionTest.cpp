#include "core/loading/DirectoryScan.h"
#include "core/loading/LogFileNames.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Paths(const TLogFileList& list, const std::string& root)
{
    std::vector<std::string> paths;
    for (const TLogFileEntry& e : list)
        paths.push_back(e.path.substr(root.size() + 1));
    return paths;
}

TDateTime Date(int y, int m, int d)
{
    return EncodeDate(y, m, d);
}

TLogFileList Entries(std::initializer_list<const char*> paths)
{
    TLogFileList list;
    for (const char* p : paths)
        list.push_back({p, FileDateKey(fs::path(p).filename().string()).value_or(-1)});
    return list;
}

} // namespace

TEST(LogFileNames, DateKeyFromTheThirdCharacterOfNamesEndingInCsvOfAnyCase)
{
    EXPECT_EQ(FileDateKey("AB100517.csv"), 100517);
    EXPECT_EQ(FileDateKey("AB100518.CSV"), 100518);
    EXPECT_EQ(FileDateKey("10240301.Csv"), 240301);
    EXPECT_EQ(FileDateKey("AB1005171.csv"), 1005171); // longer names keep their digits
    EXPECT_FALSE(FileDateKey("AB10051x.csv"));
    EXPECT_FALSE(FileDateKey("ABtoday.csv"));
    EXPECT_FALSE(FileDateKey("AB.csv"));
    EXPECT_FALSE(FileDateKey("AB-10517.csv"));
    EXPECT_FALSE(FileDateKey("AB 100517.csv"));
    EXPECT_FALSE(FileDateKey("AB99999999999.csv")); // beyond 32 bits
    EXPECT_TRUE(HasLogExtension("AB100518.CSV"));
    EXPECT_TRUE(HasLogExtension("x.cSv"));
    EXPECT_FALSE(HasLogExtension("notes.txt"));
    EXPECT_FALSE(HasLogExtension("AB100517.csv.bak"));
    EXPECT_FALSE(HasLogExtension("csv"));
}

TEST(LogFileNames, DateFromTheNameWithTheTwoDigitYearWindow)
{
    EXPECT_EQ(FileNameDate("AB100517.csv", 2025), Date(2010, 5, 17));
    EXPECT_EQ(FileNameDate("AB100518.CSV", 1961), Date(2010, 5, 18));
    EXPECT_EQ(FileNameDate("AB100518.CSV", 2060), Date(2010, 5, 18));
    EXPECT_EQ(FileNameDate("AB100518.CSV", 2061), Date(2110, 5, 18));
    // With 2024 the window runs from 1974 to 2073.
    EXPECT_EQ(FileNameDate("AB740101.csv", 2024), Date(1974, 1, 1));
    EXPECT_EQ(FileNameDate("AB731231.csv", 2024), Date(2073, 12, 31));
    EXPECT_FALSE(FileNameDate("AB101399.csv", 2024)); // month 13
    EXPECT_FALSE(FileNameDate("AB230229.csv", 2024)); // no 29 February in 2023
    EXPECT_EQ(FileNameDate("AB240229.csv", 2024), Date(2024, 2, 29));
    EXPECT_FALSE(FileNameDate("AB1005.csv", 2024));
    EXPECT_TRUE(FileNameDate("AB100517.csv").has_value()); // with the current year
}

TEST(LogFileNames, RangeDayAndDevicePrefixFromTheEndOfTheFullPath)
{
    EXPECT_EQ(FileRangeDay("/logs/2010/AB100517.csv", 2025), 20100517);
    EXPECT_EQ(FileRangeDay("/logs/x/AB1005171.csv", 2025), 20005171); // counted from the end
    EXPECT_EQ(FileRangeDay("/logs/AB991231.csv", 2025), 19991231);
    EXPECT_FALSE(FileRangeDay("/logs/AB1234.csv", 2025)); // "B1234" is no number
    EXPECT_FALSE(FileRangeDay(".csv", 2025));
    EXPECT_EQ(RangeDayOf(Date(2010, 5, 17)), 20100517);
    EXPECT_EQ(FileDevicePrefix("/logs/2010/AB100517.csv"), "AB");
    EXPECT_EQ(FileDevicePrefix("/logs/10240301.CSV"), "10");
    EXPECT_EQ(FileDevicePrefix("X240301.csv"), "X");
    EXPECT_EQ(FileDevicePrefix("1.csv"), "");
}

TEST(DirectoryScan, FindsLogFilesTwoLevelsDownSubdirectoriesFirst)
{
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    for (const char* name : {"AB100518.CSV", "AB100517.csv", "AB10051x.csv", "ABtoday.csv",
             "notes.txt", "one/CD100519.csv", "one/two/CD100520.csv", "one/two/three/CD100521.csv",
             "b/EF100516.csv"})
        WriteTestFile(root + "/" + name, "DATE & TIME;T1[°C]\r\n");

    TLogFileList list;
    ScanDirectory(root, list, 2);
    EXPECT_EQ(Paths(list, root),
        (std::vector<std::string>{"b/EF100516.csv", "one/two/CD100520.csv", "one/CD100519.csv",
            "AB100517.csv", "AB100518.CSV"}));
    EXPECT_EQ(list[3].dateKey, 100517);
    EXPECT_EQ(list[4].dateKey, 100518);

    SortByDateKey(list);
    EXPECT_EQ(list.front().path, root + "/b/EF100516.csv");
    EXPECT_EQ(list.back().path, root + "/one/two/CD100520.csv");

    TLogFileList flat;
    ScanDirectory(root + "/", flat, 0); // a trailing delimiter is not doubled
    EXPECT_EQ(Paths(flat, root), (std::vector<std::string>{"AB100517.csv", "AB100518.CSV"}));
}

TEST(DirectoryScan,
    ListsHiddenAndLinkedFilesButPassesOverHiddenFoldersDirectoriesNamedCsvAndLinkLoops)
{
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    WriteTestFile(root + "/AB100517.csv", "x");
    WriteTestFile(root + "/.0100516.csv", "x"); // hidden, date key 100516
    WriteTestFile(root + "/.AB100518.csv", "x");
    WriteTestFile(root + "/._AB100519.csv", "x");
    WriteTestFile(root + "/.hidden/AB100520.csv", "x");
    WriteTestFile(root + "/GH100524.csv/IJ100525.csv", "x");
    fs::create_directories(root + "/one");
    fs::create_directory_symlink(root, root + "/one/up"); // back to the top
    fs::create_directory_symlink(root + "/one", root + "/one/self");
    fs::create_symlink(root + "/missing.csv", root + "/KL100526.csv"); // dangling
    fs::create_symlink(root + "/AB100517.csv", root + "/OP100528.csv"); // to a log file
    fs::create_directory_symlink(root + "/one", root + "/QR100529.csv"); // to a folder
    ASSERT_EQ(::mkfifo((root + "/MN100527.csv").c_str(), 0600), 0); // reading would block

    TLogFileList list;
    ScanDirectory(root, list, 2);
    EXPECT_EQ(Paths(list, root),
        (std::vector<std::string>{
            "GH100524.csv/IJ100525.csv", ".0100516.csv", "AB100517.csv", "OP100528.csv"}));
}

TEST(DirectoryScan, LinkedDirectoriesAreSearchedOnceAndUnreadableOnesSkipped)
{
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    WriteTestFile(root + "/real/AB100517.csv", "x");
    fs::create_directory_symlink(root + "/real", root + "/alias");
    WriteTestFile(root + "/closed/AB100518.csv", "x");
    fs::permissions(root + "/closed", fs::perms::none);

    TLogFileList list;
    ScanDirectory(root, list, 2);
    fs::permissions(root + "/closed", fs::perms::owner_all);
    // "alias" comes first by name and stands for "real", which is not searched again.
    std::vector<std::string> expected{"alias/AB100517.csv"};
    if (geteuid() == 0) // root reads every directory
        expected.push_back("closed/AB100518.csv");
    EXPECT_EQ(Paths(list, root), expected);

    TLogFileList none;
    ScanDirectory(root + "/does-not-exist", none, 2);
    EXPECT_TRUE(none.empty());
}

TEST(FileSelection, EndsWithoutValidDateAreDroppedUntilADatedOneIsFound)
{
    TLogFileList list = Entries({"/l/AB000000.csv", "/l/AB100517.csv", "/l/AB101399.csv",
        "/l/AB100601.csv", "/l/AB100532.csv"});
    SortByDateKey(list);
    const auto dates = TrimToDatedEnds(list, 2024);
    ASSERT_TRUE(dates);
    EXPECT_EQ(dates->first, Date(2010, 5, 17));
    EXPECT_EQ(dates->last, Date(2010, 6, 1));
    // Only the ends are tested: the entry in between stays.
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[1].path, "/l/AB100532.csv");

    TLogFileList undated = Entries({"/l/AB101399.csv", "/l/AB000000.csv"});
    EXPECT_FALSE(TrimToDatedEnds(undated, 2024));
    EXPECT_TRUE(undated.empty());
}

TEST(FileSelection, DaysAcrossATurnOfTheCenturySortAndBoundThePickersInOrder)
{
    TLogFileList list
        = Entries({"/l/AB000102.csv", "/l/AB991231.csv", "/l/AB000101.csv", "/l/AB991230.csv"});
    SortByDateKey(list, 2024);
    EXPECT_EQ(Paths(list, "/l"),
        (std::vector<std::string>{"AB991230.csv", "AB991231.csv", "AB000101.csv", "AB000102.csv"}));
    const auto dates = TrimToDatedEnds(list, 2024);
    ASSERT_TRUE(dates);
    EXPECT_EQ(dates->first, Date(1999, 12, 30));
    EXPECT_EQ(dates->last, Date(2000, 1, 2));

    // The window moves with the current year: in 2080, 60 is 2060 and 10 is 2110.
    TLogFileList later = Entries({"/l/AB100101.csv", "/l/AB600101.csv"});
    SortByDateKey(later, 2080);
    EXPECT_EQ(Paths(later, "/l"), (std::vector<std::string>{"AB600101.csv", "AB100101.csv"}));
}

TEST(FileSelection, PeriodKeepsTheDaysWithinBothBoundsAlsoAcrossACentury)
{
    TLogFileList list = Entries({"/l/AB100516.csv", "/l/AB100517.csv", "/l/CD100517.csv",
        "/l/AB100518.csv", "/l/AB1234.csv"});
    KeepPeriod(list, Date(2010, 5, 17), Date(2010, 5, 17), 2024);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].path, "/l/AB100517.csv");
    EXPECT_EQ(list[1].path, "/l/CD100517.csv");

    TLogFileList turn = Entries({"/l/AB991230.csv", "/l/AB991231.csv", "/l/AB000101.csv"});
    KeepPeriod(turn, Date(1999, 12, 31), Date(2000, 1, 1), 2024);
    EXPECT_EQ(turn.size(), 2u);

    TLogFileList none = Entries({"/l/AB100517.csv"});
    KeepPeriod(none, Date(2010, 5, 18), Date(2010, 5, 20), 2024);
    EXPECT_TRUE(none.empty());
}

TEST(FileSelection, DeviceListIsSortedWithoutDuplicates)
{
    const TLogFileList list
        = Entries({"/l/02100517.csv", "/l/01100517.csv", "/l/x/02100518.csv", "/l/21100518.csv"});
    EXPECT_EQ(DeviceListOf(list), (std::vector<std::string>{"01", "02", "21"}));
    EXPECT_TRUE(DeviceListOf({}).empty());
}
