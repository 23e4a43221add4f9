#pragma once
// Time stamps of the log records: a date in day.month.year order with "." or in
// year-month-day order with "-", then a blank and the time of day "hh:mm" with optional
// seconds and milliseconds. Day and month may have one digit, the year two (placed in
// the hundred-year window around the current year) or four. Blanks around are allowed;
// a date in the other order is refused.

#include "core/base/DateTime.h"
#include "core/logdata/PointTimeCode.h"

#include <cstdint>
#include <optional>
#include <string_view>

enum class TDateOrder { DayMonthYear, YearMonthDay };

// The date alone, nothing but blanks after it.
bool TryParseLogDate(std::string_view text, TDateOrder order, TDateTime& result);

// A date with an optional time of day.
bool TryParseLogTimeStamp(std::string_view text, TDateOrder order, TDateTime& result);

// Reads the time stamps of a file's records one after the other. Consecutive records
// carry the same date, so a stamp that starts with the very bytes of the previous one's
// date and the blank after it takes that date without converting it again. Gives what
// TryParseLogTimeStamp gives; the texts must outlive the reader.
class TTimeStampReader {
public:
    bool Parse(std::string_view text, TDateOrder order, TDateTime& result);
    // The point time of `result` as the last Parse gave it, when that stamp took the date
    // before and its time of day was "hh:mm" or "hh:mm:ss": known as day and second, it
    // need not be worked out from the double again.
    std::optional<TPointTime> PlainPointTime(TDateTime result) const
    {
        if (!lastPlain)
            return std::nullopt;
        return TPointTime(result, dayNumber, lastSecond);
    }

private:
    std::string_view datePart; // of the last stamp read: blanks, date, one blank
    TDateOrder dateOrder = TDateOrder::DayMonthYear;
    TDateTime date = 0;
    std::int64_t dayNumber = 0; // date as a whole number
    bool lastPlain = false;
    std::uint32_t lastSecond = 0; // of the day, when lastPlain
};
