#include "ui/analysis/TableGrid.h"

#include "ui/analysis/TableClipboard.h"
#include "ui/common/UiText.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

// One pixel of grid line after every row and column.
constexpr int LineWidth = 1;
constexpr int RowPitch = TTableGrid::DefaultRowHeight + LineWidth;

} // namespace

TTableGrid::TTableGrid(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    QPalette colours = viewport()->palette();
    colours.setColor(QPalette::Base, Qt::white);
    viewport()->setPalette(colours);
    viewport()->setAutoFillBackground(false);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(1);
}

void TTableGrid::SetContent(TTableContent newContent)
{
    content = std::move(newContent);
    const int first = columnWidths.empty() ? DefaultColumnWidth : columnWidths[0];
    columnWidths.assign(std::max(content.ColumnCount(), 1), DefaultColumnWidth);
    columnWidths[0] = first;
    queuedWidths.clear();
    topRow = content.fixedRows;
    leftColumn = content.fixedColumns;
    anchorColumn = currentColumn = content.fixedColumns;
    anchorRow = currentRow = content.fixedRows;
    UpdateScrollBars();
    viewport()->update();
}

int TTableGrid::ColumnWidth(int column) const
{
    if (column < 0 || column >= static_cast<int>(columnWidths.size()))
        return DefaultColumnWidth;
    return columnWidths[column];
}

void TTableGrid::SetColumnWidth(int column, int width)
{
    if (column < 0 || column >= static_cast<int>(columnWidths.size()) || width < 0)
        return;
    columnWidths[column] = width;
    UpdateScrollBars();
    viewport()->update();
}

void TTableGrid::QueueColumnWidth(int column, int width)
{
    // Changing the geometry inside a paint event would repaint in the middle of it.
    const bool first = queuedWidths.empty();
    int& queued = queuedWidths[column];
    queued = std::max(queued, width);
    if (first)
        QMetaObject::invokeMethod(this, &TTableGrid::ApplyQueuedWidths, Qt::QueuedConnection);
}

void TTableGrid::ApplyQueuedWidths()
{
    const std::map<int, int> widths = std::move(queuedWidths);
    queuedWidths.clear();
    for (const auto& [column, width] : widths)
        if (width > ColumnWidth(column))
            SetColumnWidth(column, width);
}

void TTableGrid::SetTopRow(int row)
{
    topRow = row; // kept in range by the scroll bars
    UpdateScrollBars();
    viewport()->update();
}

void TTableGrid::SetLeftColumn(int column)
{
    leftColumn = column;
    UpdateScrollBars();
    viewport()->update();
}

int TTableGrid::RowsThatFit() const
{
    return std::max(0, (viewport()->height() - FixedHeight()) / RowPitch);
}

int TTableGrid::VisibleRowCount() const
{
    return std::min(RowsThatFit(), std::max(0, RowCount() - topRow));
}

int TTableGrid::FixedWidth() const
{
    int width = 0;
    for (int c = 0; c < content.fixedColumns; ++c)
        width += ColumnWidth(c) + LineWidth;
    return width;
}

int TTableGrid::FixedHeight() const
{
    return content.fixedRows * RowPitch;
}

int TTableGrid::LastLeftColumn() const
{
    // The leftmost first scrolled column that still shows the last column whole.
    const int room = viewport()->width() - FixedWidth();
    int column = ColumnCount() - 1;
    int used = ColumnWidth(column) + LineWidth;
    while (
        column - 1 >= content.fixedColumns && used + ColumnWidth(column - 1) + LineWidth <= room) {
        --column;
        used += ColumnWidth(column) + LineWidth;
    }
    return std::max(column, content.fixedColumns);
}

void TTableGrid::UpdateScrollBars()
{
    syncingScrollBars = true;
    const int rowsShown = std::max(1, RowsThatFit());
    const int lastTop = std::max(content.fixedRows, RowCount() - rowsShown);
    topRow = std::clamp(topRow, content.fixedRows, lastTop);
    verticalScrollBar()->setRange(0, lastTop - content.fixedRows);
    verticalScrollBar()->setPageStep(rowsShown);
    verticalScrollBar()->setValue(topRow - content.fixedRows);
    const int lastLeft = LastLeftColumn();
    leftColumn = std::clamp(leftColumn, content.fixedColumns, lastLeft);
    horizontalScrollBar()->setRange(0, lastLeft - content.fixedColumns);
    horizontalScrollBar()->setPageStep(1);
    horizontalScrollBar()->setValue(leftColumn - content.fixedColumns);
    syncingScrollBars = false;
}

