#include "core/loading/Overview.h"

#include "core/base/LanguageTable.h"
#include "core/base/Numbers.h"
#include "core/logdata/DayList.h"
#include "core/logdata/LogAnalysis.h"

#include <map>
#include <string>

namespace {

constexpr int FirstPeriodRow = 2;

// Totals are read back in the notation they were written in; an empty cell counts 0.
double Amount(const TOverviewTable& table, int column, int row)
{
    double value = 0;
    if (!TryParseDecimalComma(table.Text(column, row), value))
        return 0;
    return value;
}

void CopyRow(const TOverviewTable& from, int fromRow, TOverviewTable& to, int toRow)
{
    for (int c = 0; c < from.ColumnCount(); ++c)
        to.Cell(c, toRow) = from.Cell(c, fromRow);
}

// Writes into row `row` of `to` the column sums of `from` over rows first … last.
void WriteSums(const TOverviewTable& from, int first, int last, TOverviewTable& to, int row)
{
    for (int c = 1; c < from.ColumnCount(); ++c) {
        double sum = 0;
        for (int r = first; r <= last; ++r)
            sum += Amount(from, c, r);
        to.SetText(c, row, FormatAmount(sum));
    }
}

void Label(TOverviewTable& table, TextId title)
{
    table.SetText(0, 0, Text(title));
    table.SetText(0, 1, Text(TextId::TxtDate));
    table.SetText(0, table.RowCount() - 1, Text(TextId::TxtTotal));
}

bool IsPowerOrFlow(const std::string& name)
{
    return !name.empty() && (name[0] == 'P' || name[0] == 'V');
}

void AddDeviceColumns(TOverviewTable& table, int device, TLogAnalysis& analysis)
{
    const TDeviceSettings* settings = analysis.DeviceSettings();
    if (!settings)
        return;
    bool first = true;
    const int end = settings->InputCount() + settings->OtherCount();
    for (int n = settings->InputCount(); n < end; ++n) {
        const std::string& name = settings->GetValueName(n);
        int dayTotal = -1;
        if (settings->IsSumValue(n) || !IsPowerOrFlow(name)
            || !settings->IndexOfValue(name + "tag", dayTotal))
            continue;
        const int c = table.ColumnCount();
        table.SetColumnCount(c + 1);
        table.SetText(c, 0, first ? std::to_string(device) : std::string());
        table.SetTag(c, 0, device);
        table.SetText(c, 1, std::to_string(n));
        table.SetTag(c, 1, n);
        first = false;
        analysis.FillDayColumn(dayTotal, &table, c);
    }
}

} // namespace

std::unique_ptr<TOverviewTable> BuildDailyOverview(
    const TDayList& days, const TAnalysisSlots& analyses)
{
    auto table = std::make_unique<TOverviewTable>(1, days.Count() + 3);
    Label(*table, TextId::TxtDailyOverview);
    for (int i = 0; i < days.Count(); ++i) {
        table->SetText(0, FirstPeriodRow + i, std::to_string(days.DayNumber(i)));
        table->SetTag(0, FirstPeriodRow + i, days.DayNumber(i));
    }
    for (size_t d = 0; d < analyses.size(); ++d) {
        if (analyses[d])
            AddDeviceColumns(*table, static_cast<int>(d), *analyses[d]);
    }
    return table;
}

std::unique_ptr<TOverviewTable> BuildMonthlyOverview(const TOverviewTable* daily)
{
    if (!daily)
        return nullptr;
    auto table = std::make_unique<TOverviewTable>(daily->ColumnCount(), 2);
    CopyRow(*daily, 0, *table, 0);
    CopyRow(*daily, 1, *table, 1);
    table->SetText(0, 0, Text(TextId::TxtMonthlyOverview));

    // Day rows by month (yyyymm), in ascending order.
    std::map<int, std::pair<int, int>> months; // key → first and last day row
    const int lastDayRow = daily->RowCount() - 2;
    for (int r = FirstPeriodRow; r <= lastDayRow; ++r) {
        const CivilDate date = DecodeDate(daily->Tag(0, r));
        const int key = date.year * 100 + date.month;
        auto [it, added] = months.try_emplace(key, r, r);
        if (!added)
            it->second.second = r;
    }
    for (const auto& [key, rows] : months) {
        const int row = table->RowCount();
        table->SetRowCount(row + 1);
        const TDateTime firstOfMonth = EncodeDate(key / 100, key % 100, 1);
        table->SetText(0, row, FormatDateTime("mmm. yyyy", firstOfMonth));
        table->SetTag(0, row, DayNumber(firstOfMonth));
        // The day rows are sorted, so a month's rows follow each other.
        WriteSums(*daily, rows.first, rows.second, *table, row);
    }
    const int totalRow = table->RowCount();
    table->SetRowCount(totalRow + 1);
    CopyRow(*daily, daily->RowCount() - 1, *table, totalRow);
    return table;
}

std::unique_ptr<TOverviewTable> BuildAnnualOverview(
    const TOverviewTable* monthly, TDateTime requestedFrom, const TAnalysisSlots& analyses)
{
    if (!monthly)
        return nullptr;
    auto table = std::make_unique<TOverviewTable>(monthly->ColumnCount(), monthly->RowCount());
    CopyRow(*monthly, 0, *table, 0);
    CopyRow(*monthly, 1, *table, 1);
    table->SetText(0, 0, Text(TextId::TxtAnnualOverview));

    int year = DecodeDate(requestedFrom).year;
    int groupStart = FirstPeriodRow;
    int row = FirstPeriodRow;
    auto writeYear = [&](int lastMonthRow) {
        // A period that starts in a year without data gets a zero row for it, so the
        // table can have one row more than there are months.
        if (row + 1 >= table->RowCount())
            table->SetRowCount(row + 2);
        table->SetText(0, row, std::to_string(year));
        table->SetTag(0, row, year);
        WriteSums(*monthly, groupStart, lastMonthRow, *table, row);
        ++row;
    };
    const int lastMonthRow = monthly->RowCount() - 2;
    for (int m = FirstPeriodRow; m <= lastMonthRow; ++m) {
        const int monthYear = DecodeDate(monthly->Tag(0, m)).year;
        if (monthYear <= year)
            continue;
        writeYear(m - 1);
        groupStart = m;
        year = monthYear;
    }
    if (groupStart <= lastMonthRow)
        writeYear(lastMonthRow);
    // The last row stays empty: its label comes with the next relabelling.
    table->SetRowCount(row + 1);

    for (int c = 1; c < table->ColumnCount(); ++c) {
        const int device = table->Tag(c, 0);
        if (device >= 0 && device < static_cast<int>(analyses.size()) && analyses[device])
            analyses[device]->FillYearMaxColumn(table.get(), c, table->Tag(c, 1));
    }
    return table;
}

void RelabelOverviewTables(TOverviewTable* daily, TOverviewTable* monthly, TOverviewTable* annual)
{
    const std::pair<TOverviewTable*, TextId> tables[] = {{daily, TextId::TxtDailyOverview},
        {monthly, TextId::TxtMonthlyOverview}, {annual, TextId::TxtAnnualOverview}};
    for (const auto& [table, title] : tables) {
        if (table && table->ColumnCount() >= 1 && table->RowCount() > 1)
            Label(*table, title);
    }
}
