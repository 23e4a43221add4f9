#pragma once
// The grid of the table view: cells of texts in rows of 17 and columns of 80 pixels (a
// column grows to fit its text), the header rows and the date column fixed at the top
// and left while the rest scrolls by whole rows and columns. Every cell is painted by
// the cell painter set on the grid. Cells can be selected with mouse and keyboard and
// copied, the selection or the whole table with its header rows and date column.

#include "core/loading/TableContent.h"

#include <QAbstractScrollArea>
#include <QRect>

#include <functional>
#include <map>
#include <vector>

class TTableGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int DefaultColumnWidth = 80;
    static constexpr int DefaultRowHeight = 17;

    // Paints cell (column, row) into its rectangle; fixed for the header rows and column.
    using CellPainter = std::function<void(QPainter&, int column, int row, const QRect&, bool)>;

    explicit TTableGrid(QWidget* parent = nullptr);

    void SetCellPainter(CellPainter painter) { cellPainter = std::move(painter); }

    // New cells: the first column keeps its width, the others start at the default;
    // scrolled back to the top left, the first value cell selected.
    void SetContent(TTableContent content);
    const TTableContent& Content() const { return content; }
    int ColumnCount() const { return content.ColumnCount(); }
    int RowCount() const { return content.RowCount(); }
    int FixedColumns() const { return content.fixedColumns; }
    int FixedRows() const { return content.fixedRows; }

    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);
    // Widens a column after the paint event that found it too narrow; the widest
    // request per column wins.
    void QueueColumnWidth(int column, int width);

    // The first row and column below and right of the fixed ones that is shown.
    int TopRow() const { return topRow; }
    void SetTopRow(int row);
    int LeftColumn() const { return leftColumn; }
    void SetLeftColumn(int column);
    // Rows below the fixed ones that are shown whole.
    int VisibleRowCount() const;

    // The cell's rectangle in the viewport; empty when it is scrolled out of sight.
    QRect CellRect(int column, int row) const;
    // The cell under a viewport point, false over no cell.
    bool CellAt(const QPoint& point, int& column, int& row) const;

    // Selected value cells: columns x … x + width − 1, rows y … y + height − 1.
    QRect Selection() const;
    void SelectCells(int column, int row, int toColumn, int toRow);
    void CopySelection() const;
    void CopyTable() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void CopyCells(const QRect& cells) const;
    int RowsThatFit() const;
    int FixedWidth() const;
    int FixedHeight() const;
    int LastLeftColumn() const;
    void UpdateScrollBars();
    void ApplyQueuedWidths();
    void MoveCurrent(int column, int row, bool extend);
    void ScrollToCurrent();

    TTableContent content;
    std::vector<int> columnWidths{DefaultColumnWidth};
    std::map<int, int> queuedWidths;
    CellPainter cellPainter;
    int topRow = 0;
    int leftColumn = 0;
    int anchorColumn = 0, anchorRow = 0;
    int currentColumn = 0, currentRow = 0;
    bool syncingScrollBars = false;
};