void TTableGrid::scrollContentsBy(int, int)
{
    if (syncingScrollBars)
        return;
    topRow = content.fixedRows + verticalScrollBar()->value();
    leftColumn = content.fixedColumns + horizontalScrollBar()->value();
    viewport()->update();
}

void TTableGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

QRect TTableGrid::CellRect(int column, int row) const
{
    if (column < 0 || row < 0 || column >= ColumnCount() || row >= RowCount())
        return {};
    const bool fixedColumn = column < content.fixedColumns;
    const bool fixedRow = row < content.fixedRows;
    if ((!fixedColumn && column < leftColumn) || (!fixedRow && row < topRow))
        return {};
    int x = fixedColumn ? 0 : FixedWidth();
    for (int c = fixedColumn ? 0 : leftColumn; c < column; ++c)
        x += ColumnWidth(c) + LineWidth;
    const int y = fixedRow ? row * RowPitch : FixedHeight() + (row - topRow) * RowPitch;
    if (x >= viewport()->width() || y >= viewport()->height())
        return {};
    return QRect(x, y, ColumnWidth(column), DefaultRowHeight);
}

bool TTableGrid::CellAt(const QPoint& point, int& column, int& row) const
{
    for (int r = 0; r < RowCount(); ++r) {
        for (int c = 0; c < ColumnCount(); ++c) {
            const QRect cell = CellRect(c, r);
            if (!cell.isEmpty() && cell.adjusted(0, 0, LineWidth, LineWidth).contains(point)) {
                column = c;
                row = r;
                return true;
            }
        }
        // Past the rows in sight nothing more is hit.
        if (r >= content.fixedRows && r >= topRow && CellRect(0, r).top() > point.y())
            break;
    }
    return false;
}

void TTableGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.setFont(font());
    const QRect area = viewport()->rect();
    painter.fillRect(area, Qt::white);
    // Dotted grid lines where no cell paints its own borders (a column about to widen).
    painter.setPen(QPen(Qt::lightGray, 0, Qt::DotLine, Qt::SquareCap));
    const QRect selection = Selection();
    const QColor highlight = [this] {
        QColor c = palette().color(QPalette::Highlight);
        c.setAlpha(70);
        return c;
    }();
    for (int r = 0; r < RowCount(); ++r) {
        if (r >= content.fixedRows && r < topRow)
            continue;
        const int y
            = r < content.fixedRows ? r * RowPitch : FixedHeight() + (r - topRow) * RowPitch;
        if (y >= area.height())
            break;
        int x = 0;
        for (int c = 0; c < ColumnCount(); ++c) {
            if (c >= content.fixedColumns && c < leftColumn)
                continue;
            if (x >= area.width())
                break;
            const QRect cell(x, y, ColumnWidth(c), DefaultRowHeight);
            x += ColumnWidth(c) + LineWidth;
            painter.drawLine(cell.right() + 1, cell.top(), cell.right() + 1, cell.bottom() + 1);
            painter.drawLine(cell.left(), cell.bottom() + 1, cell.right() + 1, cell.bottom() + 1);
            const bool fixed = c < content.fixedColumns || r < content.fixedRows;
            if (cellPainter)
                cellPainter(painter, c, r, cell, fixed);
            if (!fixed && selection.contains(c, r))
                painter.fillRect(cell, highlight);
        }
    }
}

QRect TTableGrid::Selection() const
{
    if (currentColumn < content.fixedColumns || currentRow < content.fixedRows
        || currentColumn >= ColumnCount() || currentRow >= RowCount())
        return {};
    return QRect(QPoint(std::min(anchorColumn, currentColumn), std::min(anchorRow, currentRow)),
        QPoint(std::max(anchorColumn, currentColumn), std::max(anchorRow, currentRow)));
}

