// kalvex-cli as a user runs it: the program on a generated log directory.

#include "cli/CliRunner.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>

using nlohmann::json;

namespace {

class CliTest : public testing::Test {
protected:
    void SetUp() override { generated = GenerateCliLogs(logs.path(), {2024, 6, 29}, {2024, 7, 1}); }

    CliRun Cli(const QStringList& args) { return RunCli(args, settings.path()); }

    json Dump(QStringList extra = {})
    {
        const CliRun run = Cli(QStringList{"dump", logs.path()} << extra);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return json::parse(run.out);
    }

    static const json& Device(const json& doc, const std::string& prefix)
    {
        for (const json& d : doc["devices"]) {
            if (d["prefix"] == prefix)
                return d;
        }
        throw std::runtime_error("no device " + prefix);
    }

    static const json& Field(const json& device, const std::string& name)
    {
        for (const json& f : device["fields"]) {
            if (f["name"] == name)
                return f;
        }
        throw std::runtime_error("no field " + name);
    }

    QTemporaryDir logs;
    QTemporaryDir settings;
    std::vector<std::string> generated;
};

} // namespace

TEST_F(CliTest, DumpsTheWholeDirectoryAsLoaded)
{
    const json doc = Dump();
    EXPECT_EQ(doc["directory"], logs.path().toStdString());
    EXPECT_EQ(doc["from"], "2024-06-29");
    EXPECT_EQ(doc["to"], "2024-07-01");
    ASSERT_EQ(doc["files"].size(), generated.size());
    EXPECT_TRUE(doc["errors"].empty());
    ASSERT_EQ(doc["days"].size(), 3u);
    EXPECT_EQ(doc["days"][0], 45472); // 29 June 2024

    ASSERT_EQ(doc["devices"].size(), 2u);
    const json& solar = Device(doc, "10");
    EXPECT_EQ(solar["bus"], 10);
    EXPECT_EQ(solar["name"], "Solar controller");
    EXPECT_EQ(solar["automaticName"], true);
    const json& collector = Field(solar, "T1");
    EXPECT_EQ(collector["unit"], "[°C]");
    EXPECT_EQ(collector["kind"], 0);
    EXPECT_EQ(collector["first"][0], 45472.0);
    EXPECT_TRUE(collector["last"][1].is_null()); // every day closes with a break
    const json& yield = Field(solar, "Ptag");
    EXPECT_EQ(yield["unit"], "[kWh]");
    EXPECT_EQ(yield["sum"], true);
    EXPECT_EQ(yield["points"], 3);
    EXPECT_EQ(yield["label"], "Sum of energy (Q)");
    EXPECT_EQ(Device(doc, "30")["name"], "Fresh water 0");

    const json& daily = doc["overview"]["daily"];
    ASSERT_EQ(daily.size(), 3u + 3u);
    EXPECT_EQ(daily[0][0]["text"], "Daily overview");
    EXPECT_EQ(daily[2][0]["tag"], 45472);
    EXPECT_EQ(doc["overview"]["monthly"].size(), 2u + 2u + 1u);
    EXPECT_EQ(doc["overview"]["annual"][2][0]["text"], "2024");
    EXPECT_TRUE(doc["series"].empty());
}

TEST_F(CliTest, SeriesCarryTheLoggedDayTotalsAtMidday)
{
    const json doc = Dump({"--from", "2024-06-30", "--series", "10:Ptag", "--series", "30:P"});
    EXPECT_EQ(doc["from"], "2024-06-30");
    EXPECT_EQ(doc["days"].size(), 2u);
    ASSERT_EQ(doc["series"].size(), 2u);
    const json& yield = doc["series"][0];
    EXPECT_EQ(yield["prefix"], "10");
    EXPECT_EQ(yield["field"], "Ptag");
    ASSERT_GE(yield["points"].size(), 2u);
    EXPECT_EQ(yield["points"][0][0], 45473.5);
    const auto june30 = std::find_if(generated.begin(), generated.end(),
        [](const std::string& p) { return p.ends_with("10240630.csv"); });
    ASSERT_NE(june30, generated.end());
    EXPECT_NEAR(yield["points"][0][1].get<double>(), LastDayTotal(*june30), 1e-9);
    EXPECT_GT(doc["series"][1]["points"].size(), 10u);
}

