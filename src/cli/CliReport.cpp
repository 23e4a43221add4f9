#include "cli/CliReport.h"

#include "cli/ReportFiles.h"
#include "cli/ReportWindow.h"
#include "core/base/LanguageTable.h"

#include <QDir>

#include <ostream>

namespace {

using nlohmann::ordered_json;

// The folder of a set in an --each report: the proposed picture name, which the hour
// windows of one day share, so theirs also carry the start time.
QString SetFolderName(const TReportWindow& window)
{
    std::string name = window.ImageName();
    if (IsHourEntry(window.SpanEntry()))
        name += FormatDateTime("_hhnn", window.Window().start);
    return QString::fromStdString(name);
}

// Time window, tab, values and position as a user would choose them: the day of an hour
// window in "1 day" before the hours; the time window before the values, whose day sums
// it makes available; the overview marks before the "Overview" tab is built from them.
void DriveWindow(TReportWindow& window, const TReportRequest& request, std::ostream& err)
{
    if (request.at && IsHourEntry(request.spanTime))
        window.MoveTo(*request.at);
    window.ChooseTimeWindow(request.spanTime);
    if (request.device == "overview")
        for (const std::string& value : request.show)
            window.MarkForOverview(value);
    if (!request.device.empty())
        window.SelectTab(request.device);
    for (const std::string& value : request.show)
        window.ShowValue(value);
    if (request.at)
        window.MoveTo(*request.at);
    if (request.between)
        window.SetMarkers(request.between->first, request.between->second);
    if (window.ShownLabels().empty())
        err << "kalvex-cli: no value is shown in the charts, so no chart picture is written"
               " (choose values with --show)\n";
}

void WriteEach(TReportWindow& window, const TReportRequest& request, std::ostream& out)
{
    const QDir root(QString::fromStdString(request.outDirectory));
    ordered_json sets = ordered_json::array();
    for (int position = 0; position <= window.SliderMaximum(); ++position) {
        window.MoveSlider(position);
        const QString name = SetFolderName(window);
        ordered_json set = WriteReportSet(window, root.filePath(name), request.format);
        set["folder"] = name.toStdString();
        sets.push_back(std::move(set));
        out << root.filePath(name).toStdString() << "\n";
    }
    WriteReportFile(root.filePath(QStringLiteral("index.json")),
        ReportJsonText(ordered_json{{"sets", std::move(sets)}}));
}

} // namespace

int RunReport(const TReportRequest& request, std::ostream& out, std::ostream& err)
{
    SelectLanguage(request.languageCode);
    try {
        TReportWindow window(err);
        if (!window.Load(request))
            return 1;
        DriveWindow(window, request, err);
        if (request.each) {
            WriteEach(window, request, out);
        } else {
            WriteReportSet(window, QString::fromStdString(request.outDirectory), request.format);
            out << request.outDirectory << "\n";
        }
    } catch (const TCliArgumentError& e) {
        err << "kalvex-cli: " << e.what() << "\n";
        return 2;
    } catch (const TReportError& e) {
        err << "kalvex-cli: " << e.what() << "\n";
        if (e.exitCode == 2)
            err << CliUsage();
        return e.exitCode;
    } catch (const std::exception& e) {
        err << e.what() << "\n";
        return 1;
    }
    return 0;
}
