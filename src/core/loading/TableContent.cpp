#include "core/loading/TableContent.h"

#include "core/base/LanguageTable.h"
#include "core/base/Numbers.h"
#include "core/bus/BusVocabulary.h"
#include "core/logdata/LogAnalysis.h"
#include "core/settings/DeviceSettings.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int FirstPeriodRow = 2;

// The slot of the analysis in the window's list; −1 when it is none of them.
int DeviceIndexOf(const TAnalysisSlots& analyses, const TLogAnalysis* analysis)
{
    for (size_t i = 0; i < analyses.size(); ++i)
        if (analysis && analyses[i].get() == analysis)
            return static_cast<int>(i);
    return -1;
}

// The value columns shown: all of them on the "Overview" tab, else the selected device's.
std::vector<int> ShownColumns(const TOverviewTable& from, const TTableSource& source)
{
    const int device
        = source.analyses ? DeviceIndexOf(*source.analyses, source.currentAnalysis) : -1;
    std::vector<int> columns;
    for (int c = 1; c < from.ColumnCount(); ++c)
        if (source.overviewTab || from.Tag(c, 0) == device)
            columns.push_back(c);
    return columns;
}

TTableContent DayTable(const TOverviewTable& daily, const TTableSource& source)
{
    int firstDay = 0;
    int endDay = 0;
    TableWindowBounds(source.windowStart, source.spanTime, firstDay, endDay);
    const int totalRow = daily.RowCount() - 1;
    int first = FirstPeriodRow;
    while (first < totalRow && daily.Tag(0, first) < firstDay)
        ++first;
    int end = first;
    while (end < totalRow && daily.Tag(0, end) < endDay)
        ++end;
    const int n = end - first;

    const std::vector<int> columns = ShownColumns(daily, source);
    TTableContent table;
    table.cells = TOverviewTable(1 + static_cast<int>(columns.size()), n + 3);
    TOverviewTable& cells = table.cells;
    const auto copyColumn = [&](int from, int to) {
        cells.Cell(to, 0) = daily.Cell(from, 0);
        cells.Cell(to, 1) = daily.Cell(from, 1);
        for (int i = 0; i < n; ++i)
            cells.Cell(to, FirstPeriodRow + i) = daily.Cell(from, first + i);
    };
    copyColumn(0, 0);
    cells.SetText(0, n + 2, Text(TextId::TxtTotal));
    for (size_t i = 0; i < columns.size(); ++i)
        copyColumn(columns[i], 1 + static_cast<int>(i));
    cells.SetText(0, 0, Text(TextId::TxtDailyOverview));
    for (int r = FirstPeriodRow; r < n + 2; ++r)
        cells.SetText(0, r, FormatDateTime("dd. mmm. yyyy", cells.Tag(0, r)));
    return table;
}

TTableContent MonthTable(const TOverviewTable& monthly, const TTableSource& source)
{
    std::vector<int> columns = ShownColumns(monthly, source);
    columns.insert(columns.begin(), 0);
    TTableContent table;
    table.cells = TOverviewTable(static_cast<int>(columns.size()), monthly.RowCount());
    for (size_t i = 0; i < columns.size(); ++i)
        for (int r = 0; r < monthly.RowCount(); ++r)
            table.cells.Cell(static_cast<int>(i), r) = monthly.Cell(columns[i], r);
    return table;
}

int ReadIndex(const std::string& text)
{
    size_t used = 0;
    const int index = std::stoi(text, &used);
    if (used != text.size())
        throw std::invalid_argument(text);
    return index;
}

struct DevicePair {
    TLogAnalysis* analysis = nullptr;
    TDeviceSettings* settings = nullptr;
};

DevicePair PairOf(TLogAnalysis* analysis)
{
    return {analysis, analysis ? analysis->DeviceSettings() : nullptr};
}

TDeviceSettings& Settings(const DevicePair& pair)
{
    if (!pair.settings)
        throw std::invalid_argument("no device settings");
    return *pair.settings;
}

void LabelAndSumColumn(TOverviewTable& cells, int c, DevicePair& pair, const TTableSource& source)
{
    const int totalRow = cells.RowCount() - 1;
    if (!cells.Text(c, 0).empty()) {
        const int device = ReadIndex(cells.Text(c, 0));
        if (!source.analyses || device < 0 || device >= static_cast<int>(source.analyses->size()))
            throw std::out_of_range("device index");
        pair = PairOf((*source.analyses)[device].get());
        cells.SetText(c, 0, Settings(pair).GetDisplayName());
    }
    if (!cells.Text(c, 1).empty()) {
        const int value = ReadIndex(cells.Text(c, 1));
        TDeviceSettings& settings = Settings(pair);
        // A power's amount is its energy (P → Q), a rate's unit that of its amount.
        cells.SetText(
            c, 1, LogName(settings.GetLabel(value)) + " " + SumUnit(settings.GetUnit(value)));
    }
    double sum = 0;
    for (int r = FirstPeriodRow; r < totalRow; ++r) {
        const std::string& text = cells.Text(c, r);
        double amount = 0;
        if (text.empty())
            continue;
        if (!TryParseDecimalComma(text, amount))
            throw std::invalid_argument(text);
        sum += amount;
    }
    cells.SetText(c, totalRow, FormatAmount(sum));
}

} // namespace

void TableWindowBounds(TDateTime windowStart, int spanTime, int& firstDay, int& endDay)
{
    const CivilDate start = DecodeDate(windowStart);
    int year = start.year;
    int month = start.month + (spanTime == SpanTimeQuarter ? 3 : 1);
    if (month > 12) {
        month -= 12;
        ++year;
    }
    firstDay = DayNumber(EncodeDate(start.year, start.month, 1));
    endDay = DayNumber(EncodeDate(year, month, 1));
}

void SetFixedCounts(TTableContent& table)
{
    const int rows = table.RowCount();
    const int columns = table.ColumnCount();
    table.fixedRows = rows - 1 > 2 ? 2 : std::max(rows - 1, 0);
    table.fixedColumns = columns - 1 > 1 ? 1 : std::max(columns - 1, 0);
}

TTableContent BuildTableContent(const TTableSource& source)
{
    const bool months = source.spanTime == SpanTimeYear;
    const TOverviewTable* from = months ? source.monthly : source.daily;
    TTableContent table;
    // An overview table always has its two header rows and its total row.
    if (from && from->RowCount() >= 3 && from->ColumnCount() >= 1) {
        table = months ? MonthTable(*from, source) : DayTable(*from, source);
        DevicePair pair = PairOf(source.currentAnalysis);
        for (int c = 1; c < table.ColumnCount(); ++c) {
            try {
                LabelAndSumColumn(table.cells, c, pair, source);
            } catch (const std::exception&) {
                // This column stays as far as it got; the others are still filled.
            }
        }
    }
    SetFixedCounts(table);
    return table;
}
