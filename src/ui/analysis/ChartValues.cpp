#include "ui/analysis/ChartValues.h"

#include "core/base/KalvexError.h"
#include "core/loading/AnalysisSet.h"
#include "core/logdata/LogAnalysis.h"
#include "core/settings/IniSettings.h"
#include "ui/analysis/ChartHost.h"
#include "ui/analysis/ChartView.h"

#include <QCheckBox>

#include <algorithm>
#include <cstdint>

namespace {

constexpr std::int32_t LaneStep = -150;

bool CaseInsensitiveLess(const std::string& a, const std::string& b)
{
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) < 0;
}

bool CaseInsensitiveEqual(const std::string& a, const std::string& b)
{
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

// Restores the box without running its click handler again.
void SetQuietly(QCheckBox* box, bool checked)
{
    const QSignalBlocker quiet(box);
    box->setChecked(checked);
}

} // namespace

TChartValues::TChartValues(TAnalysisSet& analyses, TChartView& view, TChartHost& host)
    : analyses(analyses)
    , view(view)
    , host(host)
{
}

std::string TChartValues::CollectAxisUnits(ValueKind kind) const
{
    std::vector<std::string> units;
    if (host.OverviewTabActive()) {
        for (const auto& analysis : analyses.Analyses())
            if (analysis)
                analysis->CollectFieldUnits(true, units, kind);
    } else if (const TLogAnalysis* current = analyses.CurrentAnalysis()) {
        current->CollectFieldUnits(false, units, kind);
    }
    std::stable_sort(units.begin(), units.end(), CaseInsensitiveLess);
    units.erase(std::unique(units.begin(), units.end(), CaseInsensitiveEqual), units.end());
    std::string joined;
    for (const std::string& unit : units)
        joined += (joined.empty() ? "" : "   ") + unit;
    return joined;
}

void TChartValues::UpdateValueAxes()
{
    std::string left = CollectAxisUnits(KindInput);
    std::string right = CollectAxisUnits(KindOther);
    const std::string outputs = CollectAxisUnits(KindOutput);

    // Without inputs the other measured values take the left axis.
    const bool othersLeft = left.empty();
    if (othersLeft)
        std::swap(left, right);
    for (const auto& analysis : analyses.Analyses())
        if (analysis)
            analysis->SetOtherValuesAxis(othersLeft ? TVerticalAxis::Left : TVerticalAxis::Right);

    view.SetAxisTitles(QString::fromStdString(left), QString::fromStdString(right),
        QString::fromStdString(outputs));
    if (left.empty())
        view.SetPlaceholders(!outputs.empty(), false, false);
    else
        view.SetPlaceholders(false, !right.empty(), outputs.empty());

    const ChildSettings& settings = host.CurrentChildSettings();
    view.ScaleValueAxes(settings.DynamicScaling, settings.AxisMin, settings.AxisMax);
}

void TChartValues::BuildOutputLanes(std::optional<bool> overview)
{
    const bool allDevices = overview.value_or(host.OverviewTabActive());
    QStringList names;
    std::int32_t offset = 0;
    auto addLanes = [&](TLogAnalysis& analysis) {
        const TDeviceSettings* device = analysis.DeviceSettings();
        if (!device)
            return;
        for (int value = device->CountUpTo(KindOther); value < device->ValueCount(); ++value) {
            if (!analysis.IsShown(value) || (allDevices && !analysis.OverviewMark(value)))
                continue;
            analysis.RestyleOutputField(value, offset);
            names.append(QString::fromStdString(device->GetLabel(value)));
            offset += LaneStep;
        }
    };
    if (allDevices) {
        for (const auto& analysis : analyses.Analyses())
            if (analysis)
                addLanes(*analysis);
    } else if (TLogAnalysis* current = analyses.CurrentAnalysis()) {
        addLanes(*current);
    }
    view.SetOutputLanes(names);
}

bool TChartValues::ShowValue(TLogAnalysis& analysis, int value)
{
    const bool shown = analysis.ShowField(value);
    UpdateValueAxes();
    host.ChartContentChanged();
    return shown;
}

void TChartValues::HideValue(TLogAnalysis& analysis, int value)
{
    analysis.HideField(value);
    UpdateValueAxes();
    host.ChartContentChanged();
}

void TChartValues::ShowGraphClick(TGraphPanel& row, QObject* sender)
{
    QCheckBox* box = row.PlotBox;
    if (sender != box)
        SetQuietly(box, !box->isChecked());
    TLogAnalysis& analysis = row.Analysis();
    const int value = row.ValueIndex();
    try {
        if (!box->isChecked()) {
            HideValue(analysis, value);
        } else {
            try {
                if (!ShowValue(analysis, value))
                    Fail(TextId::TxtNoData);
            } catch (...) {
                SetQuietly(box, false);
                HideValue(analysis, value);
                throw;
            }
        }
    } catch (...) {
        BuildOutputLanes();
        throw;
    }
    BuildOutputLanes();
}

void TChartValues::ShowOverviewClick(TGraphPanel& row, QObject* sender)
{
    auto* box = qobject_cast<QCheckBox*>(sender);
    if (box)
        row.Analysis().SetOverviewMark(row.ValueIndex(), box->isChecked() ? 1 : 0);
}
