// "Follow new records" in a real analysis window: a logger thread appends to the day's
// file and writes the next day's, and the window's series, table, title and time window
// follow as the user sees them.

#include "ui/analysis/RecordFollower.h"
#include "core/base/LanguageTable.h"
#include "core/logdata/LogAnalysis.h"
#include "core/logdata/SeriesReadings.h"
#include "core/settings/IniSettings.h"
#include "support/GuiTestHelpers.h"
#include "support/LoadedWindow.h"
#include "support/TestFiles.h"
#include "ui/analysis/ChartView.h"
#include "ui/analysis/Childform.h"
#include "ui/analysis/TableGrid.h"

#include <QMdiArea>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>
#include <qcustomplot.h>

#include <fstream>
#include <thread>

namespace {

TDateTime March(int day, int hour = 0)
{
    return EncodeDate(2024, 3, day) + hour / 24.0;
}

// Hourly records of a temperature (20 + hour) and a power of 2 kW.
std::string Hours(int day, int from, int to)
{
    std::string text;
    char line[64];
    for (int h = from; h <= to; ++h) {
        std::snprintf(line, sizeof line, "2024-03-%02d %02d:00;%d,0;2,0\r\n", day, h, 20 + h);
        text += line;
    }
    return text;
}

class RecordFollowerTest : public testing::Test {
protected:
    void SetUp() override
    {
        SelectLanguage(2);
        WriteDay(8, 23);
        WriteDay(9, 10);
        area.resize(1100, 760);
        area.show();
        TLoadResult result;
        child = OpenLoadedWindow(area, logs.path().toStdString(), March(8), March(9), result);
        ASSERT_TRUE(result.failures.empty());
    }
    void TearDown() override
    {
        area.closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ReleaseIniSettings();
        SelectLanguage(1);
    }

    std::string DayPath(int day) const
    {
        return logs.filePath(QString("10240%1%2.csv").arg(3).arg(day, 2, 10, QChar('0')))
            .toStdString();
    }
    void WriteDay(int day, int toHour)
    {
        WriteTestFile(DayPath(day), "DATE & TIME;T1[°C];P[kW]\r\n" + Hours(day, 0, toHour));
    }
    // The logger, on a thread of its own.
    void Log(const std::function<void()>& write) { std::thread(write).join(); }

    std::optional<double> T1At(double t) const
    {
        const TLogAnalysis& analysis = *child->AnalysisSet().Analysis(0);
        int field = -1;
        analysis.DeviceSettings()->IndexOfValue("T1", field);
        return ReadingAt(analysis.Series(field)->Points(), t);
    }
    bool TableHolds(const std::string& text) const
    {
        const TTableContent& content = child->Grid->Content();
        for (int r = 0; r < content.RowCount(); ++r)
            for (int c = 0; c < content.ColumnCount(); ++c)
                if (content.Text(c, r) == text)
                    return true;
        return false;
    }
    double Start() const { return child->ChartView().WindowStart(); }

    TemporarySettingsLocation location;
    QTemporaryDir logs;
    QMdiArea area;
    TChildform* child = nullptr;
};

} // namespace

TEST_F(RecordFollowerTest, IsOffUntilTurnedOnAndThenFollowsWithTheNewestDay)
{
    EXPECT_FALSE(child->RecordFollower().Enabled());
    child->SliderTime->setValue(child->SliderTime->maximum()); // the last day, the 9th
    ASSERT_EQ(Start(), March(9));
    int t1 = -1;
    child->AnalysisSet().Analysis(0)->DeviceSettings()->IndexOfValue("T1", t1);
    ASSERT_TRUE(child->ShowValue(*child->AnalysisSet().Analysis(0), t1));
    child->RecordFollower().SetEnabled(true);

    // Two records, and a third the logger is still writing.
    Log([&] {
        std::ofstream(DayPath(9), std::ios::app) << Hours(9, 11, 12) << "2024-03-09 13:00;3";
    });
    QTRY_VERIFY_WITH_TIMEOUT(T1At(March(9, 11)) == 31.0, 20000);
    EXPECT_FALSE(T1At(March(9, 13)).has_value());
    // The chart draws them: its line reaches 12:00.
    ASSERT_GT(child->Chart->graphCount(), 0);
    const auto& drawn = *child->Chart->graph(0)->data();
    EXPECT_NEAR((drawn.constEnd() - 1)->key, March(9, 12), 1e-6);
    child->ShowTableView(true);
    // The table's day sum of the 9th: 2 kW for twelve hours and the first reading's minute.
    EXPECT_TRUE(TableHolds("24,03"));
    EXPECT_EQ(Start(), March(9));

    Log([&] { std::ofstream(DayPath(9), std::ios::app) << "3,0;2,0\r\n"; });
    QTRY_VERIFY_WITH_TIMEOUT(T1At(March(9, 12)) == 32.0, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(TableHolds("26,03"), 20000);

    // The next day: the period ended on the last day found, so it grows, and the window,
    // which showed the newest day, moves on to it.
    Log([&] { WriteDay(10, 1); });
    QTRY_VERIFY_WITH_TIMEOUT(
        child->windowTitle().contains("to 10.03.2024. (3 files found)"), 20000);
    EXPECT_EQ(Start(), March(10));
    EXPECT_EQ(child->SliderTime->maximum(), 2);
    EXPECT_EQ(T1At(March(10, 0)), 20.0);
}

TEST_F(RecordFollowerTest, StaysWhereTheUserPutItAndStopsWhenTurnedOff)
{
    ASSERT_EQ(Start(), March(8));
    child->RecordFollower().SetEnabled(true);
    Log([&] { WriteDay(10, 1); });
    QTRY_VERIFY_WITH_TIMEOUT(child->windowTitle().contains("(3 files found)"), 20000);
    EXPECT_EQ(Start(), March(8));

    child->RecordFollower().SetEnabled(false);
    Log([&] { std::ofstream(DayPath(10), std::ios::app) << Hours(10, 2, 3); });
    QTest::qWait(3000); // longer than the follower's look at the files would take
    EXPECT_FALSE(T1At(March(10, 2)).has_value());
}
