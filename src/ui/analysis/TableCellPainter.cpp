#include "ui/analysis/TableCellPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include <algorithm>

namespace {

// Right and bottom are exclusive, as the grid counts them.
struct Edges {
    int left, top, right, bottom;
};

void Line(QPainter& canvas, int x1, int y1, int x2, int y2)
{
    canvas.drawLine(x1, y1, x2, y2);
}

void Outline(QPainter& canvas, const Edges& e)
{
    Line(canvas, e.left, e.top, e.right - 1, e.top);
    Line(canvas, e.left, e.bottom - 1, e.right - 1, e.bottom - 1);
    Line(canvas, e.left, e.top, e.left, e.bottom - 1);
    Line(canvas, e.right - 1, e.top, e.right - 1, e.bottom - 1);
}

// Row 0 over the value columns: one band per device, open towards the device's further
// columns.
void DeviceBand(QPainter& canvas, const TTableContent& table, int column, const Edges& e)
{
    Line(canvas, e.left, e.bottom - 1, e.right - 1, e.bottom - 1);
    Line(canvas, e.left, e.top, e.right - 1, e.top);
    if (!table.Text(column, 0).empty())
        Line(canvas, e.left, e.top, e.left, e.bottom - 1);
    const bool last = column == table.ColumnCount() - 1;
    if (last || !table.Text(column + 1, 0).empty())
        Line(canvas, e.right - 1, e.top, e.right - 1, e.bottom - 1);
}

} // namespace

void DrawTableCell(QPainter& canvas, const TTableContent& table, int column, int margin, bool fixed,
    const QRect& rect, int row, const TWidenColumn& widen)
{
    const QString text = QString::fromStdString(table.Text(column, row));
    int x = rect.left() + margin / 3;
    const int w = QFontMetrics(canvas.font()).horizontalAdvance(text);
    const int needed = 2 * margin / 3 + w + 1;
    if (widen && rect.width() < needed && widen(column, needed))
        return;

    Edges e{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
    if (row != 0 && (fixed || row != table.fixedRows))
        --e.top;
    if (column == 0)
        ++x;
    else if (fixed || column != table.fixedColumns)
        --e.left;
    ++e.right;
    ++e.bottom;

    canvas.save();
    const QColor fill = fixed ? TableFixedColour : QColor(Qt::white);
    canvas.setPen(QPen(fixed ? QColor(Qt::black) : TableFixedColour, 0, Qt::SolidLine));
    canvas.fillRect(QRect(e.left, e.top, e.right - e.left, e.bottom - e.top), fill);
    if (row == 0 && column > 0)
        DeviceBand(canvas, table, column, e);
    else
        Outline(canvas, e);

    if (!fixed)
        x = std::max(x, e.right - margin / 3 - w);
    canvas.setPen(Qt::black);
    canvas.drawText(x, e.top + margin + QFontMetrics(canvas.font()).ascent(), text);
    canvas.restore();
}
