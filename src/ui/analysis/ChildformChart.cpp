// The analysis window's charts and value lists: the charts the analyses draw into, the
// value list of each device and of the "Overview" tab, and the values shown.
#include "ui/analysis/Childform.h"

#include "core/logdata/LogAnalysis.h"
#include "ui/analysis/ChartValues.h"
#include "ui/analysis/ChartView.h"
#include "ui/analysis/ValueReadout.h"
#include "ui/analysis/ValueSelector.h"

#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QTabBar>

namespace {

TValueListMetrics MetricsOf(const QHeaderView& header, const QLabel& headline)
{
    TValueListMetrics metrics;
    metrics.headerHeight = header.height();
    metrics.headlineHeight = headline.sizeHint().height();
    return metrics;
}

} // namespace

TChartTarget* TChildform::UpperChart()
{
    return &chartView->UpperTarget();
}

TChartTarget* TChildform::LowerChart()
{
    return &chartView->LowerTarget();
}

void TChildform::SetTimeWindow(double end, double start)
{
    chartView->SetTimeWindow(end, start);
}

void TChildform::SetTimeLabelFormat(const std::string& pattern)
{
    chartView->SetTimeLabelFormat(pattern);
}

void TChildform::SetTimeIncrement(double days)
{
    chartView->SetTimeIncrement(days);
}

bool TChildform::ShowValue(TLogAnalysis& analysis, int value)
{
    return chartValues->ShowValue(analysis, value);
}

void TChildform::HideValue(TLogAnalysis& analysis, int value)
{
    chartValues->HideValue(analysis, value);
}

void TChildform::ChartContentChanged()
{
    readout->Refresh();
    emit SeriesChanged();
}

void TChildform::RemoveAllSeries()
{
    chartView->RemoveAllSeries();
}

void TChildform::UpdateValueAxes()
{
    chartValues->UpdateValueAxes();
}

void TChildform::BuildOutputLanes(bool allDevices)
{
    chartValues->BuildOutputLanes(allDevices);
}

void TChildform::BuildValueSelector(int, TLogAnalysis& analysis)
{
    QScrollArea* list = ::BuildValueSelector(*Overview, analysis, analysisSet.DeviceCount() > 1,
        *chartValues, MetricsOf(*HeaderControl, *LabelHeadline));
    analysis.SetValuePanel(std::make_unique<TValueListPanel>(list));
}

QScrollArea* TChildform::ValueListOf(TLogAnalysis& analysis)
{
    auto* panel = dynamic_cast<TValueListPanel*>(analysis.ValuePanel());
    return panel ? panel->List() : nullptr;
}

void TChildform::BuildOverviewSelector()
{
    ::BuildOverviewSelector(*Overview, analysisSet.Analyses(), *chartValues,
        MetricsOf(*HeaderControl, *LabelHeadline), HeaderControl);
    const int tabs = TabSetDevices->count();
    LayHeaderOver(Overview, true, tabs > 0 ? TabSetDevices->tabText(tabs - 1) : QString());
    ShowValueList(Overview);
}

void TChildform::AlignValueListRows(QWidget* listContent)
{
    if (listContent)
        AlignRowsToHeader(*listContent, *HeaderControl);
}
