// kalvex-cli report as a script runs it: the program, without a display, on a quarter of
// generated logs of a solar controller and a fresh-water station; the pictures, tables
// and descriptions it writes read back and checked against the raw files.

#include "cli/CliRunner.h"
#include "support/TestFiles.h"
#include "ui/analysis/OutputFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <memory>

using nlohmann::json;

namespace {

using Table = std::vector<std::vector<std::string>>;

Table ReadCsv(const QString& path)
{
    Table rows;
    const std::string text = ReadTestFile(path.toStdString());
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        std::vector<std::string> row;
        const std::string line = text.substr(start, end - start);
        size_t from = 0;
        for (size_t to; (to = line.find(';', from)) != std::string::npos; from = to + 1)
            row.push_back(line.substr(from, to - from));
        row.push_back(line.substr(from));
        rows.push_back(row);
    }
    EXPECT_EQ(start, text.size()) << "the last line ends with a line break";
    return rows;
}

double Amount(std::string text)
{
    std::replace(text.begin(), text.end(), ',', '.');
    return std::stod(text);
}

// The amount after "NAME: " in a yield text, such as Q in "… Q: 310,30 [kWh]".
double YieldAmount(const std::string& yield, const QString& name)
{
    const auto match = QRegularExpression(name + QStringLiteral(": ([0-9]+,[0-9]{2}) \\["))
                           .match(QString::fromStdString(yield));
    EXPECT_TRUE(match.hasMatch()) << yield;
    return match.hasMatch() ? Amount(match.captured(1).toStdString()) : -1;
}

json ReadJson(const QString& path)
{
    return json::parse(ReadTestFile(path.toStdString()));
}

class CliReportTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        logs = std::make_unique<QTemporaryDir>();
        generated = GenerateCliLogs(logs->path(), {2024, 1, 1}, {2024, 3, 31});
    }

    static void TearDownTestSuite() { logs.reset(); }

    CliRun Report(const QStringList& args, const QStringList& environment = {})
    {
        return RunCli(QStringList{"report", logs->path(), "--out", Out()} << args, settings.path(),
            environment);
    }

    QString Out(const QString& name = {}) const
    {
        return name.isEmpty() ? out.filePath("report") : out.filePath("report/" + name);
    }

    // The sum of the day totals logged by the solar controller on the days whose file
    // name date (yymmdd) starts with the key, e.g. "2402" for February 2024.
    static double LoggedTotal(const std::string& key)
    {
        double sum = 0;
        for (const std::string& path : generated) {
            const std::string name
                = QFileInfo(QString::fromStdString(path)).fileName().toStdString();
            if (name.starts_with("10") && name.substr(2).starts_with(key))
                sum += LastDayTotal(path);
        }
        return sum;
    }

    static std::string DayFile(const std::string& name)
    {
        for (const std::string& path : generated)
            if (path.ends_with("/" + name))
                return path;
        throw std::runtime_error("no file " + name);
    }

    static inline std::unique_ptr<QTemporaryDir> logs;
    static inline std::vector<std::string> generated;
    QTemporaryDir settings;
    QTemporaryDir out;
};

} // namespace

