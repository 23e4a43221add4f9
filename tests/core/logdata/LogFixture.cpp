#include "core/logdata/LogFixture.h"

#include "core/base/KalvexError.h"
#include "core/base/Numbers.h"
#include "core/base/TextCodec.h"
#include "support/TestFiles.h"

#include <cstdio>

void LogFixture::SetUp()
{
    SettingsFixture::SetUp();
    SelectLanguage(2);
}

std::string LogFixture::WriteBytes(const std::string& name, const std::string& bytes)
{
    const std::string path = TempPath("logs/" + name);
    WriteTestFile(path, bytes);
    return path;
}

std::string LogFixture::WriteLog(const std::string& name, const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    std::string bytes;
    EXPECT_TRUE(TryUtf8ToCp1252(text, bytes));
    return WriteBytes(name, bytes);
}

std::unique_ptr<TLogAnalysis> LogFixture::NewAnalysis() const
{
    return std::make_unique<TLogAnalysis>(
        EncodeDate(2007, 3, 1), EncodeDate(2007, 4, 1), nullptr, nullptr);
}

std::vector<std::string> LogFixture::MinuteRecords(
    int year, int month, int day, const std::string& cells)
{
    std::vector<std::string> records;
    for (int minute = 0; minute < 1440; ++minute) {
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%02d.%02d.%04d %02d:%02d", day, month, year,
            minute / 60, minute % 60);
        records.push_back(std::string(stamp) + ";" + cells);
    }
    return records;
}

void ExpectReadFailure(TLogAnalysis& analysis, const std::string& path, const std::string& message)
{
    try {
        analysis.ReadLogFile(path);
        ADD_FAILURE() << "no failure for " << path;
    } catch (const KalvexError& error) {
        EXPECT_EQ(error.what(), message) << path;
    }
}

std::string DescribePoints(const TFieldSeries& series)
{
    std::string text;
    const TPointSeries& points = series.Points();
    for (int i = 0; i < points.Count(); ++i) {
        text += FormatDateTime("dd.mm.yyyy hh:nn", points.X(i)) + "="
            + (points.IsNull(i) ? std::string("null") : FormatAmount(points.Y(i))) + "\n";
    }
    return text;
}

int FieldOf(const TLogAnalysis& analysis, const std::string& name)
{
    int index = -1;
    if (!analysis.DeviceSettings() || !analysis.DeviceSettings()->IndexOfValue(name, index))
        return -1;
    return index;
}
