#include "core/logdata/OverviewTable.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

TOverviewTable::TOverviewTable(int columns, int rows)
{
    SetColumnCount(columns);
    SetRowCount(rows);
}

void TOverviewTable::SetColumnCount(int count)
{
    columns = std::max(count, 0);
    for (auto& row : rows)
        row.resize(columns);
}

void TOverviewTable::SetRowCount(int count)
{
    rows.resize(std::max(count, 0), std::vector<TOverviewCell>(columns));
}

const TOverviewCell& TOverviewTable::Cell(int column, int row) const
{
    if (column < 0 || column >= columns || row < 0 || row >= RowCount())
        throw std::out_of_range("overview cell (" + std::to_string(column) + ", "
            + std::to_string(row) + ") outside a table of " + std::to_string(columns) + " × "
            + std::to_string(RowCount()));
    return rows[row][column];
}

TOverviewCell& TOverviewTable::Cell(int column, int row)
{
    return const_cast<TOverviewCell&>(std::as_const(*this).Cell(column, row));
}