TEST_F(CliReportTest, MonthWindowShowsTheLoggedYieldInTitleAndTable)
{
    const CliRun run = Report({"--window", "month", "--at", "2024-02-10", "--show", "T1", "--show",
        "Ptag", "--show", "R1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, Out().toStdString() + "\n");

    const json report = ReadJson(Out("report.json"));
    EXPECT_EQ(report["window"]["start"], "2024-02-01T00:00");
    EXPECT_EQ(report["window"]["end"], "2024-03-01T00:00");
    EXPECT_EQ(report["imageName"], "Chart_Feb_2024");
    EXPECT_EQ(report["slider"], json({{"position", 1}, {"maximum", 2}}));
    EXPECT_EQ(report["device"], "Solar controller");
    EXPECT_EQ(report["shown"], json({"T1", "Sum of energy (Q)", "R1"}));
    EXPECT_EQ(report["chart"], "chart.jpg");

    const std::string yield = report["yield"];
    EXPECT_TRUE(yield.starts_with("Monthly yield V: ")) << yield;
    const double february = LoggedTotal("2402");
    EXPECT_GT(february, 10.0);
    EXPECT_NEAR(YieldAmount(yield, "Q"), february, 0.005);
    EXPECT_EQ(report["title"], "Feb 2024  -  " + yield);

    // The days of February and their total, as the table view shows them.
    const Table table = ReadCsv(Out("table.csv"));
    ASSERT_EQ(table.size(), 2u + 29u + 1u);
    EXPECT_EQ(table[0], (std::vector<std::string>{"Daily overview", "Solar controller", ""}));
    EXPECT_EQ(table[1], (std::vector<std::string>{"Date", "V [l]", "Q [kWh]"}));
    EXPECT_EQ(table[2][0], "01. Feb. 2024");
    EXPECT_EQ(table[30][0], "29. Feb. 2024");
    EXPECT_NEAR(Amount(table[11][2]), LastDayTotal(DayFile("10240210.csv")), 0.005);
    EXPECT_EQ(table.back()[0], "Total");
    EXPECT_NEAR(Amount(table.back()[2]), february, 0.005);
    EXPECT_NEAR(Amount(table.back()[1]), YieldAmount(yield, "V"), 0.005);
}

TEST_F(CliReportTest, YearWindowTableHoldsEveryMonthAndTheAnnualYield)
{
    const CliRun run = Report({"--window", "year", "--show", "Ptag"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json report = ReadJson(Out("report.json"));
    EXPECT_EQ(report["imageName"], "Chart_2024");
    EXPECT_EQ(report["window"]["end"], "2025-01-01T00:00");
    const std::string yield = report["yield"];
    EXPECT_TRUE(yield.starts_with("Annual yield ")) << yield;
    EXPECT_NEAR(YieldAmount(yield, "Q"), LoggedTotal("24"), 0.01);
    EXPECT_EQ(report["title"], "Jan 2024 - Dec 2024  -  " + yield);

    const Table table = ReadCsv(Out("table.csv"));
    ASSERT_EQ(table.size(), 2u + 3u + 1u);
    EXPECT_EQ(table[0][0], "Monthly overview");
    EXPECT_EQ(table[2][0], "Jan. 2024");
    EXPECT_EQ(table[4][0], "Mar. 2024");
    for (int month = 1; month <= 3; ++month)
        EXPECT_NEAR(Amount(table[1 + month][2]), LoggedTotal("240" + std::to_string(month)), 0.005)
            << month;
    EXPECT_EQ(table[5][0], "Total");
    EXPECT_NEAR(Amount(table[5][2]), LoggedTotal("24"), 0.01);
}

TEST_F(CliReportTest, ChartIsA1280By1024JpegOfTheShownValues)
{
    ASSERT_EQ(Report({"--window", "day", "--at", "2024-03-05", "--show", "T1"}).exitCode, 0);
    const DecodedJpeg jpeg = ReadJpeg(Out("chart.jpg"));
    ASSERT_FALSE(jpeg.picture.isNull());
    EXPECT_EQ(jpeg.picture.size(), QSize(1280, 1024));
    ASSERT_FALSE(jpeg.tables.empty());
    EXPECT_EQ(jpeg.tables[0][0], 1u); // quality 100
    // The curve of T1 in red, somewhere in the upper chart.
    int red = 0;
    for (int y = 0; y < 800; y += 2)
        for (int x = 0; x < 1280; x += 2)
            if (const QColor c = jpeg.picture.pixelColor(x, y); c.red() > 200 && c.green() < 60)
                ++red;
    EXPECT_GT(red, 100);

    // The other formats by their name; without a value shown there is no picture.
    ASSERT_EQ(Report({"--format", "png", "--show", "T1"}).exitCode, 0);
    EXPECT_EQ(QImage(Out("chart.png")).size(), QSize(1280, 1024));
    QDir(Out()).removeRecursively();
    const CliRun bare = Report({});
    EXPECT_EQ(bare.exitCode, 0) << bare.err;
    EXPECT_NE(bare.err.find("no value is shown"), std::string::npos) << bare.err;
    EXPECT_FALSE(QFileInfo::exists(Out("chart.jpg")));
    EXPECT_TRUE(ReadJson(Out("report.json"))["chart"].is_null());
    EXPECT_TRUE(QFileInfo::exists(Out("table.csv")));
}

TEST_F(CliReportTest, ProposedNamesAndWindowsFollowTheTimeWindow)
{
    struct Case {
        QStringList args;
        const char* name;
        const char* start;
        const char* end;
    };
    for (const Case& c :
        {Case{{"--at", "2024-02-10"}, "Chart2024_02_10", "2024-02-10T00:00", "2024-02-11T00:00"},
            Case{{"--window", "8h", "--at", "2024-02-10T09:30"}, "Chart2024_02_10",
                "2024-02-10T09:00", "2024-02-10T17:00"},
            Case{{"--window", "quarter"}, "Chart_Jan-Mar_2024", "2024-01-01T00:00",
                "2024-04-01T00:00"},
            Case{{"--window", "month", "--at", "2024-03-31T23:59"}, "Chart_Mar_2024",
                "2024-03-01T00:00", "2024-04-01T00:00"}}) {
        const CliRun run = Report(QStringList(c.args) << "--show"
                                                      << "T1");
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const json report = ReadJson(Out("report.json"));
        EXPECT_EQ(report["imageName"], c.name) << c.args.join(' ').toStdString();
        EXPECT_EQ(report["window"]["start"], c.start);
        EXPECT_EQ(report["window"]["end"], c.end);
    }
}

TEST_F(CliReportTest, EachMonthOfTheQuarterGetsItsOwnSet)
{
    const CliRun run = Report({"--window", "month", "--each", "--show", "Ptag"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json index = ReadJson(Out("index.json"));
    ASSERT_EQ(index["sets"].size(), 3u);
    const char* names[] = {"Chart_Jan_2024", "Chart_Feb_2024", "Chart_Mar_2024"};
    for (int i = 0; i < 3; ++i) {
        const json& set = index["sets"][i];
        EXPECT_EQ(set["folder"], names[i]);
        EXPECT_EQ(set["slider"]["position"], i);
        const QString folder = Out(names[i]);
        EXPECT_EQ(ReadJson(folder + "/report.json")["imageName"], names[i]);
        EXPECT_EQ(ReadJpeg(folder + "/chart.jpg").picture.size(), QSize(1280, 1024));
        const Table table = ReadCsv(folder + "/table.csv");
        EXPECT_NEAR(Amount(table.back()[2]), LoggedTotal("240" + std::to_string(i + 1)), 0.005);
        EXPECT_NEAR(YieldAmount(set["yield"], "Q"), Amount(table.back()[2]), 0.005);
    }
    EXPECT_EQ(QDir(Out()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 3);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 3);
}

TEST_F(CliReportTest, OverviewTabShowsTheMarkedValuesOfEveryDevice)
{
    const CliRun run = Report(
        {"--device", "overview", "--window", "month", "--show", "10:Ptag", "--show", "30:T1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json report = ReadJson(Out("report.json"));
    EXPECT_EQ(report["device"], "Overview");
    EXPECT_EQ(report["shown"], json({"Sum of energy (Q)", "T1"}));
    EXPECT_EQ(report["yield"], "");
    EXPECT_EQ(report["title"], "Jan 2024");
    const Table table = ReadCsv(Out("table.csv"));
    EXPECT_EQ(table[0],
        (std::vector<std::string>{"Daily overview", "Solar controller", "", "Fresh water 0", ""}));
    EXPECT_NEAR(Amount(table.back()[2]), LoggedTotal("2401"), 0.005);
    EXPECT_EQ(ReadJpeg(Out("chart.jpg")).picture.size(), QSize(1280, 1024));
}

TEST_F(CliReportTest, ASetDisplayOrPlatformIsNotUsed)
{
    const CliRun run
        = Report({"--show", "T1"}, {"DISPLAY=:4711", "QT_QPA_PLATFORM=xcb", "LC_ALL=C.UTF-8"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadJpeg(Out("chart.jpg")).picture.size(), QSize(1280, 1024));
}

TEST_F(CliReportTest, UnknownDevicesAndValuesExitWith1AndBadRequestsWith2)
{
    struct Case {
        QStringList args;
        int exitCode;
        const char* message;
    };
    for (const Case& c :
        {Case{{"--device", "77"}, 1, "no device 77"}, Case{{"--show", "Nope"}, 1, "Nope"},
            Case{{"--device", "30", "--show", "Qtag"}, 1, "Qtag"},
            Case{{"--device", "overview", "--show", "10:Nope"}, 1, "Nope"},
            Case{{"--show", "Ptag"}, 2, "Ptag cannot be shown in the time window \"1 day\""},
            Case{{"--at", "2025-01-01"}, 2, "2025-01-01"}, Case{{"--window", "week"}, 2, "week"},
            Case{{"--at", "2024-02-30"}, 2, "2024-02-30"},
            Case{{"--at", "2024-02-10T24:00"}, 2, "24:00"}, Case{{"--format", "gif"}, 2, "gif"},
            Case{{"--device", "overview", "--show", "T1"}, 2, "PREFIX:FIELD"},
            Case{{"--show", "10:T1"}, 2, "10:T1"}}) {
        const CliRun run = Report(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString() << "\n" << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("usage: kalvex-cli") != std::string::npos, c.exitCode == 2)
            << run.err;
    }
    const CliRun noOut = RunCli({"report", logs->path()}, settings.path());
    EXPECT_EQ(noOut.exitCode, 2);
    EXPECT_NE(noOut.err.find("--out"), std::string::npos);

    QTemporaryDir empty;
    const CliRun nothing = RunCli({"report", empty.path(), "--out", Out()}, settings.path());
    EXPECT_EQ(nothing.exitCode, 1);
    EXPECT_EQ(nothing.err, "No files were found, please check file path and try again.\n");
    EXPECT_FALSE(QFileInfo::exists(Out()));

    // One device has no "Overview" tab.
    QTemporaryDir single;
    WriteTestFile(
        single.path().toStdString() + "/10240301.csv", ReadTestFile(DayFile("10240301.csv")));
    const CliRun alone = RunCli(
        {"report", single.path(), "--out", Out(), "--device", "overview"}, settings.path());
    EXPECT_EQ(alone.exitCode, 1);
    EXPECT_NE(alone.err.find("Overview"), std::string::npos) << alone.err;
}

TEST_F(CliReportTest, TheReportToolIsFoundThroughALinkAndItsAbsenceIsReported)
{
    QTemporaryDir elsewhere;
    const QString link = elsewhere.filePath("kalvex-cli");
    ASSERT_TRUE(QFile::link(KALVEX_CLI, link));
    const QStringList request{"report", logs->path(), "--out", Out(), "--show", "T1"};
    const CliRun linked = RunProgram(link, request, settings.path());
    EXPECT_EQ(linked.exitCode, 0) << linked.err;
    EXPECT_TRUE(QFileInfo::exists(Out("chart.jpg")));

    // A copy without the tool beside it still dumps, and says which tool its report misses.
    QTemporaryDir alone;
    const QString copy = alone.filePath("kalvex-cli");
    ASSERT_TRUE(QFile::copy(KALVEX_CLI, copy));
    const CliRun dump = RunProgram(copy, {"dump", logs->path()}, settings.path());
    EXPECT_EQ(dump.exitCode, 0) << dump.err;
    EXPECT_NE(dump.out.find("\"devices\""), std::string::npos);
    const CliRun report = RunProgram(copy, request, settings.path());
    EXPECT_EQ(report.exitCode, 1);
    EXPECT_NE(report.err.find("cannot run"), std::string::npos) << report.err;
    EXPECT_NE(report.err.find("kalvex-report"), std::string::npos) << report.err;
}

TEST(CliReportMarkers, BetweenMeasuresTheFlowAndPowerBetweenTheMarkers)
{
    // 2 March 2024: 3.6 l/min and 6 kW from 10:00 to 10:59, nothing else all day.
    QTemporaryDir logs, settings, out;
    std::string text = "dd.mm.yy hh:mm;V[l/min];P[kW]\r\n";
    for (int minute = 0; minute < 1440; ++minute) {
        const bool on = minute >= 600 && minute < 660;
        char line[64];
        std::snprintf(line, sizeof line, "02.03.24 %02d:%02d;%s;%s\r\n", minute / 60, minute % 60,
            on ? "3,6" : "0", on ? "6" : "0");
        text += line;
    }
    WriteTestFile(logs.filePath("10240302.csv").toStdString(), text);
    const auto report = [&](const QStringList& args) {
        return RunCli(
            QStringList{"report", logs.path(), "--out", out.path(), "--show", "P", "--show", "V"}
                << args,
            settings.path());
    };

    const CliRun run = report({"--between", "2024-03-02T10:15", "2024-03-02T10:45"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json between = ReadJson(out.filePath("report.json"))["between"];
    EXPECT_EQ(between["start"], "2024-03-02T10:15");
    EXPECT_EQ(between["end"], "2024-03-02T10:45");
    EXPECT_EQ(between["minutes"], 30);
    ASSERT_EQ(between["values"].size(), 2u);
    const json& v
        = between["values"][0]["label"] == "V" ? between["values"][0] : between["values"][1];
    const json& p
        = between["values"][0]["label"] == "V" ? between["values"][1] : between["values"][0];
    EXPECT_EQ(v["unit"], "[l/min]");
    EXPECT_NEAR(v["amount"].get<double>(), 108.0, 1e-6);
    EXPECT_EQ(v["amountUnit"], "[l]");
    EXPECT_EQ(v["atStart"], 3.6);
    EXPECT_EQ(v["change"], 0.0);
    EXPECT_NEAR(p["amount"].get<double>(), 3.0, 1e-9);
    EXPECT_EQ(p["amountUnit"], "[kWh]");

    struct Refused {
        QStringList args;
        std::string message;
    };
    const Refused refused[] = {
        {{"--between", "2024-03-01T10:15", "2024-03-02T10:45"}, "outside the window"},
        {{"--between", "2024-03-02T10:15"}, "needs two values"},
        {{"--between", "2024-03-02T10:15", "noon"}, "--between needs FROM TO"},
        {{"--between", "2024-03-02T10:15", "2024-03-02T10:45", "--each"}, "not with --each"},
    };
    for (const Refused& r : refused) {
        const CliRun bad = report(r.args);
        EXPECT_EQ(bad.exitCode, 2) << r.message;
        EXPECT_NE(bad.err.find(r.message), std::string::npos) << bad.err;
    }
}
