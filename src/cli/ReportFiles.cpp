#include "cli/ReportFiles.h"

#include "cli/CliArguments.h"
#include "cli/ReportWindow.h"
#include "core/loading/TableContent.h"
#include "core/logdata/LogAnalysis.h"
#include "core/logdata/ShownValues.h"
#include "ui/analysis/PictureFiles.h"

#include <QDir>

#include <cmath>

namespace {

using nlohmann::ordered_json;

std::string CsvCell(const std::string& text)
{
    if (text.find_first_of(";\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + '"';
}

ordered_json Optional(const std::optional<double>& value)
{
    return value ? ordered_json(*value) : ordered_json(nullptr);
}

// What the markers measure of every value shown, as the window's marker box shows it.
ordered_json BetweenMarkers(const TReportWindow& window, TDateTime a, TDateTime b)
{
    ordered_json values = ordered_json::array();
    for (const TReportWindow::TShownField& shown : window.ShownFields()) {
        const TMarkerComparison m = CompareAtMarkers(*shown.analysis, shown.field, a, b);
        values.push_back({{"label", shown.label}, {"unit", shown.analysis->UnitOf(shown.field)},
            {"atStart", Optional(m.atStart)}, {"atEnd", Optional(m.atEnd)},
            {"change", Optional(m.change)}, {"amount", Optional(m.amount)},
            {"amountUnit", m.amount ? ordered_json(m.amountUnit) : ordered_json(nullptr)}});
    }
    return {{"start", FormatCliDateTime(a)}, {"end", FormatCliDateTime(b)},
        {"minutes", std::llround((b - a) * MinutesPerDay)}, {"values", std::move(values)}};
}

} // namespace

std::string ReportJsonText(const ordered_json& document)
{
    return document.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

void WriteReportFile(const QString& path, const std::string& text)
{
    // Written aside and renamed, as the pictures are.
    WritePictureFile(path, QByteArray::fromStdString(text));
}

std::string TableCsv(const TTableContent& table)
{
    std::string csv;
    for (int r = 0; r < table.RowCount(); ++r) {
        for (int c = 0; c < table.ColumnCount(); ++c) {
            if (c > 0)
                csv += ';';
            csv += CsvCell(table.Text(c, r));
        }
        csv += '\n';
    }
    return csv;
}

ordered_json WriteReportSet(TReportWindow& window, const QString& folder, const std::string& format)
{
    const QDir dir(folder);
    if (!QDir().mkpath(folder))
        throw TReportError(1, "the folder " + folder.toStdString() + " cannot be made");
    const std::string chartName = "chart." + format;
    const bool chart = window.SaveChartImage(dir.filePath(QString::fromStdString(chartName)));
    WriteReportFile(dir.filePath(QStringLiteral("table.csv")), TableCsv(window.Table()));
    const TTimeSpan shown = window.Window();
    ordered_json description = {{"title", window.ChartTitle()}, {"yield", window.YieldText()},
        {"window",
            {{"start", FormatCliDateTime(shown.start)}, {"end", FormatCliDateTime(shown.end)}}},
        {"imageName", window.ImageName()},
        {"slider", {{"position", window.SliderPosition()}, {"maximum", window.SliderMaximum()}}},
        {"device", window.DeviceText()}, {"shown", window.ShownLabels()},
        {"chart", chart ? ordered_json(chartName) : ordered_json(nullptr)}};
    if (const auto markers = window.Markers())
        description["between"] = BetweenMarkers(window, markers->first, markers->second);
    WriteReportFile(dir.filePath(QStringLiteral("report.json")), ReportJsonText(description));
    return description;
}
