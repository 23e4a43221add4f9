#pragma once
// The calendar arithmetic of the analysis window's time navigation: the navigable range
// for a kind of time window, where a window of each kind lies, what a slider position
// means, the chart title and the yields of the displayed period. Time windows are the
// entries of the time-window list: 0 "1 hour", 1 "3 hours", 2 "8 hours", 3 "1 day",
// 4 "1 month", 5 "1 quarter", 6 "1 year".

#include "core/base/DateTime.h"

#include <string>

class TDayList;
class TLogAnalysis;
class TOverviewTable;

enum SpanEntry : int {
    SpanOneHour = 0,
    SpanThreeHours = 1,
    SpanEightHours = 2,
    SpanOneDay = 3,
    SpanOneMonth = 4,
    SpanOneQuarter = 5,
    SpanOneYear = 6,
};

// The period kind of an entry: 0 for the hour and day windows, 1 month, 2 quarter, 3 year.
int PeriodKindOf(int entry);
bool IsHourEntry(int entry);

struct TTimeSpan {
    TDateTime start = 0;
    TDateTime end = 0; // exclusive
};

// The navigable range of a period kind around the requested period (whole days, whole
// months, quarters or years).
TTimeSpan ComputeRange(int kind, TDateTime requestedFrom, TDateTime requestedTo);

// The window an entry shows when it is chosen while the window starts at `start`: the
// calendar month, quarter or year of the start, the whole day, or the hours from the
// start (ending at the next midnight rather than crossing it); kept inside the range.
// An entry outside 0 … 6 fails with "Invalid state".
TTimeSpan SpanWindow(int entry, TDateTime start, TTimeSpan range);

// The index of the listed day nearest to the instant's day; a tie goes to the later day.
// 0 for an empty list.
int NearestDayIndex(const TDayList& days, TDateTime instant);

struct TSliderState {
    int maximum = 0;
    int position = 0;
};

// Slider range and position for a window starting at `start`: the hour it starts at,
// the nearest listed day, or the months, quarters or years after the range start.
TSliderState SliderStateFor(int entry, TDateTime start, TTimeSpan range, const TDayList& days);

// The window a slider position stands for. `currentStart` gives the day of the hour
// windows. An entry outside 0 … 6 fails with "Illegal state.".
TTimeSpan SliderWindow(int entry, int position, int maximum, TDateTime currentStart,
    TTimeSpan range, const TDayList& days);

// The upper chart's title: the first and, when different, the last day ("dd. mmm yyyy")
// or month ("mmm yyyy") of the window, then the yield text.
std::string ChartTitleText(int entry, TTimeSpan window, const std::string& yieldText);

// "Monthly yield Q1: 12,34 [kWh]  -  V1: 567,00 [l]" for the current device over the
// month, quarter or year in which the window starts, read from the monthly or annual
// overview table; empty for the hour and day windows and without an analysis.
std::string YieldText(int kind, TDateTime windowStart, const TLogAnalysis* analysis,
    int deviceIndex, const TOverviewTable* monthly, const TOverviewTable* annual);
