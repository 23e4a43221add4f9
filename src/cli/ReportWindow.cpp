#include "cli/ReportWindow.h"

#include "core/logdata/LogAnalysis.h"
#include "core/settings/DeviceSettings.h"
#include "core/settings/IniSettings.h"
#include "ui/analysis/ChartOutput.h"
#include "ui/analysis/ChartView.h"
#include "ui/analysis/Childform.h"
#include "ui/analysis/GraphPanel.h"
#include "ui/analysis/TableGrid.h"
#include "ui/analysis/TimeNavigation.h"
#include "ui/analysis/ValueReadout.h"
#include "ui/analysis/ValueSelector.h"
#include "ui/common/ApplicationErrors.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QScrollArea>
#include <QSlider>
#include <QTabBar>

#include <algorithm>
#include <ostream>
#include <tuple>

namespace {

std::pair<std::string, std::string> SplitValue(const std::string& value)
{
    const size_t colon = value.find(':');
    return {value.substr(0, colon), value.substr(colon + 1)};
}

} // namespace

TReportWindow::TReportWindow(std::ostream& err)
    : err(err)
{
    try {
        GetIniSettings();
    } catch (const std::exception& e) {
        // As the program does: on with the built-in defaults.
        err << e.what() << "\n";
    }
    SetApplicationErrorHandler(
        [this](const QString& message) { this->err << message.toStdString() << "\n"; }, this);
    window = std::make_unique<TChildform>();
    // Laid out as a window of the picture's size, so the two charts share a picture as
    // they would share such a window. Shown to Qt only, so its layout is real; it never
    // reaches a screen.
    window->resize(TChartOutput::PictureWidth, TChartOutput::PictureHeight);
    window->setAttribute(Qt::WA_DontShowOnScreen);
    window->show();
    TOutputDialogs dialogs;
    dialogs.saveFile = [this](const QString&, const QString&) { return picturePath; };
    window->ChartOutput().SetDialogs(std::move(dialogs));
}

TReportWindow::~TReportWindow()
{
    // Closed as the program closes it, which frees the analysis before the window.
    window->close();
    window.reset();
    ClearApplicationErrorHandler(this);
    ReleaseIniSettings();
}

std::optional<TCliLoad> TReportWindow::Load(const TLoadRequest& request)
{
    TChildform& target = *window;
    return LoadRequestedFiles(request, target.AnalysisSet(), err, [&target] {
        target.UpdateCaption();
        target.FinishLoad();
    });
}

TLogAnalysis& TReportWindow::DeviceAnalysis(const std::string& prefix) const
{
    const auto& devices = window->AnalysisSet().DeviceList();
    const auto it = std::find(devices.begin(), devices.end(), prefix);
    if (it == devices.end()) {
        std::string loaded;
        for (const std::string& device : devices)
            loaded += (loaded.empty() ? "" : ", ") + device;
        throw TReportError(1, "no device " + prefix + " was loaded (devices: " + loaded + ")");
    }
    TLogAnalysis* analysis = window->AnalysisSet().Analysis(int(it - devices.begin()));
    if (!analysis || !analysis->DeviceSettings())
        throw TReportError(1, "no log file of device " + prefix + " could be read");
    return *analysis;
}

void TReportWindow::SelectTab(const std::string& device)
{
    const TAnalysisSet& set = window->AnalysisSet();
    int tab = 0;
    if (device == "overview") {
        if (set.DeviceCount() < 2)
            throw TReportError(1, "one device has no Overview tab");
        tab = set.DeviceCount();
    } else {
        const auto& devices = set.DeviceList();
        DeviceAnalysis(device);
        tab = int(std::find(devices.begin(), devices.end(), device) - devices.begin());
    }
    QTabBar* tabs = window->TabSetDevices;
    if (tabs->count() == 0)
        return; // the only device is selected
    tabs->setCurrentIndex(tab);
    if (tabs->currentIndex() != tab)
        throw TReportError(1, "the tab of " + device + " cannot be selected");
}

QScrollArea* TReportWindow::ValueListInFront() const
{
    if (window->OverviewTabActive())
        return window->Overview;
    TLogAnalysis* current = window->AnalysisSet().CurrentAnalysis();
    auto* panel = current ? dynamic_cast<TValueListPanel*>(current->ValuePanel()) : nullptr;
    return panel ? panel->List() : nullptr;
}

TGraphPanel& TReportWindow::RowOf(const QScrollArea* list, TLogAnalysis& analysis,
    const std::string& prefix, const std::string& field) const
{
    const TDeviceSettings& device = *analysis.DeviceSettings();
    if (list)
        for (TGraphPanel* row : RowsOf(*list))
            if (&row->Analysis() == &analysis && device.GetValueName(row->ValueIndex()) == field)
                return *row;
    int index = 0;
    if (!device.IndexOfValue(field, index))
        throw TReportError(1, "device " + prefix + " has no field " + field);
    throw TReportError(1, "field " + field + " of device " + prefix + " is not in the value list");
}

void TReportWindow::Tick(QCheckBox* box, const std::string& value) const
{
    if (!box->isEnabled())
        throw TReportError(2,
            value + " cannot be shown in the time window \""
                + window->SpanTime->currentText().toStdString() + "\"");
    if (!box->isChecked())
        box->click();
    if (!box->isChecked())
        throw TReportError(1, value + " cannot be shown");
}

