#pragma once
// The three overview tables of an analysis: energy and volume totals per day, per
// calendar month and per calendar year, one column per power or flow value that has day
// totals, grouped by device. Built once at the end of loading; the table view and the
// yield texts read them.
//
// Shape of every table: row 0 holds the title and, over each device's first column, the
// device index (every value column carries it attached); row 1 "Date" and the value
// numbers; then one row per period with the period key attached to column 0; the last
// row "Total".

#include "core/base/DateTime.h"
#include "core/logdata/OverviewTable.h"

#include <memory>
#include <vector>

class TDayList;
class TLogAnalysis;

// One slot per device of the analysis window, in device order; empty slots are null.
using TAnalysisSlots = std::vector<std::unique_ptr<TLogAnalysis>>;

std::unique_ptr<TOverviewTable> BuildDailyOverview(
    const TDayList& days, const TAnalysisSlots& analyses);
// None without a daily table.
std::unique_ptr<TOverviewTable> BuildMonthlyOverview(const TOverviewTable* daily);
// Years are counted from the year of the requested period start; each year's total is
// raised to the device's own year counter when that is larger. None without a monthly
// table.
std::unique_ptr<TOverviewTable> BuildAnnualOverview(
    const TOverviewTable* monthly, TDateTime requestedFrom, const TAnalysisSlots& analyses);

// Sets the title, "Date" and "Total" anew in the current language.
void RelabelOverviewTables(TOverviewTable* daily, TOverviewTable* monthly, TOverviewTable* annual);
