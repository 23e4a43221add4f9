#include "samplegen/DayLogBuilder.h"

#include "core/base/TextCodec.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace {

void AppendDigits(std::string& out, int value, int digits)
{
    char buffer[8];
    for (int i = digits - 1; i >= 0; --i) {
        buffer[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    out.append(buffer, digits);
}

std::string ToCp1252(const std::string& utf8)
{
    std::string bytes;
    if (!TryUtf8ToCp1252(utf8, bytes))
        throw std::logic_error("header text without Windows-1252 form: " + utf8);
    return bytes;
}

} // namespace

TDayLogBuilder::TDayLogBuilder(const TSampleDevice& device)
    : device(device)
    , nameCell(device.nameCell.empty() ? std::string() : ToCp1252(device.nameCell) + ";")
{
}

void TDayLogBuilder::Begin(TStampStyle newStyle)
{
    style = newStyle;
    records = 0;
    bytes = nameCell;
    bytes += style == TStampStyle::YearFirst ? "DATE & TIME" : "dd.mm.yy hh:mm";
    for (const TSampleColumn& c : device.columns)
        bytes += ";" + ToCp1252(c.header);
    bytes += "\r\n";
}

void TDayLogBuilder::AppendStamp(int year, int month, int day, int minuteOfDay)
{
    if (style == TStampStyle::YearFirst) {
        AppendDigits(bytes, year, 4);
        bytes += '-';
        AppendDigits(bytes, month, 2);
        bytes += '-';
        AppendDigits(bytes, day, 2);
    } else {
        AppendDigits(bytes, day, 2);
        bytes += '.';
        AppendDigits(bytes, month, 2);
        bytes += '.';
        AppendDigits(bytes, year, 4);
    }
    bytes += ' ';
    AppendDigits(bytes, minuteOfDay / 60, 2);
    bytes += ':';
    AppendDigits(bytes, minuteOfDay % 60, 2);
}

void TDayLogBuilder::AppendNumber(double value, int decimals)
{
    static const double scales[] = {1.0, 10.0, 100.0, 1000.0};
    const double scale = scales[decimals];
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0.0)
        rounded = 0.0; // never "-0,0"
    char buffer[32];
    const auto result = std::to_chars(
        buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, decimals);
    for (char* p = buffer; p != result.ptr; ++p)
        bytes += *p == '.' ? ',' : *p;
}

void TDayLogBuilder::AddRecord(
    int year, int month, int day, int minuteOfDay, const THouseReadings& readings, int failedColumn)
{
    bytes += nameCell;
    AppendStamp(year, month, day, minuteOfDay);
    for (size_t i = 0; i < device.columns.size(); ++i) {
        const TSampleColumn& c = device.columns[i];
        bytes += ';';
        if (static_cast<int>(i) == failedColumn)
            bytes += "Err";
        else
            AppendNumber(readings.*c.reading, c.decimals);
    }
    bytes += "\r\n";
    ++records;
}
