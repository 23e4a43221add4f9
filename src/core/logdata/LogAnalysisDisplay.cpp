// How the fields' series are drawn and which of them are on the charts.

#include "core/logdata/LogAnalysis.h"

#include <utility>

namespace {

constexpr std::int32_t OutputLaneStep = -150;
constexpr int MonthlyBarsPerPlotWidth = 36;

} // namespace

void TLogAnalysis::Restyle(int field, std::optional<std::int32_t> outputOffset)
{
    if (field < 0 || field >= CommonFieldCount() || !fields[field].series)
        return;
    TFieldRecord& record = fields[field];
    TSeriesStyle& style = record.series->Style();
    const TDeviceSettings& device = *deviceSettings;
    const int penWidth = device.GetLineWidth();

    style.stairs = false;
    style.penWidth = penWidth;
    style.barWidthMode = TBarWidthMode::Automatic75Percent;
    switch (record.kind) {
    case KindInput:
        style.kind = TDrawingKind::Line;
        break;
    case KindOther:
        if (device.IsSumValue(field)) {
            style.kind = device.OthersUseBars() ? TDrawingKind::SumBars : TDrawingKind::SumLine;
            TChartTarget* chart = ChartOf(record);
            if (monthlyBars && chart) {
                style.barWidthMode = TBarWidthMode::Pixels;
                style.barWidthPixels = chart->PlotWidth() / MonthlyBarsPerPlotWidth;
            }
        } else {
            style.kind
                = device.OthersUseBars() ? TDrawingKind::OffsetArea : TDrawingKind::OffsetLine;
            style.offset = 0;
        }
        break;
    case KindOutput:
        if (outputOffset)
            style.offset = *outputOffset;
        style.kind = device.OutputsUseBars() ? TDrawingKind::OffsetArea : TDrawingKind::OffsetLine;
        style.stairs = !device.OutputsUseBars();
        break;
    case KindNone:
        break;
    }
    style.axis = TVerticalAxis::Left;
    style.color = device.GetColor(field);
    style.title = device.GetLabel(field);

    TChartTarget* chart = ChartOf(record);
    if (record.shown && chart)
        chart->SeriesRestyled(*record.series);
}

void TLogAnalysis::ApplyDisplaySettings()
{
    overviewMarks.emplace(deviceSettings ? deviceSettings->ValueCount() : 0, 0);
    ReapplyDisplaySettings();
}

void TLogAnalysis::ReapplyDisplaySettings()
{
    std::int32_t outputOffset = 0;
    for (int i = 0; i < CommonFieldCount(); ++i) {
        if (fields[i].kind == KindOutput) {
            Restyle(i, outputOffset);
            outputOffset += OutputLaneStep;
        } else {
            Restyle(i);
        }
    }
    // The value list shows the new colours and labels.
    RefreshValueRows();
}

void TLogAnalysis::RestyleOutputField(int field, std::int32_t offset)
{
    if (field >= 0 && field < FieldRecordCount() && fields[field].kind == KindOutput)
        Restyle(field, offset);
}

void TLogAnalysis::PutOnChart(int field)
{
    TFieldRecord& record = fields[field];
    if (TChartTarget* chart = ChartOf(record); chart && record.series)
        chart->AttachSeries(*record.series);
}

bool TLogAnalysis::ShowField(int field)
{
    if (days.empty() || field < 0 || field >= CommonFieldCount() || !fields[field].series)
        return false;
    PutOnChart(field);
    fields[field].shown = true;
    Restyle(field, 0);
    RefreshValueRows();
    return true;
}

void TLogAnalysis::HideField(int field)
{
    if (days.empty() || field < 0 || field >= FieldRecordCount())
        return;
    TFieldRecord& record = fields[field];
    if (TChartTarget* chart = ChartOf(record); chart && record.series && record.shown)
        chart->DetachSeries(*record.series);
    record.shown = false;
    RefreshValueRows();
}

void TLogAnalysis::RestoreShownSeries()
{
    for (int i = 0; i < CommonFieldCount(); ++i) {
        if (fields[i].shown) {
            PutOnChart(i);
            Restyle(i);
        }
    }
}

void TLogAnalysis::RestoreOverviewSeries()
{
    for (int i = 0; i < CommonFieldCount(); ++i) {
        if (fields[i].shown && OverviewMark(i)) {
            PutOnChart(i);
            Restyle(i);
        }
    }
}

void TLogAnalysis::SetMonthlyBars(bool monthly)
{
    if (monthly == monthlyBars)
        return;
    monthlyBars = monthly;
    for (int i = 0; i < FieldRecordCount(); ++i) {
        const int j = fields[i].pairIndex;
        if (j <= i || j >= FieldRecordCount())
            continue;
        TFieldRecord& record = fields[i];
        TChartTarget* chart = ChartOf(record);
        if (record.shown && chart)
            chart->DetachSeries(*record.series);
        std::swap(record.series, fields[j].series);
        if (record.shown && chart)
            chart->AttachSeries(*record.series);
        Restyle(i);
    }
}

void TLogAnalysis::SetSumFieldsAvailable(bool available)
{
    for (int i = 0; i < CommonFieldCount(); ++i) {
        TFieldRecord& record = fields[i];
        if (record.kind != KindOther || !deviceSettings->IsSumValue(i)
            || deviceSettings->GetValueName(i).find("jahr") != std::string::npos)
            continue;
        if (!available) {
            record.shownBefore = record.shownBefore || record.shown;
            record.shown = false;
            record.hasData = false;
        } else {
            record.hasData = record.series && !record.series->Points().IsEmpty();
            if (record.hasData && record.shownBefore) {
                record.shownBefore = false;
                record.shown = true;
            }
        }
    }
    RefreshValueRows();
}

void TLogAnalysis::UpdateSeriesTitles(bool withDeviceName)
{
    if (!deviceSettings)
        return;
    const std::string prefix = withDeviceName ? deviceSettings->GetDisplayName() + ": " : "";
    for (int i = 0; i < CommonFieldCount(); ++i) {
        TFieldRecord& record = fields[i];
        if (!record.series)
            continue;
        record.series->Style().title = prefix + deviceSettings->GetLabel(i);
        if (TChartTarget* chart = ChartOf(record); record.shown && chart)
            chart->SeriesRestyled(*record.series);
    }
}

void TLogAnalysis::SetOtherValuesAxis(TVerticalAxis axis)
{
    int i = 0;
    while (i < FieldRecordCount() && fields[i].kind != KindOther)
        ++i;
    for (; i < FieldRecordCount() && fields[i].kind == KindOther; ++i) {
        TFieldRecord& record = fields[i];
        if (!record.series)
            continue;
        record.series->Style().axis = axis;
        if (TChartTarget* chart = ChartOf(record); record.shown && chart)
            chart->SeriesRestyled(*record.series);
    }
}
