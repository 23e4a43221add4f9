// The analysis window's Save, Print and Print preview: the charts as a picture or on a
// landscape page, the table over portrait pages.
#include "ui/analysis/Childform.h"

#include "ui/analysis/ChartOutput.h"
#include "ui/analysis/OutputDialogs.h"
#include "ui/common/UiText.h"

#include <QComboBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTabBar>

QString TChildform::SelectedTabText() const
{
    const int index = TabSetDevices->currentIndex();
    return index >= 0 ? TabSetDevices->tabText(index) : QString();
}

QString TChildform::PrintTitle() const
{
    return QString::fromStdString(childSettings.PrintTitle);
}

void TChildform::SaveChartImage()
{
    chartOutput->SaveChartImage(SpanTime->currentIndex());
}

void TChildform::PrintWindow()
{
    if (!TableViewActive())
        chartOutput->PrintCharts();
}

void TChildform::PrintPreview()
{
    const bool table = TableViewActive();
    if (table || (!chartOutput->UpperTakesPart() && !chartOutput->LowerTakesPart()))
        return;
    QPrinter& printer = chartOutput->Printer();
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(UiText(TextId::TxtPrintPreview));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
        [this](QPrinter* page) { chartOutput->PaintChartsPage(*page); });
    preview.exec();
}