TEST_F(CliTest, LanguageChangesNamesLabelsAndTableTexts)
{
    const json doc = Dump({"--lang", "de"});
    EXPECT_EQ(Device(doc, "10")["name"], "Solarregler");
    EXPECT_EQ(Field(Device(doc, "10"), "Ptag")["label"], "Summe Energie (Q)");
    EXPECT_EQ(doc["overview"]["daily"][0][0]["text"], "Tagesübersicht");
    EXPECT_EQ(Dump({"--lang", "3"})["overview"]["daily"].back()[0]["text"], "Total");
}

TEST_F(CliTest, BrokenFilesAreListedAndTheRestLoads)
{
    const std::string broken = logs.path().toStdString() + "/10240702.csv";
    WriteTestFile(broken, "no log at all\r\n");
    const json doc = Dump();
    ASSERT_EQ(doc["errors"].size(), 1u);
    EXPECT_EQ(doc["errors"][0]["file"], broken);
    EXPECT_EQ(doc["errors"][0]["message"], "The file you specified is not a valid log file.");
    EXPECT_EQ(doc["to"], "2024-07-02");
    EXPECT_EQ(doc["files"].size(), generated.size());
}

TEST_F(CliTest, BadArgumentsGiveTheUsageAndExitCode2)
{
    for (const QStringList& args : {QStringList{}, QStringList{"dump"}, QStringList{"list", "x"},
             QStringList{"dump", "x", "--from", "2024-13-01"}, QStringList{"dump", "x", "--to"},
             QStringList{"dump", "x", "--lang", "xx"}, QStringList{"dump", "x", "--series", "10"},
             QStringList{"dump", "x", "--colour", "red"}, QStringList{"dump", "x", "y"},
             QStringList{"dump", "x", "--from", "2024-07-02", "--to", "2024-07-01"}}) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_NE(run.err.find("usage: kalvex-cli dump DIR"), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_EQ(Cli({"--help"}).exitCode, 0);
}

TEST_F(CliTest, NoLogFilesOrNothingAskedForExitsWith1)
{
    QTemporaryDir empty;
    WriteTestFile(empty.path().toStdString() + "/notes.txt", "hello");
    for (const QString& dir : {empty.path(), empty.path() + "/missing"}) {
        const CliRun run = Cli({"dump", dir});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, "No files were found, please check file path and try again.\n");
        EXPECT_TRUE(run.out.empty());
    }
    const CliRun outside = Cli({"dump", logs.path(), "--from", "2025-01-01", "--to", "2025-01-31"});
    EXPECT_EQ(outside.exitCode, 1);
    EXPECT_EQ(outside.err, "No files were found, please check file path and try again.\n");

    const CliRun unknown = Cli({"dump", logs.path(), "--series", "10:Nope"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.err.find("Nope"), std::string::npos);
    EXPECT_TRUE(unknown.out.empty());
}

TEST_F(CliTest, ReadingDevicesAtOnceGivesTheSameDumpByteForByte)
{
    // Broken files of two devices among good ones.
    WriteTestFile(logs.path().toStdString() + "/10240702.csv", "no log at all\r\n");
    WriteTestFile(logs.path().toStdString() + "/30240630.csv", "DATE & TIME;T1[°C]\r\nbad\r\n");
    const CliRun alone = Cli({"dump", logs.path(), "--threads", "1", "--series", "30:P"});
    ASSERT_EQ(alone.exitCode, 0) << alone.err;
    ASSERT_EQ(json::parse(alone.out)["errors"].size(), 2u);
    for (const char* threads : {"2", "3", "8"}) {
        const CliRun together
            = Cli({"dump", logs.path(), "--threads", threads, "--series", "30:P"});
        EXPECT_EQ(together.exitCode, 0) << together.err;
        EXPECT_TRUE(together.out == alone.out) << "threads " << threads;
    }
    EXPECT_EQ(Cli({"dump", logs.path(), "--threads", "0"}).exitCode, 2);
}

TEST_F(CliTest, FormulasAddDerivedValuesThatSeriesAndReportsName)
{
    const json doc = Dump({"--formula", "10:dT[K]=T1 - T2", "--series", "10:dT", "--series",
        "10:T1", "--series", "10:T2"});
    const json& dT = Field(Device(doc, "10"), "dT");
    EXPECT_EQ(dT["unit"], "[K]");
    EXPECT_EQ(dT["kind"], 1);
    EXPECT_EQ(dT["sum"], false);
    // Every point of the difference is T1 − T2 as both read at that moment.
    const auto readingAt = [](const json& points, double t) {
        json held = nullptr;
        for (const json& p : points) {
            if (p[0].get<double>() > t)
                break;
            held = p[1];
        }
        return held;
    };
    const json& points = doc["series"][0]["points"];
    ASSERT_GT(points.size(), 10u);
    for (const json& p : points) {
        const double t = p[0];
        const json t1 = readingAt(doc["series"][1]["points"], t);
        const json t2 = readingAt(doc["series"][2]["points"], t);
        if (p[1].is_null() || t1.is_null() || t2.is_null())
            continue;
        EXPECT_NEAR(p[1].get<double>(), t1.get<double>() - t2.get<double>(), 1e-9) << t;
    }

    struct Refused {
        QString formula;
        std::string message;
    };
    const Refused refused[] = {
        {"10:dT[K]=T1 - T9", "--formula 10:dT: position 6: unknown field T9"},
        {"10:dT[K]=T1 -", "--formula 10:dT: position 5: Unexpected end of expression"},
        {"77:dT=T1", "no device 77 was loaded"},
        {"10:dT", "--formula needs PREFIX:NAME[UNIT]=EXPRESSION"},
    };
    for (const Refused& r : refused) {
        const CliRun run = Cli({"dump", logs.path(), "--formula", r.formula});
        EXPECT_EQ(run.exitCode, 2) << r.message;
        EXPECT_NE(run.err.find(r.message), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
}

TEST_F(CliTest, MoreThreadsThanFilesOrThanTheSystemStartsGiveTheSameDump)
{
    const CliRun alone = Cli({"dump", logs.path(), "--threads", "1"});
    ASSERT_EQ(alone.exitCode, 0) << alone.err;
    const CliRun many = Cli({"dump", logs.path(), "--threads", "100000"});
    EXPECT_EQ(many.exitCode, 0) << many.err;
    EXPECT_TRUE(many.out == alone.out);
    // A stack limit no thread's stack fits in: the system starts none.
    const CliRun none = RunProgram("prlimit",
        {"--stack=100000000000000", KALVEX_CLI, "dump", logs.path(), "--threads", "4"},
        settings.path());
    EXPECT_EQ(none.exitCode, 0) << none.err;
    EXPECT_TRUE(none.out == alone.out);
}

TEST_F(CliTest, ARelativeDirectoryIsReadAtItsAbsolutePath)
{
    QTemporaryDir work;
    for (const std::string& file : generated)
        WriteTestFile(
            work.path().toStdString() + "/s1/" + std::filesystem::path(file).filename().string(),
            ReadTestFile(file));
    // Two characters: a path shorter than the device prefix and date of a file name.
    const CliRun run
        = RunProgram("env", {"-C", work.path(), KALVEX_CLI, "dump", "s1"}, settings.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json doc = json::parse(run.out);
    EXPECT_TRUE(doc["errors"].empty()) << doc["errors"];
    EXPECT_EQ(Device(doc, "10")["bus"], 10);
    EXPECT_EQ(Device(doc, "30")["bus"], 30);
    ASSERT_EQ(doc["files"].size(), generated.size());
    EXPECT_TRUE(doc["files"][0].get<std::string>().starts_with(work.path().toStdString() + "/s1/"))
        << doc["files"][0];
}

TEST_F(CliTest, ADayFoundTwiceIsCountedOnceAndListedAsLoadedBefore)
{
    const json plain = Dump({"--series", "10:Ptag"});
    const auto june30 = std::find_if(generated.begin(), generated.end(),
        [](const std::string& p) { return p.ends_with("10240630.csv"); });
    ASSERT_NE(june30, generated.end());
    const std::string copy = logs.path().toStdString() + "/backup/10240630.csv";
    WriteTestFile(copy, ReadTestFile(*june30));
    const json twice = Dump({"--series", "10:Ptag"});
    // Files of one day load in no set order: the first one loaded wins.
    ASSERT_EQ(twice["errors"].size(), 1u);
    const std::string failed = twice["errors"][0]["file"];
    ASSERT_TRUE(failed == copy || failed == *june30) << failed;
    const std::string first = failed == copy ? *june30 : copy;
    EXPECT_EQ(
        twice["errors"][0]["message"], "The same day was already loaded from\n(" + first + ")");
    EXPECT_EQ(twice["overview"], plain["overview"]);
    EXPECT_EQ(twice["devices"], plain["devices"]);
    EXPECT_EQ(twice["series"], plain["series"]);
}
