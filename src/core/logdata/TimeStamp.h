#pragma once
// Time stamps of the log records: a date in day.month.year order with "." or in
// year-month-day order with "-", then a blank and the time of day "hh:mm" with optional
// seconds and milliseconds. Day and month may have one digit, the year two (placed in
// the hundred-year window around the current year) or four. Blanks around are allowed;
// a date in the other order is refused.

#include "core/base/DateTime.h"

#include <string_view>

enum class TDateOrder { DayMonthYear, YearMonthDay };

// The date alone, nothing but blanks after it.
bool TryParseLogDate(std::string_view text, TDateOrder order, TDateTime& result);

// A date with an optional time of day.
bool TryParseLogTimeStamp(std::string_view text, TDateOrder order, TDateTime& result);
