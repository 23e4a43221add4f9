#include "cli/CliDump.h"

#include "cli/CliLoading.h"
#include "core/base/KalvexError.h"
#include "core/base/LanguageTable.h"
#include "core/loading/AnalysisSet.h"
#include "core/logdata/LogAnalysis.h"

#include <nlohmann/json.hpp>

#include <ostream>

using nlohmann::json;

namespace {

// Thrown for a requested series that the analysis does not have.
struct TMissingSeries : std::runtime_error {
    using std::runtime_error::runtime_error;
};

json Point(const TPointSeries& points, int i)
{
    return json::array({points.X(i), points.IsNull(i) ? json(nullptr) : json(points.Y(i))});
}

json FieldJson(TLogAnalysis& analysis, int i)
{
    const TDeviceSettings& s = *analysis.DeviceSettings();
    const TFieldSeries* series = analysis.Series(i);
    const int count = series ? series->Points().Count() : 0;
    json field = {{"index", i}, {"name", s.GetValueName(i)}, {"unit", s.GetUnit(i)},
        {"kind", static_cast<int>(s.GetValueKind(i))}, {"label", s.GetLabel(i)},
        {"color", s.GetColor(i)}, {"sum", s.IsSumValue(i)}, {"points", count}, {"first", nullptr},
        {"last", nullptr}};
    if (count > 0) {
        field["first"] = Point(series->Points(), 0);
        field["last"] = Point(series->Points(), count - 1);
    }
    return field;
}

json DeviceJson(const TAnalysisSet& set, int d)
{
    json device = {{"prefix", set.DeviceList()[d]}, {"bus", nullptr}, {"name", nullptr},
        {"automaticName", nullptr}, {"fields", json::array()}};
    TLogAnalysis* analysis = set.Analysis(d);
    if (!analysis || !analysis->DeviceSettings())
        return device; // every file of this device failed
    TDeviceSettings& s = *analysis->DeviceSettings();
    device["bus"] = s.GetNumber();
    device["name"] = s.GetDisplayName();
    device["automaticName"] = s.HasAutomaticName();
    for (int i = 0; i < s.ValueCount(); ++i)
        device["fields"].push_back(FieldJson(*analysis, i));
    return device;
}

json TableJson(const TOverviewTable* table)
{
    json rows = json::array();
    if (!table)
        return rows;
    for (int r = 0; r < table->RowCount(); ++r) {
        json row = json::array();
        for (int c = 0; c < table->ColumnCount(); ++c)
            row.push_back({{"text", table->Text(c, r)}, {"tag", table->Tag(c, r)}});
        rows.push_back(std::move(row));
    }
    return rows;
}

json SeriesJson(const TAnalysisSet& set, const TSeriesRequest& request)
{
    const auto& devices = set.DeviceList();
    const auto it = std::find(devices.begin(), devices.end(), request.prefix);
    TLogAnalysis* analysis
        = it == devices.end() ? nullptr : set.Analysis(static_cast<int>(it - devices.begin()));
    int field = -1;
    if (!analysis || !analysis->DeviceSettings())
        throw TMissingSeries("no device " + request.prefix + " was loaded");
    const TFieldSeries* series = analysis->DeviceSettings()->IndexOfValue(request.field, field)
        ? analysis->Series(field)
        : nullptr;
    if (!series)
        throw TMissingSeries("device " + request.prefix + " has no field " + request.field);
    json points = json::array();
    for (int i = 0; i < series->Points().Count(); ++i)
        points.push_back(Point(series->Points(), i));
    return {{"prefix", request.prefix}, {"field", request.field}, {"points", std::move(points)}};
}

json Document(const TDumpRequest& request, const TAnalysisSet& set, const TLoadResult& result,
    TDateTime from, TDateTime to)
{
    json days = json::array();
    for (int i = 0; i < set.DayList().Count(); ++i)
        days.push_back(set.DayList().DayNumber(i));
    json errors = json::array();
    for (const TLoadFailure& f : result.failures)
        errors.push_back({{"file", f.path}, {"message", f.message}});
    json devices = json::array();
    for (int d = 0; d < set.DeviceCount(); ++d)
        devices.push_back(DeviceJson(set, d));
    json series = json::array();
    for (const TSeriesRequest& s : request.series)
        series.push_back(SeriesJson(set, s));
    return {{"directory", request.directory}, {"from", FormatDateTime("yyyy-mm-dd", from)},
        {"to", FormatDateTime("yyyy-mm-dd", to)}, {"files", result.loadedFiles},
        {"errors", std::move(errors)}, {"days", std::move(days)}, {"devices", std::move(devices)},
        {"overview",
            {{"daily", TableJson(set.DailyOverview())},
                {"monthly", TableJson(set.MonthlyOverview())},
                {"annual", TableJson(set.AnnualOverview())}}},
        {"series", std::move(series)}};
}

} // namespace

int RunDump(const TDumpRequest& request, std::ostream& out, std::ostream& err)
{
    SelectLanguage(request.languageCode);
    return RunCommand(err, [&] {
        TAnalysisSet set;
        const std::optional<TCliLoad> load = LoadRequestedFiles(request, set, err);
        if (!load)
            return 1;
        const json document = Document(request, set, load->result, load->from, load->to);
        // File names need not be UTF-8; undecodable bytes become U+FFFD.
        out << document.dump(-1, ' ', false, json::error_handler_t::replace) << "\n";
        return 0;
    });
}
