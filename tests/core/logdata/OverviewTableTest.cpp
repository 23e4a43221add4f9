#include "core/logdata/OverviewTable.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(OverviewTable, ResizingKeepsCellsAndFillsNewOnesEmpty)
{
    TOverviewTable table(1, 3);
    table.SetText(0, 0, "Daily overview");
    table.SetTag(0, 2, 45342);

    table.SetColumnCount(3);
    table.SetRowCount(5);
    EXPECT_EQ(table.ColumnCount(), 3);
    EXPECT_EQ(table.RowCount(), 5);
    EXPECT_EQ(table.Text(0, 0), "Daily overview");
    EXPECT_EQ(table.Tag(0, 2), 45342);
    EXPECT_EQ(table.Text(2, 4), "");
    EXPECT_EQ(table.Tag(2, 4), 0);

    // Rows added after a column change have every column.
    table.SetText(2, 4, "0,00");
    table.SetRowCount(2);
    table.SetRowCount(5);
    EXPECT_EQ(table.Text(2, 4), "");
    EXPECT_EQ(table.Text(0, 0), "Daily overview");
}

TEST(OverviewTable, CellsOutsideTheTableAreRefused)
{
    TOverviewTable table(2, 2);
    EXPECT_THROW(table.Cell(2, 0), std::out_of_range);
    EXPECT_THROW(table.Cell(0, 2), std::out_of_range);
    EXPECT_THROW(table.Cell(-1, 0), std::out_of_range);
    table.SetColumnCount(-4);
    EXPECT_EQ(table.ColumnCount(), 0);
    EXPECT_THROW(table.Cell(0, 0), std::out_of_range);
    EXPECT_EQ(TOverviewTable().RowCount(), 0);
}
