#pragma once
// A plain table of cells for the overview totals: every cell holds a text (UTF-8) and an
// attached 32-bit integer. Addressed as (column, row), like the grids that show it.

#include <cstdint>
#include <string>
#include <vector>

struct TOverviewCell {
    std::string text;
    std::int32_t tag = 0;
};

class TOverviewTable {
public:
    TOverviewTable() = default;
    TOverviewTable(int columns, int rows);

    int ColumnCount() const { return columns; }
    int RowCount() const { return static_cast<int>(rows.size()); }

    // Growing adds empty cells with tag 0; shrinking drops the cells beyond the new size.
    // Negative counts are taken as 0.
    void SetColumnCount(int count);
    void SetRowCount(int count);

    // Access outside the table throws std::out_of_range.
    const TOverviewCell& Cell(int column, int row) const;
    TOverviewCell& Cell(int column, int row);

    const std::string& Text(int column, int row) const { return Cell(column, row).text; }
    void SetText(int column, int row, std::string text)
    {
        Cell(column, row).text = std::move(text);
    }
    std::int32_t Tag(int column, int row) const { return Cell(column, row).tag; }
    void SetTag(int column, int row, std::int32_t tag) { Cell(column, row).tag = tag; }

private:
    int columns = 0;
    std::vector<std::vector<TOverviewCell>> rows;
};
