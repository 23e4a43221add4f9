#pragma once
// Paints one cell of the table view, on screen and on the printer alike: the borders it
// shares with its neighbours, the fixed cells' colour, the device-name band of row 0,
// left-aligned fixed cells and right-aligned values.
//
// Printing calls it for each cell with the printer's painter and its own margin, the
// table's content (TTableGrid::Content()), the cell's rectangle on the page and whether
// the cell lies in the fixed rows or the fixed column, and no widening:
//     DrawTableCell(painter, grid.Content(), column, margin, fixed, rect, row);
// The painter's font is the text's font.

#include "core/loading/TableContent.h"

#include <QColor>
#include <QRect>

#include <functional>

class QPainter;

// RGB (236, 236, 255), the colour of the header rows and the date column.
inline const QColor TableFixedColour(236, 236, 255);

// On screen only: asked for a wider column (column, width needed) before the cell is
// painted; returns true when the column will be widened, and the cell is then left
// unpainted until the grid repaints at the new width.
using TWidenColumn = std::function<bool(int column, int width)>;

void DrawTableCell(QPainter& canvas, const TTableContent& table, int column, int margin, bool fixed,
    const QRect& rect, int row, const TWidenColumn& widen = {});
