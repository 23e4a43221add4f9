#pragma once
// The table view's cells: the day totals of the displayed month (three months for a
// quarter window) or the month totals of the whole analysis, copied out of the overview
// tables, with device names, amount names and units in the header rows and a "Total" row.
//
// Layout: row 0 the title and, over each device's first column, the device's name; row 1
// "Date" and "amount name [amount unit]"; then one row per day or month (column 0 carries
// its day number attached); the last row "Total".

#include "core/base/DateTime.h"
#include "core/loading/Overview.h"
#include "core/logdata/OverviewTable.h"

// The time-window kinds of the window's list: 0 "1 hour" … 5 "1 quarter", 6 "1 year".
constexpr int SpanTimeQuarter = 5;
constexpr int SpanTimeYear = 6;

struct TTableContent {
    TOverviewTable cells{1, 1};
    int fixedColumns = 0;
    int fixedRows = 0;

    int ColumnCount() const { return cells.ColumnCount(); }
    int RowCount() const { return cells.RowCount(); }
    const std::string& Text(int column, int row) const { return cells.Text(column, row); }
};

// The day range [first, end) of the table for windows up to a quarter: from the 1st of
// the month of the window start to the 1st of the next month (three months later for a
// quarter, across the year end).
void TableWindowBounds(TDateTime windowStart, int spanTime, int& firstDay, int& endDay);

// Fixed rows: 2 when the table has more than three rows, else one less than its rows;
// fixed columns: 1 when it has more than two columns, else one less than its columns.
void SetFixedCounts(TTableContent& table);

// What the table is built from: the window's overview tables and analyses, the selected
// device (or all devices on the "Overview" tab), the time-window kind and the window start.
struct TTableSource {
    const TOverviewTable* daily = nullptr;
    const TOverviewTable* monthly = nullptr;
    const TAnalysisSlots* analyses = nullptr;
    TLogAnalysis* currentAnalysis = nullptr;
    bool overviewTab = false;
    int spanTime = 3;
    TDateTime windowStart = 0;
};

// Without the overview table it needs, the table is a single empty cell. A column whose
// header or values cannot be read keeps what it had reached; the others are filled.
TTableContent BuildTableContent(const TTableSource& source);
