#include "ui/analysis/ChartWindowFixture.h"

#include "core/loading/LoadLogFiles.h"
#include "samplegen/SampleGenerator.h"
#include "ui/analysis/GraphPanel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QSplitter>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

void ChartWindowFixture::SetUp()
{
    AnalysisFixture::SetUp();
    auto* layout = new QHBoxLayout(&window);
    overview = new QScrollArea(&window);
    overview->setFixedWidth(209);
    overview->setWidgetResizable(true);
    overview->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    overview->setWidget(new QWidget);
    auto* charts = new QSplitter(Qt::Vertical, &window);
    chart = new QCustomPlot(charts);
    chart2 = new QCustomPlot(charts);
    charts->setSizes({360, 120});
    layout->addWidget(overview);
    layout->addWidget(charts, 1);
    window.resize(900, 520);
    window.show();

    header = new QHeaderView(Qt::Horizontal, overview->widget());
    header->setModel(&headerModel);
    header->setMinimumSectionSize(18);
    header->setFixedHeight(17);
    header->resizeSection(0, 130);
    header->resizeSection(1, 36);
    header->resizeSection(2, 36);
    header->setGeometry(0, 0, 204, 17);

    view = std::make_unique<TChartView>(*chart, *chart2);
    set = std::make_unique<TAnalysisSet>(this);
    values = std::make_unique<TChartValues>(*set, *view, *this);
}

void ChartWindowFixture::TearDown()
{
    // The analyses take their series off the charts and free their lists first.
    values.reset();
    set.reset();
    view.reset();
    AnalysisFixture::TearDown();
}

void ChartWindowFixture::BuildValueSelector(int, TLogAnalysis& analysis)
{
    const bool severalDevices = set->DeviceCount() > 1;
    QScrollArea* list = ::BuildValueSelector(*overview, analysis, severalDevices, *values, metrics);
    analysis.SetValuePanel(std::make_unique<TValueListPanel>(list));
}

void GenerateMarchSamples(const std::string& folder, const std::vector<int>& devices, int lastDay)
{
    TSampleOptions options;
    options.outputDir = folder;
    options.from = {2024, 3, 1};
    options.to = {2024, 3, lastDay};
    options.devices = devices;
    options.layout = TSampleLayout::Flat;
    options.faults = false;
    GenerateSampleLogs(options);
}

void ChartWindowFixture::LoadSamples(const std::vector<int>& devices)
{
    GenerateMarchSamples(TempPath("logs"), devices, 3);
    LoadLogs(EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 3));
}

void ChartWindowFixture::LoadLogs(TDateTime from, TDateTime to)
{
    const TLoadResult result = LoadLogFiles(*set, FindLogFiles(TempPath("logs")), from, to);
    ASSERT_TRUE(result.failures.empty());
    ASSERT_GT(set->DeviceCount(), 0);
    SelectDevice(0);
    view->SetTimeWindow(set->RangeStart() + 1, set->RangeStart());
}

void ChartWindowFixture::SelectDevice(int index)
{
    view->RemoveAllSeries();
    overviewTab = index == set->DeviceCount();
    QScrollArea* list = overview;
    if (overviewTab) {
        ::BuildOverviewSelector(*overview, set->Analyses(), *values, metrics, header);
        for (const auto& analysis : set->Analyses())
            analysis->RestoreOverviewSeries();
    } else {
        set->SetCurrentAnalysis(&Device(index));
        list = ListOf(index);
        list->show();
        Device(index).RestoreShownSeries();
    }
    header->setParent(list->widget());
    header->show();
    AlignRowsToHeader(*list->widget(), *header);
    values->UpdateValueAxes();
    values->BuildOutputLanes();
}

QScrollArea* ChartWindowFixture::ListOf(int device) const
{
    return static_cast<TValueListPanel*>(Device(device).ValuePanel())->List();
}

int ChartWindowFixture::Field(int device, const std::string& name) const
{
    return FieldOf(Device(device), name);
}

TGraphPanel* ChartWindowFixture::RowOf(int device, const std::string& field) const
{
    const int index = Field(device, field);
    for (TGraphPanel* row : RowsOf(*ListOf(device)))
        if (row->ValueIndex() == index)
            return row;
    return nullptr;
}

void ChartWindowFixture::ClickPlot(TGraphPanel* row)
{
    ASSERT_TRUE(row);
    QTest::mouseClick(row->PlotBox, Qt::LeftButton, {}, QPoint(6, 8));
}

void ChartWindowFixture::ClickOverview(TGraphPanel* row)
{
    ASSERT_TRUE(row && row->OverviewBox);
    QTest::mouseClick(row->OverviewBox, Qt::LeftButton, {}, QPoint(6, 8));
}

const TSeriesPlottable* ChartWindowFixture::Drawn(int device, const std::string& field) const
{
    const TFieldSeries* series = Device(device).Series(Field(device, field));
    if (!series)
        return nullptr;
    if (const TSeriesPlottable* upper = view->UpperTarget().PlottableOf(*series))
        return upper;
    return view->LowerTarget().PlottableOf(*series);
}
