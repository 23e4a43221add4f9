#include "core/loading/TimeWindow.h"

#include "core/base/KalvexError.h"
#include "core/base/LanguageTable.h"
#include "core/base/Numbers.h"
#include "core/bus/BusVocabulary.h"
#include "core/logdata/DayList.h"
#include "core/logdata/LogAnalysis.h"
#include "core/logdata/OverviewTable.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int FirstPeriodRow = 2;
// Hour positions are read from sums of fractions of a day; this keeps 16:00 at 16.
constexpr double HourEpsilon = 1e-7;

// The 1st of the month `months` months after the 1st of (year, month).
TDateTime FirstOfMonthAfter(int year, int month, int months)
{
    month += months;
    while (month > 12) {
        month -= 12;
        ++year;
    }
    return EncodeDate(year, month, 1);
}

int QuarterStartMonth(int month)
{
    return month - (month - 1) % 3;
}

double HourWindowWidth(int entry)
{
    switch (entry) {
    case SpanOneHour:
        return 1.0 / 24;
    case SpanThreeHours:
        return 0.125;
    default:
        return 1.0 / 3;
    }
}

} // namespace

int PeriodKindOf(int entry)
{
    return entry >= SpanOneMonth && entry <= SpanOneYear ? entry - SpanOneDay : 0;
}

bool IsHourEntry(int entry)
{
    return entry >= SpanOneHour && entry <= SpanEightHours;
}

TTimeSpan ComputeRange(int kind, TDateTime requestedFrom, TDateTime requestedTo)
{
    const CivilDate from = DecodeDate(requestedFrom);
    const TDateTime endDay = std::floor(requestedTo + 1);
    const CivilDate e = DecodeDate(endDay);
    switch (kind) {
    case 1:
        return {EncodeDate(from.year, from.month, 1),
            e.day == 1 ? endDay : FirstOfMonthAfter(e.year, e.month, 1)};
    case 2: {
        const bool quarterStart = e.day == 1 && QuarterStartMonth(e.month) == e.month;
        return {EncodeDate(from.year, QuarterStartMonth(from.month), 1),
            quarterStart ? endDay : FirstOfMonthAfter(e.year, QuarterStartMonth(e.month), 3)};
    }
    case 3:
        return {EncodeDate(from.year, 1, 1),
            e.day == 1 && e.month == 1 ? endDay : EncodeDate(e.year + 1, 1, 1)};
    default:
        return {std::floor(requestedFrom), endDay};
    }
}

TTimeSpan SpanWindow(int entry, TDateTime start, TTimeSpan range)
{
    double s = start;
    double width = 0;
    if (entry >= SpanOneMonth && entry <= SpanOneYear) {
        const CivilDate d = DecodeDate(start);
        const int month = entry == SpanOneMonth ? d.month
            : entry == SpanOneQuarter           ? QuarterStartMonth(d.month)
                                                : 1;
        const int months = entry == SpanOneMonth ? 1 : entry == SpanOneQuarter ? 3 : 12;
        s = EncodeDate(d.year, month, 1);
        width = FirstOfMonthAfter(d.year, month, months) - s;
    } else if (entry == SpanOneDay) {
        width = 1;
        s = std::floor(s);
    } else if (IsHourEntry(entry)) {
        width = HourWindowWidth(entry);
        // The hours stay within their day: a window over midnight ends at midnight.
        if (std::floor(s) != std::floor(s + width))
            s = std::ceil(s) - width;
    } else {
        throw KalvexError("Invalid state");
    }
    if (s + width > range.end)
        s = range.end - width;
    if (s < range.start)
        s = range.start;
    return {s, s + width};
}

int NearestDayIndex(const TDayList& days, TDateTime instant)
{
    const int count = days.Count();
    if (count == 0)
        return 0;
    const int d = static_cast<int>(std::trunc(instant));
    int low = 0;
    int high = count;
    while (low < high) {
        const int mid = (low + high) / 2;
        if (days.DayNumber(mid) < d)
            low = mid + 1;
        else
            high = mid;
    }
    if (low == count)
        return count - 1;
    if (low == 0)
        return 0;
    return d - days.DayNumber(low - 1) < days.DayNumber(low) - d ? low - 1 : low;
}

TSliderState SliderStateFor(int entry, TDateTime start, TTimeSpan range, const TDayList& days)
{
    if (IsHourEntry(entry)) {
        const int hours = static_cast<int>(std::round(HourWindowWidth(entry) * 24));
        return {24 - hours,
            static_cast<int>(std::trunc((start - std::floor(start)) * 24 + HourEpsilon))};
    }
    if (entry == SpanOneDay)
        return {days.Count() - 1, NearestDayIndex(days, start)};
    const CivilDate r0 = DecodeDate(range.start);
    const CivilDate r1 = DecodeDate(range.end);
    const CivilDate s = DecodeDate(start);
    switch (entry) {
    case SpanOneMonth:
        return {std::max((r1.year - r0.year) * 12 + r1.month - r0.month - 1, 0),
            (s.year - r0.year) * 12 + s.month - r0.month};
    case SpanOneQuarter:
        return {std::max((r1.month - r0.month) / 3 + (r1.year - r0.year) * 4 - 1, 0),
            (s.month - r0.month) / 3 + (s.year - r0.year) * 4};
    default:
        return {std::max(r1.year - r0.year - 1, 0), s.year - r0.year};
    }
}

