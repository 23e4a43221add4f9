#include "core/base/DateTime.h"

#include <QDate>
#include <QLocale>
#include <QString>

#include <cmath>
#include <stdexcept>
#include <vector>

namespace {

// Days from 1 January 1970 of a civil date (proleptic Gregorian calendar).
long long DaysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

CivilDate CivilFromDays(long long z)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

const long long DelphiEpochFromUnix = DaysFromCivil(1899, 12, 30);

constexpr long long MillisecondsPerDay = 86400000LL;

// Splits a date-time into whole days and milliseconds of the day, rounding to the
// nearest millisecond so that 12:30 never reads as 12:29:59.999.
void SplitDateTime(TDateTime t, long long& days, long long& ms)
{
    days = static_cast<long long>(std::floor(t));
    ms = std::llround((t - static_cast<double>(days)) * MillisecondsPerDay);
    if (ms >= MillisecondsPerDay) {
        ++days;
        ms -= MillisecondsPerDay;
    }
}

constexpr int MinutesPerDayCount = 1440;

double DayFraction(int hour, int minute, int second, int millisecond)
{
    return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond)
        / static_cast<double>(MillisecondsPerDay);
}

void AppendNumber(std::string& out, int value, int digits)
{
    std::string text = std::to_string(value);
    if (static_cast<int>(text.size()) < digits)
        out.append(digits - text.size(), '0');
    out += text;
}

int CountRun(std::string_view pattern, size_t i, char c)
{
    int n = 0;
    while (i + n < pattern.size() && (pattern[i + n] | 0x20) == c)
        ++n;
    return n;
}

} // namespace

bool IsValidDate(int year, int month, int day)
{
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1
        && day <= DaysInMonth(year, month);
}

int DaysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return days[month - 1] + (month == 2 && leap ? 1 : 0);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result)
{
    if (!IsValidDate(year, month, day))
        return false;
    result = static_cast<double>(DaysFromCivil(year, month, day) - DelphiEpochFromUnix);
    return true;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, double& result)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59
        || millisecond < 0 || millisecond > 999)
        return false;
    // Log records mostly fall on whole minutes: their times are worked out once.
    static const std::vector<double> minutes = [] {
        std::vector<double> times(MinutesPerDayCount);
        for (int m = 0; m < MinutesPerDayCount; ++m)
            times[static_cast<size_t>(m)] = DayFraction(m / 60, m % 60, 0, 0);
        return times;
    }();
    result = second == 0 && millisecond == 0 ? minutes[static_cast<size_t>(hour * 60 + minute)]
                                             : DayFraction(hour, minute, second, millisecond);
    return true;
}

int ExpandTwoDigitYear(int yy, int currentYear)
{
    const int windowStart = currentYear - 50;
    int year = 100 * (windowStart / 100) + yy;
    if (year < windowStart)
        year += 100;
    return year;
}

int ExpandTwoDigitYear(int yy)
{
    // Read once: log time stamps may ask for it on every record.
    static const int currentYear = QDate::currentDate().year();
    return ExpandTwoDigitYear(yy, currentYear);
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime t = 0;
    if (!TryEncodeDate(year, month, day, t))
        throw std::invalid_argument("invalid date");
    return t;
}

CivilDate DecodeDate(TDateTime t)
{
    long long days = 0, ms = 0;
    SplitDateTime(t, days, ms);
    return CivilFromDays(days + DelphiEpochFromUnix);
}

TimeOfDay DecodeTime(TDateTime t)
{
    long long days = 0, ms = 0;
    SplitDateTime(t, days, ms);
    TimeOfDay time;
    time.hour = static_cast<int>(ms / 3600000);
    time.minute = static_cast<int>(ms / 60000 % 60);
    time.second = static_cast<int>(ms / 1000 % 60);
    time.millisecond = static_cast<int>(ms % 1000);
    return time;
}

int DayNumber(TDateTime t)
{
    return static_cast<int>(std::floor(t));
}

TDateTime FirstOfMonth(TDateTime t)
{
    const CivilDate d = DecodeDate(t);
    return EncodeDate(d.year, d.month, 1);
}

TDateTime FirstOfNextMonth(TDateTime t)
{
    // The day after the month's last, so December 9999 ends at the end of the range.
    const CivilDate d = DecodeDate(t);
    return EncodeDate(d.year, d.month, DaysInMonth(d.year, d.month)) + 1;
}

std::string LongMonthName(int month)
{
    return QLocale::system().standaloneMonthName(month, QLocale::LongFormat).toStdString();
}

std::string ShortMonthName(int month)
{
    QString name = QLocale::system().monthName(month, QLocale::ShortFormat);
    if (name.endsWith(u'.'))
        name.chop(1);
    return name.toStdString();
}

std::string FormatDateTime(std::string_view pattern, TDateTime t)
{
    const CivilDate date = DecodeDate(t);
    const TimeOfDay time = DecodeTime(t);
    std::string out;
    bool afterHour = false;
    size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        const char lower = static_cast<char>(c | 0x20);
        if (c == '"' || c == '\'') {
            const size_t close = pattern.find(c, i + 1);
            const size_t end = close == std::string_view::npos ? pattern.size() : close;
            out.append(pattern.substr(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        if (lower == 'd' || lower == 'm' || lower == 'y' || lower == 'h' || lower == 'n'
            || lower == 's') {
            const int run = CountRun(pattern, i, lower);
            switch (lower) {
            case 'd':
                AppendNumber(out, date.day, run >= 2 ? 2 : 1);
                break;
            case 'm':
                if (afterHour && run <= 2)
                    AppendNumber(out, time.minute, run);
                else if (run >= 4)
                    out += LongMonthName(date.month);
                else if (run == 3)
                    out += ShortMonthName(date.month);
                else
                    AppendNumber(out, date.month, run);
                break;
            case 'y':
                if (run <= 2)
                    AppendNumber(out, date.year % 100, 2);
                else
                    AppendNumber(out, date.year, 4);
                break;
            case 'h':
                AppendNumber(out, time.hour, run >= 2 ? 2 : 1);
                break;
            case 'n':
                AppendNumber(out, time.minute, run >= 2 ? 2 : 1);
                break;
            case 's':
                AppendNumber(out, time.second, run >= 2 ? 2 : 1);
                break;
            }
            afterHour = lower == 'h';
            i += run;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}
