#pragma once
// The table view on paper: portrait pages inside a twentieth of the page on every side,
// the cells in bands of columns and rows over as many pages as they need, every cell
// painted by the table's own cell painter. Fixed rows and columns are printed once, on
// the pages they fall on.

#include "core/loading/TableContent.h"

#include <QFont>
#include <QRect>

#include <functional>

class QPaintDevice;
class QPrinter;

// What the printout takes over from the grid on screen: its default cell size (the
// widths the screen widened for long texts are not used), its line width, its font and
// the screen's vertical resolution.
struct TTablePrintMetrics {
    int columnWidth = 80;
    int rowHeight = 17;
    int lineWidth = 1;
    int screenDpiY = 96;
    QFont font;
};

// Cells per page and pages across and down for a printable area, cells of w × h and a
// line width L.
struct TTablePages {
    int columnsPerPage = 1;
    int rowsPerPage = 1;
    int across = 1;
    int down = 1;
    int Count() const { return across * down; }
};
TTablePages PlanTablePages(const QRect& area, int w, int h, int L, int columns, int rows);

// The printable area of a page: a twentieth of its width and height off every side.
QRect TablePrintArea(int pageWidth, int pageHeight);

// Paints the pages onto the device (a printer, or its preview); the device must be able
// to start new pages.
void PaintTablePages(
    QPrinter& printer, const TTableContent& table, const TTablePrintMetrics& metrics);

// Portrait, the print dialog (false: cancelled, nothing printed), then the pages; a
// printer that fails raises "The document could not be printed."
void PrintTable(QPrinter& printer, const std::function<bool(QPrinter&)>& printDialog,
    const TTableContent& table, const TTablePrintMetrics& metrics);
