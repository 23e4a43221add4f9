// kalvex-fuzz-seeds DIR: the seed corpora of the fuzz targets, made from generated logs.
// DIR/log_reader gets short day logs of every sample device at a few intervals (the
// first records, the last one and the day totals of a real day), DIR/settings the
// settings files the program writes after loading them, in both of its encodings.

#include "core/base/LanguageTable.h"
#include "core/loading/AnalysisSet.h"
#include "core/loading/LogFileNames.h"
#include "core/logdata/LogAnalysis.h"
#include "core/settings/IniSettings.h"
#include "samplegen/SampleGenerator.h"
#include "support/TestFiles.h"

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int RecordsKept = 24;

// The header, the first records and the last one: short inputs mutate faster.
std::string Shortened(const std::string& log)
{
    std::istringstream in(log);
    std::string line, kept, last;
    for (int n = 0; std::getline(in, line); ++n) {
        if (n <= RecordsKept)
            kept += line + "\n";
        else if (!line.empty() && line != "\r")
            last = line + "\n";
    }
    return kept + last;
}

std::vector<std::string> WriteLogSeeds(const fs::path& work, const fs::path& out)
{
    std::vector<std::string> logs;
    int seed = 0;
    for (const int interval : {1, 5, 15}) {
        TSampleOptions options;
        options.outputDir = (work / ("logs" + std::to_string(interval))).string();
        options.from = {2007, 3, 14};
        options.to = {2007, 3, 16};
        options.intervalMinutes = interval;
        options.seed = static_cast<std::uint64_t>(interval);
        options.layout = TSampleLayout::Flat;
        for (const std::string& path : GenerateSampleLogs(options)) {
            const std::string name
                = "seed-" + std::to_string(++seed) + "-" + fs::path(path).filename().string();
            WriteTestFile((out / name).string(), Shortened(ReadTestFile(path)));
            logs.push_back(path);
        }
    }
    return logs;
}

void WriteSettingsSeeds(const std::vector<std::string>& logs, const fs::path& out)
{
    const std::string ini = GetIniSettings().FilePath();
    int seed = 0;
    const auto save = [&] {
        WriteTestFile(
            (out / ("seed-" + std::to_string(++seed) + ".ini")).string(), ReadTestFile(ini));
    };
    GetIniSettings().SetMainSettings(2, "/home/user/Logs März/");
    save();
    for (const std::string& path : logs) {
        TLogAnalysis analysis(EncodeDate(2007, 3, 1), EncodeDate(2007, 3, 31), nullptr, nullptr);
        analysis.ReadLogFile(path);
        GetIniSettings().WriteDeviceSettings(*analysis.DeviceSettings());
    }
    ChildSettings child;
    child.PrintTitle = "Anlage Süd";
    child.AxisMin = -25;
    GetIniSettings().SetChildSettings(child);
    GetIniSettings().SetExcelPath("/usr/bin/localc");
    save();
    // A label outside Windows-1252 makes the file UTF-8 with a byte-order mark.
    GetIniSettings().WriteValueSettings("10", "T1[°C]", 0x00FF00, "Widerstand Ω");
    save();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kalvex-fuzz-seeds DIR\n");
        return 2;
    }
    const fs::path out(argv[1]);
    const fs::path work = out / "work";
    fs::remove_all(out);
    fs::create_directories(work / "appdata");
    ::setenv("LocalAppData", (work / "appdata").c_str(), 1);
    SelectLanguage(2);
    fs::create_directories(out / "log_reader");
    fs::create_directories(out / "settings");
    WriteSettingsSeeds(WriteLogSeeds(work, out / "log_reader"), out / "settings");
    fs::remove_all(work);
    return 0;
}
