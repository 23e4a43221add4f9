#include "ui/analysis/TableView.h"

#include "ui/analysis/TableCellPainter.h"
#include "ui/analysis/TableGrid.h"

#include <QWheelEvent>

TTableView::TTableView(TTableGrid& grid, QObject* parent)
    : QObject(parent)
    , grid(grid)
{
    grid.SetCellPainter([this](QPainter& canvas, int column, int row, const QRect& rect,
                            bool fixed) { GridDrawCell(canvas, column, row, rect, fixed); });
    grid.viewport()->installEventFilter(this);
}

TTableView::~TTableView()
{
    grid.SetCellPainter({});
}

void TTableView::FillTable(const TTableSource& source)
{
    grid.SetContent(BuildTableContent(source));
}

void TTableView::GridDrawCell(QPainter& canvas, int column, int row, const QRect& rect, bool fixed)
{
    DrawTableCell(canvas, grid.Content(), column, ScreenMargin, fixed, rect, row,
        [this](int widenColumn, int width) {
            grid.QueueColumnWidth(widenColumn, width);
            return true;
        });
}

void TTableView::GridMouseWheelUp()
{
    if (grid.TopRow() > grid.FixedRows())
        grid.SetTopRow(grid.TopRow() - 1);
}

void TTableView::GridMouseWheelDown()
{
    if (grid.VisibleRowCount() + grid.TopRow() < grid.RowCount())
        grid.SetTopRow(grid.TopRow() + 1);
}

bool TTableView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grid.viewport() && event->type() == QEvent::Wheel) {
        // One row per notch; the grid's own wheel handling would scroll three.
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (delta > 0)
            GridMouseWheelUp();
        else if (delta < 0)
            GridMouseWheelDown();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
