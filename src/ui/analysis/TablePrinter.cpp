#include "ui/analysis/TablePrinter.h"

#include "core/base/KalvexError.h"
#include "ui/analysis/OutputDialogs.h"
#include "ui/analysis/TableCellPainter.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>

TTablePages PlanTablePages(const QRect& area, int w, int h, int L, int columns, int rows)
{
    TTablePages pages;
    // A page too small for a single cell still takes one and cuts it off.
    pages.columnsPerPage = std::max((area.width() - L) / std::max(L + w, 1), 1);
    pages.rowsPerPage = std::max((area.height() - L) / std::max(L + h, 1), 1);
    pages.across = (std::max(columns, 1) - 1) / pages.columnsPerPage + 1;
    pages.down = (std::max(rows, 1) - 1) / pages.rowsPerPage + 1;
    return pages;
}

QRect TablePrintArea(int pageWidth, int pageHeight)
{
    const int left = pageWidth / 20;
    const int top = pageHeight / 20;
    return QRect(QPoint(left, top), QPoint(pageWidth * 19 / 20 - 1, pageHeight * 19 / 20 - 1));
}

void PaintTablePages(
    QPrinter& printer, const TTableContent& table, const TTablePrintMetrics& metrics)
{
    QPainter painter;
    if (!painter.begin(&printer))
        Fail(TextId::TxtPrintFailed);
    const int S = std::max(metrics.screenDpiY, 1);
    const int X = printer.logicalDpiX();
    const int Y = printer.logicalDpiY();
    const int w = metrics.columnWidth * X / S;
    const int h = Y * metrics.rowHeight / S;
    const int m = Y * 3 / S;
    const int L = metrics.lineWidth;
    // The screen font at the printer's resolution, in pixels, so the cell painter's
    // measurements and the printed texts agree.
    QFont font = metrics.font;
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : 8.0;
    font.setPixelSize(std::max(1, int(points * Y / 72 + 0.5)));
    painter.setFont(font);

    const QRect area = TablePrintArea(printer.width(), printer.height());
    const TTablePages pages = PlanTablePages(area, w, h, L, table.ColumnCount(), table.RowCount());
    for (int i = 0; i < pages.Count(); ++i) {
        if (i > 0)
            printer.newPage();
        const int firstRow = i / pages.across * pages.rowsPerPage;
        const int firstColumn = i % pages.across * pages.columnsPerPage;
        const int endRow = std::min(firstRow + pages.rowsPerPage, table.RowCount());
        const int endColumn = std::min(firstColumn + pages.columnsPerPage, table.ColumnCount());
        for (int r = firstRow; r < endRow; ++r) {
            for (int c = firstColumn; c < endColumn; ++c) {
                const QRect cell(area.left() + L + (c - firstColumn) * w,
                    area.top() + L + (r - firstRow) * (L + h), w, h);
                const bool fixed = c < table.fixedColumns || r < table.fixedRows;
                DrawTableCell(painter, table, c, m, fixed, cell, r);
            }
        }
    }
    painter.end();
}

void PrintTable(QPrinter& printer, const std::function<bool(QPrinter&)>& printDialog,
    const TTableContent& table, const TTablePrintMetrics& metrics)
{
    printer.setPageOrientation(QPageLayout::Portrait);
    if (!printDialog || !printDialog(printer))
        return;
    PaintTablePages(printer, table, metrics);
    FailWhenPrinterFailed(printer);
}
