#include "cli/CliFollow.h"

#include "cli/CliLoading.h"
#include "core/base/LanguageTable.h"
#include "core/loading/AnalysisSet.h"
#include "core/loading/LogFollower.h"
#include "core/logdata/LogAnalysis.h"
#include "core/logdata/SeriesReadings.h"
#include "core/settings/IniSettings.h"

#include <QCoreApplication>
#include <QTimer>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <ostream>

using nlohmann::json;

namespace {

std::atomic<bool> stopRequested = false;

extern "C" void RequestStop(int)
{
    stopRequested = true;
}

std::string Stamp(double t)
{
    return FormatDateTime("yyyy-mm-dd'T'hh:nn:ss", t);
}

// Every line is one JSON value; file names need not be UTF-8 (bytes become U+FFFD).
void PrintLine(std::ostream& out, const json& line)
{
    out << line.dump(-1, ' ', false, json::error_handler_t::replace) << "\n" << std::flush;
}

// The field's value at a record: a point at its time, else the reading before it unless a
// break lies between. A file's records end with a break at the last one, after its value.
std::optional<double> RecordValue(const TPointSeries& points, double t)
{
    const int at = points.LowerBound(t);
    std::optional<double> value;
    for (int i = at; i < points.Count() && points.X(i) == t; ++i)
        if (!points.IsNull(i))
            value = points.Y(i);
    if (value || at == 0 || (at < points.Count() && points.X(at) == t) || points.IsNull(at - 1))
        return value;
    return points.Y(at - 1);
}

int FieldIndex(const TLogAnalysis& analysis, const std::string& name)
{
    int field = -1;
    return analysis.DeviceSettings() && analysis.DeviceSettings()->IndexOfValue(name, field) ? field
                                                                                             : -1;
}

json RecordsLine(
    const TFollowRequest& request, const TAnalysisSet& set, const TLogFollower::TUpdate& update)
{
    const std::string& prefix = set.DeviceList()[update.device];
    const TLogAnalysis& analysis = *set.Analysis(update.device);
    json points = json::object();
    for (const TSeriesRequest& wanted : request.series) {
        const int field = FieldIndex(analysis, wanted.field);
        if (wanted.prefix != prefix || field < 0)
            continue;
        json values = json::array();
        for (const double t : update.newRecords) {
            const std::optional<double> value = RecordValue(analysis.Series(field)->Points(), t);
            values.push_back({Stamp(t), value ? json(*value) : json(nullptr)});
        }
        points[wanted.field] = std::move(values);
    }
    json sums = json::object();
    const TDeviceSettings& device = *analysis.DeviceSettings();
    for (int f = 0; f < analysis.FieldRecordCount() && f < device.ValueCount(); ++f) {
        const std::string& name = device.GetValueName(f);
        if (!device.IsSumValue(f) || !name.ends_with("tag"))
            continue;
        const std::optional<double> total
            = TotalIn(analysis.Series(f)->Points(), update.day, update.day + 1);
        sums[name] = total ? json(*total) : json(nullptr);
    }
    return {{"event", "records"}, {"device", prefix}, {"file", update.path},
        {"day", FormatDateTime("yyyy-mm-dd", update.day)}, {"records", update.newRecords.size()},
        {"last", Stamp(update.newRecords.back())}, {"points", std::move(points)},
        {"sums", std::move(sums)}};
}

void CheckSeries(const TFollowRequest& request, const TAnalysisSet& set)
{
    for (const TSeriesRequest& wanted : request.series) {
        const auto& devices = set.DeviceList();
        const auto it = std::find(devices.begin(), devices.end(), wanted.prefix);
        const TLogAnalysis* analysis
            = it == devices.end() ? nullptr : set.Analysis(static_cast<int>(it - devices.begin()));
        if (!analysis || !analysis->DeviceSettings())
            throw std::runtime_error("no device " + wanted.prefix + " was loaded");
        if (FieldIndex(*analysis, wanted.field) < 0)
            throw std::runtime_error("device " + wanted.prefix + " has no field " + wanted.field);
    }
}

int PollSeconds(const TFollowRequest& request)
{
    if (request.pollSeconds > 0)
        return request.pollSeconds;
    try {
        return GetIniSettings().GetMainSettings().FollowPollSeconds;
    } catch (const std::exception&) {
        return MainSettings{}.FollowPollSeconds; // no settings file to be had
    }
}

} // namespace

int RunFollow(const TFollowRequest& request, std::ostream& out, std::ostream& err)
{
    SelectLanguage(request.languageCode);
    int argc = 1;
    char name[] = "kalvex-cli";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    return RunCommand(err, [&] {
        TAnalysisSet set;
        const std::optional<TCliLoad> load = LoadRequestedFiles(request, set, err);
        if (!load)
            return 1;
        CheckSeries(request, set);
        TLogFollower follower(set, PollSeconds(request) * 1000);
        follower.SetUpdateHandler([&](const std::vector<TLogFollower::TUpdate>& updates) {
            for (const TLogFollower::TUpdate& update : updates)
                if (!update.newRecords.empty())
                    PrintLine(out, RecordsLine(request, set, update));
        });
        follower.SetProblemHandler([&](const std::string& path, const std::string& message) {
            err << path << ": " << message << "\n" << std::flush;
        });
        std::signal(SIGINT, RequestStop);
        std::signal(SIGTERM, RequestStop);
        // A signal handler may only set a flag; the loop looks at it often enough.
        QTimer stopCheck;
        QObject::connect(&stopCheck, &QTimer::timeout, [&] {
            if (stopRequested)
                QCoreApplication::quit();
        });
        stopCheck.start(100);
        // Watching begins before the line goes out: a script may write on seeing it.
        follower.Start();
        PrintLine(out,
            {{"event", "loaded"}, {"files", load->result.loadedFiles.size()},
                {"last", Stamp(set.NewestRecordTime())}});
        QCoreApplication::exec();
        follower.Stop();
        return 0;
    });
}