TTimeSpan SliderWindow(int entry, int position, int maximum, TDateTime currentStart,
    TTimeSpan range, const TDayList& days)
{
    const CivilDate r0 = DecodeDate(range.start);
    if (IsHourEntry(entry)) {
        const TDateTime start = std::floor(currentStart) + position / 24.0;
        return {start, start + (24 - maximum) / 24.0};
    }
    switch (entry) {
    case SpanOneDay: {
        if (days.Count() == 0)
            return {std::floor(currentStart), std::floor(currentStart) + 1};
        const TDateTime day = days.DayNumber(std::clamp(position, 0, days.Count() - 1));
        return {day, day + 1};
    }
    case SpanOneMonth:
        return {FirstOfMonthAfter(r0.year, r0.month, position),
            FirstOfMonthAfter(r0.year, r0.month, position + 1)};
    case SpanOneQuarter:
        return {FirstOfMonthAfter(r0.year, r0.month, 3 * position),
            FirstOfMonthAfter(r0.year, r0.month, 3 * position + 3)};
    case SpanOneYear:
        return {EncodeDate(r0.year + position, 1, 1), EncodeDate(r0.year + position + 1, 1, 1)};
    default:
        throw KalvexError("Illegal state.");
    }
}

std::string ChartTitleText(int entry, TTimeSpan window, const std::string& yieldText)
{
    const TDateTime a = std::floor(window.start);
    const TDateTime b = std::floor(window.end - OneMinute);
    std::string text;
    if (PeriodKindOf(entry) != 0) {
        text = FormatDateTime("mmm yyyy", a);
        const CivilDate da = DecodeDate(a);
        const CivilDate db = DecodeDate(b);
        if ((db.year - da.year) * 12 + db.month - da.month > 0)
            text += " - " + FormatDateTime("mmm yyyy", b);
    } else {
        text = FormatDateTime("dd. mmm yyyy", a);
        if (a < b)
            text += " - " + FormatDateTime("dd. mmm yyyy", b);
    }
    if (!yieldText.empty())
        text += "  -  " + yieldText;
    return text;
}

namespace {

// The column of the device's field, from column 1 on; −1 when the table has none.
int ColumnOf(const TOverviewTable& table, int deviceIndex, int field)
{
    if (table.RowCount() < FirstPeriodRow)
        return -1;
    for (int c = 1; c < table.ColumnCount(); ++c)
        if (table.Tag(c, 0) == deviceIndex && table.Tag(c, 1) == field)
            return c;
    return -1;
}

double PeriodSum(const TOverviewTable* table, int column, int fromKey, int toKey)
{
    if (!table || column < 0)
        return 0;
    double sum = 0;
    for (int r = FirstPeriodRow; r < table->RowCount() - 1; ++r) {
        const int key = table->Tag(0, r);
        double value = 0;
        if (key >= fromKey && key < toKey && !table->Text(column, r).empty()
            && TryParseDecimalComma(table->Text(column, r), value))
            sum += value;
    }
    return sum;
}

} // namespace

std::string YieldText(int kind, TDateTime windowStart, const TLogAnalysis* analysis,
    int deviceIndex, const TOverviewTable* monthly, const TOverviewTable* annual)
{
    if (kind < 1 || kind > 3 || !analysis || !analysis->DeviceSettings())
        return {};
    const TDeviceSettings& settings = *analysis->DeviceSettings();
    const CivilDate s = DecodeDate(windowStart);
    const TOverviewTable* table = kind == 3 ? annual : monthly;
    int fromKey = 0;
    int toKey = 0;
    if (kind == 3) {
        fromKey = s.year;
        toKey = s.year + 1;
    } else {
        const int month = kind == 1 ? s.month : QuarterStartMonth(s.month);
        fromKey = DayNumber(EncodeDate(s.year, month, 1));
        toKey = DayNumber(FirstOfMonth(windowStart + (kind == 1 ? 31 : 93)));
    }
    const TextId label = kind == 1 ? TextId::TxtMonthlyYield
        : kind == 2                ? TextId::TxtQuarterlyYield
                                   : TextId::TxtAnnualYield;
    std::string text;
    const int end = std::min(settings.CountUpTo(KindOther), settings.ValueCount());
    for (int n = settings.InputCount(); n < end; ++n) {
        const std::string& name = settings.GetValueName(n);
        if (settings.IsSumValue(n) || name.empty() || (name[0] != 'P' && name[0] != 'V'))
            continue;
        text += text.empty() ? Text(label) + " " : std::string("  -  ");
        text += LogName(name) + ": ";
        const int column = table ? ColumnOf(*table, deviceIndex, n) : -1;
        text += FormatAmount(PeriodSum(table, column, fromKey, toKey)) + " ";
        text += SumUnit(analysis->UnitOf(n));
    }
    return text;
}
