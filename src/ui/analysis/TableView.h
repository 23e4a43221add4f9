#pragma once
// The table view of an analysis window: fills its grid with the day or month totals of
// the displayed time window, paints the grid's cells and scrolls it one row per wheel
// notch.

#include "core/loading/TableContent.h"

#include <QObject>

class QPainter;
class QRect;
class TTableGrid;

class TTableView : public QObject {
    Q_OBJECT
public:
    // The margin around a cell's text on screen.
    static constexpr int ScreenMargin = 3;

    explicit TTableView(TTableGrid& grid, QObject* parent = nullptr);
    ~TTableView() override;

    // Rebuilds the grid from the overview tables for the time window.
    void FillTable(const TTableSource& source);

    void GridDrawCell(QPainter& canvas, int column, int row, const QRect& rect, bool fixed);
    void GridMouseWheelUp();
    void GridMouseWheelDown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TTableGrid& grid;
};
