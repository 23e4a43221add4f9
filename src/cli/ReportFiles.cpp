#include "cli/ReportFiles.h"

#include "cli/CliArguments.h"
#include "cli/ReportWindow.h"
#include "core/loading/TableContent.h"
#include "ui/analysis/PictureFiles.h"

#include <QDir>

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
    WriteReportFile(dir.filePath(QStringLiteral("report.json")), ReportJsonText(description));
    return description;
}
