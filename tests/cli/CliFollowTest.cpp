// kalvex-cli follow as a script runs it: started on a folder, fed by a "logger" that
// appends to the files, read line by line, ended by a signal.

#include "cli/CliRunner.h"
#include "support/TestFiles.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

using nlohmann::json;

namespace {

constexpr const char* Header = "DATE & TIME;T1[°C];P[kW]\r\n";

void Append(const QString& path, const std::string& bytes)
{
    std::ofstream(path.toStdString(), std::ios::binary | std::ios::app) << bytes;
}

class CliFollowTest : public testing::Test {
protected:
    QString Log(const char* name) const { return logs.filePath(name); }

    void Start(const QStringList& extra)
    {
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert("LocalAppData", settings.path());
        follow.setProcessEnvironment(env);
        follow.start(KALVEX_CLI, QStringList{"follow", logs.path()} << extra);
        ASSERT_TRUE(follow.waitForStarted());
    }

    // The next line it prints; generous waits, as the poll may fall just after a write.
    json NextLine()
    {
        while (!follow.canReadLine())
            if (!follow.waitForReadyRead(30000))
                return json{{"error", "no line: " + follow.readAllStandardError().toStdString()}};
        return json::parse(follow.readLine().toStdString());
    }

    void TearDown() override
    {
        if (follow.state() != QProcess::NotRunning) {
            follow.kill();
            follow.waitForFinished();
        }
    }

    QTemporaryDir logs;
    QTemporaryDir settings;
    QProcess follow;
};

} // namespace

TEST_F(CliFollowTest, PrintsEveryCompleteNewRecordUntilSigtermEndsItWithExitZero)
{
    WriteTestFile(Log("10240701.csv").toStdString(),
        std::string(Header) + "2024-07-01 00:00;20,0;1,0\r\n2024-07-01 00:01;21,0;1,0\r\n");
    Start({"--series", "10:T1", "--poll", "1"});
    const json loaded = NextLine();
    EXPECT_EQ(loaded, (json{{"event", "loaded"}, {"files", 1}, {"last", "2024-07-01T00:01:00"}}));

    // A record and the beginning of the next, as a logger writes them.
    Append(Log("10240701.csv"), "2024-07-01 00:02;22,0;1,0\r\n2024-07-01 00:03;2");
    const json first = NextLine();
    EXPECT_EQ(first["event"], "records");
    EXPECT_EQ(first["device"], "10");
    EXPECT_EQ(first["file"], Log("10240701.csv").toStdString());
    EXPECT_EQ(first["day"], "2024-07-01");
    EXPECT_EQ(first["records"], 1);
    EXPECT_EQ(first["last"], "2024-07-01T00:02:00");
    EXPECT_EQ(first["points"], json::parse(R"({"T1": [["2024-07-01T00:02:00", 22.0]]})"));
    // 1 kW for two minutes, and the first reading's minute.
    EXPECT_NEAR(first["sums"]["Ptag"].get<double>(), 3.0 / 60, 1e-6);

    Append(Log("10240701.csv"), "3,0;;\r\n");
    const json completed = NextLine();
    EXPECT_EQ(completed["points"], json::parse(R"({"T1": [["2024-07-01T00:03:00", 23.0]]})"));

    // The next day's file: the period ended on the last day found, so it follows.
    WriteTestFile(Log("10240702.csv").toStdString(),
        std::string(Header) + "2024-07-02 00:00;30,0;2,0\r\n2024-07-02 00:01;31,0;2,0\r\n");
    const json nextDay = NextLine();
    EXPECT_EQ(nextDay["day"], "2024-07-02");
    EXPECT_EQ(nextDay["records"], 2);
    EXPECT_EQ(nextDay["points"]["T1"].size(), 2u);

    follow.terminate(); // SIGTERM
    ASSERT_TRUE(follow.waitForFinished(30000));
    EXPECT_EQ(follow.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(follow.exitCode(), 0);
}

TEST_F(CliFollowTest, FailsAsDumpDoes)
{
    struct Case {
        QStringList args;
        int exitCode;
    };
    WriteTestFile(Log("logs/10240701.csv").toStdString(),
        std::string(Header) + "2024-07-01 00:00;20,0;1,0\r\n");
    const QString withLogs = logs.filePath("logs");
    const Case cases[] = {
        {{"follow", logs.filePath("empty")}, 1},
        {{"follow", withLogs, "--series", "10:T9"}, 1},
        {{"follow", withLogs, "--poll", "0"}, 2},
        {{"follow"}, 2},
    };
    std::filesystem::create_directories(logs.filePath("empty").toStdString());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        EXPECT_EQ(RunCli(c.args, settings.path()).exitCode, c.exitCode);
    }
}
