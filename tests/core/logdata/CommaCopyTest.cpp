// The comma copy of a day log for an English spreadsheet, written from real log files.
#include "LogFixture.h"

#include "core/logdata/CommaCopy.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class CommaCopyTest : public LogFixture {
protected:
    std::string Copy(const std::string& log)
    {
        const std::string copy = TempPath("copies/" + CommaCopyFileName(log));
        std::filesystem::create_directories(TempPath("copies"));
        WriteCommaCopy(log, copy);
        return ReadTestFile(copy);
    }
};

} // namespace

TEST_F(CommaCopyTest, NumbersGetDecimalPointsOtherCellsWithCommasOrQuotesAreQuoted)
{
    const std::string log = WriteLog("10070301.csv",
        {"dd.mm.yy hh:mm;T1[°C];P[kW];Note;Q;R1[%]",
            "01.03.07 00:00;9,6;-0,50;open, closed;say \"hi\";100",
            "01.03.07 00:01;12;0,0;;\"quoted\";", "01.03.07 00:02;1,2,3;,5;5,;-;"});
    EXPECT_EQ(Copy(log),
        "dd.mm.yy hh:mm,T1[\xB0"
        "C],P[kW],Note,Q,R1[%]\r\n"
        "01.03.07 00:00,9.6,-0.50,\"open, closed\",\"say \"\"hi\"\"\",100\r\n"
        "01.03.07 00:01,12,0.0,,\"\"\"quoted\"\"\",\r\n"
        // Not numbers of the log's form: kept as text, quoted for their commas.
        "01.03.07 00:02,\"1,2,3\",\",5\",\"5,\",-,\r\n");
}

TEST_F(CommaCopyTest, EveryLineIsCopiedWholeWhateverItsLengthAndLineEnd)
{
    std::string longLine = "01.03.07 00:00";
    for (int i = 0; i < 800; ++i)
        longLine += ";" + std::to_string(i) + ",5";
    const std::string log = WriteBytes("10070301.csv", "a;b\r\n" + longLine + "\n\r\nc;d\re;f");
    const std::string copy = Copy(log);
    std::string expected = "01.03.07 00:00";
    for (int i = 0; i < 800; ++i)
        expected += "," + std::to_string(i) + ".5";
    EXPECT_GT(expected.size(), 254u * 16);
    EXPECT_EQ(copy, "a,b\r\n" + expected + "\r\n\r\nc,d\r\ne,f\r\n");
}

TEST_F(CommaCopyTest, UTF8TextStaysUTF8)
{
    const std::string log = WriteBytes("10070301.csv",
        "Zeit;T1[\xC2\xB0"
        "C]\r\n");
    EXPECT_EQ(Copy(log),
        "Zeit,T1[\xC2\xB0"
        "C]\r\n");
}

TEST_F(CommaCopyTest, TheCopyIsNamedAfterTheLogWithC)
{
    EXPECT_EQ(CommaCopyFileName("/data/logs/2007/10070301.csv"), "10070301c.csv");
    EXPECT_EQ(CommaCopyFileName("/data/logs/30070301.CSV"), "30070301c.csv");
    EXPECT_EQ(CommaCopyFileName("10070301.csv"), "10070301c.csv");
    EXPECT_EQ(CommaCopyFileName("/data/my.logs/day 1"), "day 1c.csv");
}

TEST_F(CommaCopyTest, AnUnreadableLogOrAnUnwritableCopyFailsAndWritesNothing)
{
    const std::string copy = TempPath("copy.csv");
    ExpectFailure(TextId::TxtCouldNotCreateFile,
        [&] { WriteCommaCopy(TempPath("logs/10070301.csv"), copy); });
    EXPECT_FALSE(std::filesystem::exists(copy));
    std::filesystem::create_directories(TempPath("logs/10070302.csv"));
    ExpectFailure(TextId::TxtCouldNotCreateFile,
        [&] { WriteCommaCopy(TempPath("logs/10070302.csv"), copy); });

    const std::string log = WriteLog("10070303.csv", {"a;b"});
    ExpectFailure(TextId::TxtCouldNotCreateFile,
        [&] { WriteCommaCopy(log, TempPath("no such folder/copy.csv")); });
    EXPECT_FALSE(std::filesystem::exists(TempPath("no such folder")));
}

TEST_F(CommaCopyTest, AnExistingCopyIsOverwritten)
{
    const std::string log = WriteLog("10070301.csv", {"a;1,5"});
    const std::string copy = TempPath("10070301c.csv");
    WriteTestFile(copy, "old contents that are longer than the new ones\r\n");
    WriteCommaCopy(log, copy);
    EXPECT_EQ(ReadTestFile(copy), "a,1.5\r\n");
}

TEST_F(CommaCopyTest, TheTimeColumnIsFoundAfterAnOptionalDeviceName)
{
    const auto column = [](std::string_view bytes) {
        const TLogTimeColumn found = FindTimeColumn(bytes);
        return std::to_string(found.column) + (found.dayFirst ? " day first" : "");
    };
    EXPECT_EQ(column("dd.mm.yy hh:mm;T1[\xB0"
                     "C]\r\n15.03.07 12:30;1,0"),
        "1 day first");
    EXPECT_EQ(column("\r\n\r\nDATE & TIME;T1"), "1");
    EXPECT_EQ(column("\xEF\xBB\xBFSolar 1;DATE & TIME;T1\r\n"), "2");
    EXPECT_EQ(column("Solar 1;dd.mm.yy hh:mm\n"), "2 day first");
    EXPECT_EQ(column("a;b;DATE & TIME\r\n"), "0");
    EXPECT_EQ(column("T1;P\r\nDATE & TIME;"), "0");
    EXPECT_EQ(column(""), "0");
}
