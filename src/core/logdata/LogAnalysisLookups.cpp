// Lookups of the views: the file of a time, and the overview columns.

#include "core/logdata/LogAnalysis.h"

#include "core/base/Numbers.h"
#include "core/logdata/OverviewTable.h"

#include <cmath>

std::string TLogAnalysis::FileOfDay(TDateTime t) const
{
    const double wholeDay = std::trunc(t);
    for (int i = 0; i < DayCount() && i < FileCount(); ++i)
        if (days[i].dayDate == wholeDay)
            return files[i];
    return {};
}

void TLogAnalysis::FillDayColumn(int field, TOverviewTable* grid, int column) const
{
    if (field < 0 || field >= FieldRecordCount() || !grid || column < 0
        || column >= grid->ColumnCount() || grid->RowCount() <= 2 || !fields[field].series)
        return;
    const TPointSeries& points = fields[field].series->Points();
    const int lastRow = grid->RowCount() - 1;
    double total = 0;
    int i = 0;
    for (int row = 2; row < lastRow; ++row) {
        grid->SetText(column, row, "0,00");
        const double midday = grid->Tag(0, row) + 0.5;
        while (i < points.Count() && points.X(i) < midday)
            ++i;
        if (i < points.Count() && points.X(i) == midday && !points.IsNull(i)) {
            grid->SetText(column, row, FormatAmount(points.Y(i)));
            total += points.Y(i);
        }
    }
    grid->SetText(column, lastRow, FormatAmount(total));
}

void TLogAnalysis::FillYearMaxColumn(TOverviewTable* grid, int column, int field) const
{
    if (!grid || !deviceSettings || field < 0 || field >= deviceSettings->ValueCount() || column < 0
        || column >= grid->ColumnCount())
        return;
    const TFieldSeries* yearCounter
        = Series(FieldIndex(deviceSettings->GetValueName(field) + "jahr"));
    if (!yearCounter || yearCounter->Points().IsEmpty())
        return;
    const TPointSeries& points = yearCounter->Points();
    int i = points.Count() - 1;
    for (int row = grid->RowCount() - 2; row >= 2; --row) {
        const int year = grid->Tag(0, row);
        TDateTime nextYear = 0;
        if (!TryEncodeDate(year + 1, 1, 1, nextYear))
            continue;
        while (i >= 0 && (points.X(i) >= nextYear || points.IsNull(i)))
            --i;
        if (i < 0)
            break;
        if (DecodeDate(points.X(i)).year != year)
            continue;
        double current = 0;
        if (const std::string& text = grid->Text(column, row); !text.empty())
            TryParseDecimalComma(text, current);
        if (points.Y(i) > current)
            grid->SetText(column, row, FormatAmount(points.Y(i)));
    }
}
