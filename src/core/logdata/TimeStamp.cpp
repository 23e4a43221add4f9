#include "core/logdata/TimeStamp.h"

namespace {

class TCursor {
public:
    explicit TCursor(std::string_view text)
        : text(text)
    {
    }

    bool AtEnd() const { return pos == text.size(); }

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
    if (!cursor.RestIsBlank() && (!blank || !ReadTime(cursor, time) || !cursor.RestIsBlank()))
        return false;
    result = date + time;
    return true;
}
