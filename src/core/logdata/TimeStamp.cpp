#include "core/logdata/TimeStamp.h"

#include "core/logdata/TextWords.h"

namespace {

// Whether `text` begins with `part`. A date with its blank is 8 to 16 bytes long, and is
// compared as two words that may overlap, rather than by a call per record.
bool BeginsWith(std::string_view text, std::string_view part)
{
    const size_t n = part.size();
    if (n < 8 || n > 16 || text.size() < n)
        return text.starts_with(part);
    return LoadWord(text.data()) == LoadWord(part.data())
        && LoadWord(text.data() + n - 8) == LoadWord(part.data() + n - 8);
}

class TCursor {
public:
    explicit TCursor(std::string_view text)
        : text(text)
    {
    }

    bool AtEnd() const { return pos == text.size(); }
    size_t Position() const { return pos; }

    bool RestIsBlank()
    {
        SkipBlanks();
        return AtEnd();
    }

    void SkipBlanks()
    {
        while (pos < text.size() && text[pos] == ' ')
            ++pos;
    }

    bool Take(char c)
    {
        if (pos < text.size() && text[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    }

    // Reads 1 … maxDigits decimal digits; returns how many were read.
    int Number(int maxDigits, int& value)
    {
        value = 0;
        int digits = 0;
        while (pos < text.size() && digits < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
            value = value * 10 + (text[pos] - '0');
            ++pos;
            ++digits;
        }
        return digits;
    }

private:
    std::string_view text;
    size_t pos = 0;
};

bool ReadYear(TCursor& cursor, int& year)
{
    const int digits = cursor.Number(4, year);
    if (digits == 1 || digits == 2) {
        year = ExpandTwoDigitYear(year);
        return true;
    }
    return digits == 4;
}

bool ReadDate(TCursor& cursor, TDateOrder order, TDateTime& date)
{
    int day = 0, month = 0, year = 0;
    if (order == TDateOrder::DayMonthYear) {
        if (!cursor.Number(2, day) || !cursor.Take('.') || !cursor.Number(2, month)
            || !cursor.Take('.') || !ReadYear(cursor, year))
            return false;
    } else {
        if (!ReadYear(cursor, year) || !cursor.Take('-') || !cursor.Number(2, month)
            || !cursor.Take('-') || !cursor.Number(2, day))
            return false;
    }
    return TryEncodeDate(year, month, day, date);
}

bool ReadTime(TCursor& cursor, double& time)
{
    int hour = 0, minute = 0, second = 0, millisecond = 0;
    if (!cursor.Number(2, hour) || !cursor.Take(':') || !cursor.Number(2, minute))
        return false;
    if (cursor.Take(':')) {
        if (!cursor.Number(2, second))
            return false;
        if (cursor.Take('.') && !cursor.Number(3, millisecond))
            return false;
    }
    return TryEncodeTime(hour, minute, second, millisecond, time);
}

// After the date: nothing but blanks, or a blank and the time of day.
bool ReadTimeOfDay(TCursor& cursor, bool blank, double& time)
{
    return cursor.RestIsBlank() || (blank && ReadTime(cursor, time) && cursor.RestIsBlank());
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int TwoDigits(const char* at)
{
    return (at[0] - '0') * 10 + (at[1] - '0');
}

// The time of day as loggers write it, "hh:mm" or "hh:mm:ss" and nothing after, as the
// second of the day, read without the cursor; false for any other form, which the cursor
// then reads.
bool ReadPlainTimeOfDay(std::string_view text, std::uint32_t& secondOfDay)
{
    const char* at = text.data();
    if ((text.size() != 5 && text.size() != 8) || !IsDigit(at[0]) || !IsDigit(at[1]) || at[2] != ':'
        || !IsDigit(at[3]) || !IsDigit(at[4]))
        return false;
    int second = 0;
    if (text.size() == 8) {
        if (at[5] != ':' || !IsDigit(at[6]) || !IsDigit(at[7]))
            return false;
        second = TwoDigits(at + 6);
    }
    const int hour = TwoDigits(at);
    const int minute = TwoDigits(at + 3);
    if (hour > 23 || minute > 59 || second > 59)
        return false;
    secondOfDay = static_cast<std::uint32_t>((hour * 60 + minute) * 60 + second);
    return true;
}

} // namespace

bool TryParseLogDate(std::string_view text, TDateOrder order, TDateTime& result)
{
    TCursor cursor(text);
    cursor.SkipBlanks();
    TDateTime date = 0;
    if (!ReadDate(cursor, order, date) || !cursor.RestIsBlank())
        return false;
    result = date;
    return true;
}

bool TryParseLogTimeStamp(std::string_view text, TDateOrder order, TDateTime& result)
{
    TCursor cursor(text);
    cursor.SkipBlanks();
    TDateTime date = 0;
    if (!ReadDate(cursor, order, date))
        return false;
    const bool blank = cursor.Take(' ');
    double time = 0;
    if (!ReadTimeOfDay(cursor, blank, time))
        return false;
    result = date + time;
    return true;
}

bool TTimeStampReader::Parse(std::string_view text, TDateOrder order, TDateTime& result)
{
    // The date reading stops at the blank, so equal bytes up to it give the same date.
    if (!datePart.empty() && order == dateOrder && BeginsWith(text, datePart)) {
        const std::string_view timeOfDay = text.substr(datePart.size());
        // The quotient of whole seconds is the one the time's milliseconds give.
        if (ReadPlainTimeOfDay(timeOfDay, lastSecond)) {
            lastPlain = true;
            result = date + PointTimes::DayFraction(lastSecond);
            return true;
        }
        lastPlain = false;
        double time = 0;
        TCursor cursor(timeOfDay);
        if (!ReadTimeOfDay(cursor, true, time))
            return false;
        result = date + time;
        return true;
    }
    lastPlain = false;
    TCursor cursor(text);
    cursor.SkipBlanks();
    TDateTime day = 0;
    if (!ReadDate(cursor, order, day))
        return false;
    const size_t dateEnd = cursor.Position();
    const bool blank = cursor.Take(' ');
    double time = 0;
    if (!ReadTimeOfDay(cursor, blank, time))
        return false;
    if (blank) {
        datePart = text.substr(0, dateEnd + 1);
        dateOrder = order;
        date = day;
        dayNumber = static_cast<std::int64_t>(day);
    }
    result = day + time;
    return true;
}