void TTableGrid::SelectCells(int column, int row, int toColumn, int toRow)
{
    const auto clampColumn = [this](int c) {
        return std::clamp(c, content.fixedColumns, std::max(ColumnCount() - 1, 0));
    };
    const auto clampRow
        = [this](int r) { return std::clamp(r, content.fixedRows, std::max(RowCount() - 1, 0)); };
    anchorColumn = clampColumn(column);
    anchorRow = clampRow(row);
    currentColumn = clampColumn(toColumn);
    currentRow = clampRow(toRow);
    viewport()->update();
}

void TTableGrid::CopyCells(const QRect& cells) const
{
    QApplication::clipboard()->setMimeData(
        TableClipboardData(content, cells, QLocale::system().decimalPoint()).release());
}

void TTableGrid::CopySelection() const
{
    if (const QRect cells = Selection(); !cells.isEmpty())
        CopyCells(cells);
}

void TTableGrid::CopyTable() const
{
    CopyCells(QRect(0, 0, ColumnCount(), RowCount()));
}

void TTableGrid::mousePressEvent(QMouseEvent* event)
{
    int column = 0;
    int row = 0;
    if (event->button() == Qt::LeftButton && CellAt(event->position().toPoint(), column, row)
        && column >= content.fixedColumns && row >= content.fixedRows)
        MoveCurrent(column, row, event->modifiers() & Qt::ShiftModifier);
    QAbstractScrollArea::mousePressEvent(event);
}

void TTableGrid::mouseMoveEvent(QMouseEvent* event)
{
    int column = 0;
    int row = 0;
    if ((event->buttons() & Qt::LeftButton) && CellAt(event->position().toPoint(), column, row)
        && column >= content.fixedColumns && row >= content.fixedRows)
        MoveCurrent(column, row, true);
    QAbstractScrollArea::mouseMoveEvent(event);
}

void TTableGrid::MoveCurrent(int column, int row, bool extend)
{
    const int anchorC = extend ? anchorColumn : column;
    const int anchorR = extend ? anchorRow : row;
    SelectCells(anchorC, anchorR, column, row);
    ScrollToCurrent();
}

void TTableGrid::ScrollToCurrent()
{
    const int rows = std::max(1, VisibleRowCount());
    if (currentRow < topRow)
        SetTopRow(currentRow);
    else if (currentRow >= topRow + rows)
        SetTopRow(currentRow - rows + 1);
    if (currentColumn < leftColumn)
        SetLeftColumn(currentColumn);
    while (currentColumn > leftColumn && CellRect(currentColumn, topRow).isEmpty()) {
        const int before = leftColumn;
        SetLeftColumn(leftColumn + 1);
        if (leftColumn == before)
            break;
    }
}

void TTableGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        CopySelection();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        SelectCells(content.fixedColumns, content.fixedRows, ColumnCount() - 1, RowCount() - 1);
        return;
    }
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const int page = std::max(1, VisibleRowCount());
    int column = currentColumn;
    int row = currentRow;
    switch (event->key()) {
    case Qt::Key_Left:
        --column;
        break;
    case Qt::Key_Right:
        ++column;
        break;
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    case Qt::Key_PageUp:
        row -= page;
        break;
    case Qt::Key_PageDown:
        row += page;
        break;
    case Qt::Key_Home:
        column = content.fixedColumns;
        if (event->modifiers() & Qt::ControlModifier)
            row = content.fixedRows;
        break;
    case Qt::Key_End:
        column = ColumnCount() - 1;
        if (event->modifiers() & Qt::ControlModifier)
            row = RowCount() - 1;
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    column = std::clamp(column, content.fixedColumns, std::max(ColumnCount() - 1, 0));
    row = std::clamp(row, content.fixedRows, std::max(RowCount() - 1, 0));
    MoveCurrent(column, row, extend);
}

void TTableGrid::contextMenuEvent(QContextMenuEvent* event)
{
    int column = 0;
    int row = 0;
    if (event->reason() == QContextMenuEvent::Mouse
        && CellAt(viewport()->mapFrom(this, event->pos()), column, row)
        && column >= content.fixedColumns && row >= content.fixedRows
        && !Selection().contains(column, row))
        MoveCurrent(column, row, false);
    QMenu menu(this);
    QAction* copy = menu.addAction(UiText(TextId::TxtCopy), this, &TTableGrid::CopySelection);
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(!Selection().isEmpty());
    menu.addAction(UiText(TextId::TxtCopyTable), this, &TTableGrid::CopyTable);
    menu.exec(event->globalPos());
}
