// The analysis window's Save, Print and Print preview: the charts as a picture or on a
// landscape page, the table over portrait pages.
#include "ui/analysis/Childform.h"

#include "ui/analysis/ChartOutput.h"
#include "ui/analysis/OutputDialogs.h"
#include "ui/analysis/TableGrid.h"
#include "ui/analysis/TablePrinter.h"
#include "ui/common/ApplicationErrors.h"
#include "ui/common/UiText.h"

#include <QComboBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
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
    if (TableViewActive())
        PrintTable(chartOutput->Printer(), chartOutput->Dialogs().printer, Grid->Content(),
            TablePrintMetrics());
    else
        chartOutput->PrintCharts();
}

TTablePrintMetrics TChildform::TablePrintMetrics() const
{
    TTablePrintMetrics metrics;
    metrics.columnWidth = TTableGrid::DefaultColumnWidth;
    metrics.rowHeight = TTableGrid::DefaultRowHeight;
    metrics.lineWidth = 1;
    const QScreen* screen = this->screen();
    metrics.screenDpiY = screen ? static_cast<int>(screen->logicalDotsPerInchY()) : 96;
    metrics.font = Grid->font();
    return metrics;
}

void TChildform::PrintPreview()
{
    const bool table = TableViewActive();
    if (!table && !chartOutput->UpperTakesPart() && !chartOutput->LowerTakesPart())
        return;
    QPrinter& printer = chartOutput->Printer();
    printer.setPageOrientation(table ? QPageLayout::Portrait : QPageLayout::Landscape);
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(UiText(TextId::TxtPrintPreview));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this, table](QPrinter* page) {
        RunGuarded([&] {
            if (table)
                PaintTablePages(*page, Grid->Content(), TablePrintMetrics());
            else
                chartOutput->PaintChartsPage(*page);
        });
    });
    preview.exec();
}
