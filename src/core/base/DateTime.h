#pragma once
// Date-times as the whole program keeps them: days since 30 December 1899 with the
// time of day as the fraction (one minute is 1/1440).

#include <string>
#include <string_view>

using TDateTime = double;

constexpr double MinutesPerDay = 1440.0;
constexpr double OneMinute = 1.0 / MinutesPerDay;
constexpr double OneHour = 1.0 / 24.0;
// The end of 31 December 9999, the last day a date-time can be encoded and decoded as.
constexpr TDateTime EndOfDateRange = 2958466.0;

struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

bool IsValidDate(int year, int month, int day);
int DaysInMonth(int year, int month);

// False (and nothing written) for an impossible date or a year outside 1 … 9999.
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, double& result);
// A two-digit year yy placed in the window from C − 50 to C + 49, C being the current
// year (with C = 2024: 73 gives 2073, 74 gives 1974).
int ExpandTwoDigitYear(int yy);
int ExpandTwoDigitYear(int yy, int currentYear);

// Throws std::invalid_argument for an impossible date.
TDateTime EncodeDate(int year, int month, int day);

CivilDate DecodeDate(TDateTime t);
TimeOfDay DecodeTime(TDateTime t);

// The whole day a date-time lies in (the integer part, rounded toward minus infinity).
int DayNumber(TDateTime t);

// The 1st of the month that follows the month of t (December rolls over).
TDateTime FirstOfNextMonth(TDateTime t);
TDateTime FirstOfMonth(TDateTime t);

// Month names of the system locale, 1 … 12. Short names carry no trailing full stop,
// so that patterns such as "mmm. yyyy" never show two.
std::string LongMonthName(int month);
std::string ShortMonthName(int month);

// Formats with the date-time patterns used across the program: d, dd, m, mm, mmm, mmmm,
// yy, yyyy, h, hh, n, nn, s, ss ("m" or "mm" right after an hour means minutes), text in
// double or single quotes literally, every other character as it is.
std::string FormatDateTime(std::string_view pattern, TDateTime t);
