#include "cli/CliRunner.h"

#include "samplegen/SampleGenerator.h"
#include "support/TestFiles.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

CliRun RunCli(const QStringList& args, const QString& settingsDir, const QStringList& environment)
{
    return RunProgram(KALVEX_CLI, args, settingsDir, environment);
}

CliRun RunProgram(const QString& program, const QStringList& args, const QString& settingsDir,
    const QStringList& environment)
{
    QProcess process;
    auto env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("LocalAppData", settingsDir); // not the user's settings file
    for (const QString& entry : environment)
        env.insert(entry.section('=', 0, 0), entry.section('=', 1));
    process.setProcessEnvironment(env);
    process.start(program, args);
    EXPECT_TRUE(process.waitForFinished(120000));
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
        process.readAllStandardError().toStdString()};
}

double LastDayTotal(const std::string& path)
{
    const std::string bytes = ReadTestFile(path);
    auto cells = [](const std::string& line) {
        std::vector<std::string> result;
        size_t start = 0;
        for (size_t end; (end = line.find(';', start)) != std::string::npos; start = end + 1)
            result.push_back(line.substr(start, end - start));
        result.push_back(line.substr(start));
        return result;
    };
    const auto header = cells(bytes.substr(0, bytes.find("\r\n")));
    const size_t lastLine = bytes.rfind("\r\n", bytes.size() - 3) + 2;
    const auto record = cells(bytes.substr(lastLine, bytes.size() - 2 - lastLine));
    const size_t column = std::find(header.begin(), header.end(), "Qtag[kWh]") - header.begin();
    std::string text = record.at(column);
    std::replace(text.begin(), text.end(), ',', '.');
    return std::stod(text);
}

std::vector<std::string> GenerateCliLogs(const QString& folder, CivilDate from, CivilDate to)
{
    TSampleOptions o;
    o.outputDir = folder.toStdString();
    o.from = from;
    o.to = to;
    o.intervalMinutes = 10;
    o.devices = {10, 30};
    o.faults = false;
    return GenerateSampleLogs(o);
}