void TReportWindow::MarkForOverview(const std::string& value)
{
    const auto [prefix, field] = SplitValue(value);
    TLogAnalysis& analysis = DeviceAnalysis(prefix);
    auto* panel = dynamic_cast<TValueListPanel*>(analysis.ValuePanel());
    TGraphPanel& row = RowOf(panel ? panel->List() : nullptr, analysis, prefix, field);
    if (row.OverviewBox)
        Tick(row.OverviewBox, value);
}

void TReportWindow::ShowValue(const std::string& value)
{
    const TAnalysisSet& set = window->AnalysisSet();
    std::string prefix;
    std::string field = value;
    if (window->OverviewTabActive()) {
        std::tie(prefix, field) = SplitValue(value);
    } else {
        for (int d = 0; d < set.DeviceCount(); ++d)
            if (set.Analysis(d) && set.Analysis(d) == set.CurrentAnalysis())
                prefix = set.DeviceList()[d];
        if (prefix.empty())
            throw TReportError(1, "the selected device has no values");
    }
    TLogAnalysis& analysis = DeviceAnalysis(prefix);
    Tick(RowOf(ValueListInFront(), analysis, prefix, field).PlotBox, value);
}

void TReportWindow::ChooseTimeWindow(int entry)
{
    window->SpanTime->setCurrentIndex(entry);
}

void TReportWindow::MoveSlider(int position)
{
    window->SliderTime->setValue(position);
}

int TReportWindow::SliderPosition() const
{
    return window->SliderTime->value();
}

int TReportWindow::SliderMaximum() const
{
    return window->SliderTime->maximum();
}

void TReportWindow::MoveTo(TDateTime instant)
{
    const TAnalysisSet& set = window->AnalysisSet();
    const TSliderState target
        = SliderStateFor(SpanEntry(), instant, {set.RangeStart(), set.RangeEnd()}, set.DayList());
    MoveSlider(std::clamp(target.position, 0, SliderMaximum()));
    // Times are whole minutes; the window's edges may differ from them in the last bits.
    const TTimeSpan shown = Window();
    if (instant < shown.start - OneMinute / 2 || instant >= shown.end - OneMinute / 2)
        throw TReportError(2,
            "no position of the slider holds " + FormatCliDateTime(instant) + " (the analysis has "
                + FormatCliDateTime(set.DayList().DayNumber(0)).substr(0, 10) + " to "
                + FormatCliDateTime(set.DayList().DayNumber(set.DayList().Count() - 1))
                      .substr(0, 10)
                + ")");
}

int TReportWindow::SpanEntry() const
{
    return window->SpanTime->currentIndex();
}

TTimeSpan TReportWindow::Window() const
{
    return window->Navigation().Window();
}

std::string TReportWindow::ChartTitle() const
{
    return window->ChartTitle().toStdString();
}

const std::string& TReportWindow::YieldText() const
{
    return window->Navigation().YieldText();
}

std::string TReportWindow::ImageName() const
{
    const TTimeSpan shown = Window();
    return ProposedImageName(shown.start, shown.end, SpanEntry()).toStdString();
}

std::string TReportWindow::DeviceText() const
{
    const QTabBar* tabs = window->TabSetDevices;
    if (tabs->count() > 0)
        return tabs->tabText(tabs->currentIndex()).toStdString();
    TLogAnalysis* only = window->AnalysisSet().Analysis(0);
    return only && only->DeviceSettings() ? only->DeviceSettings()->GetName()
                                          : window->AnalysisSet().DeviceList().at(0);
}

std::vector<std::string> TReportWindow::ShownLabels() const
{
    std::vector<std::string> labels;
    for (const TShownField& shown : ShownFields())
        labels.push_back(shown.label);
    return labels;
}

std::vector<TReportWindow::TShownField> TReportWindow::ShownFields() const
{
    std::vector<TShownField> fields;
    if (const QScrollArea* list = ValueListInFront())
        for (TGraphPanel* row : RowsOf(*list))
            if (row->PlotBox->isChecked())
                fields.push_back({row->Name().toStdString(), &row->Analysis(), row->ValueIndex()});
    return fields;
}

void TReportWindow::SetMarkers(TDateTime a, TDateTime b)
{
    const TTimeSpan shown = Window();
    for (const TDateTime marker : {a, b})
        if (marker < shown.start - OneMinute / 2 || marker >= shown.end - OneMinute / 2)
            throw TReportError(2,
                "the marker at " + FormatCliDateTime(marker) + " lies outside the window "
                    + FormatCliDateTime(shown.start) + " to " + FormatCliDateTime(shown.end));
    TValueReadout& readout = window->Readout();
    readout.ClearMarkers();
    readout.SetMarker(a);
    readout.SetMarker(b);
}

std::optional<std::pair<TDateTime, TDateTime>> TReportWindow::Markers() const
{
    const TValueReadout& readout = window->Readout();
    if (!readout.MarkerA() || !readout.MarkerB())
        return std::nullopt;
    return std::pair{*readout.MarkerA(), *readout.MarkerB()};
}

bool TReportWindow::SaveChartImage(const QString& path)
{
    if (!window->HasSeries())
        return false;
    // What the message loop would have done by the time a user chooses Save: the charts
    // laid out again after the table was shown, their pending repaints.
    QApplication::processEvents();
    picturePath = path;
    window->SaveChartImage();
    return true;
}

TTableContent TReportWindow::Table()
{
    // The View command's table, as the window fills it for the time window.
    window->ShowTableView(true);
    TTableContent content = window->Grid->Content();
    window->ShowTableView(false);
    return content;
}
