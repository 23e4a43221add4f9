#pragma once
// Cutting a log line into its cells and reading the numbers in them, fast enough for a
// year of minute records.

#include "core/base/Numbers.h"

#include <cstdint>
#include <string_view>

// The text before the next ";" (the rest loses it and the ";"), or all of the rest.
// Cells are a few bytes long, so a plain loop beats a library search.
inline std::string_view TakeCell(std::string_view& rest)
{
    const char* data = rest.data();
    const size_t size = rest.size();
    size_t length = 0;
    while (length < size && data[length] != ';')
        ++length;
    const std::string_view cell(data, length);
    rest.remove_prefix(length < size ? length + 1 : size);
    return cell;
}

// A number with "," as decimal separator. The plain form of the logs (optional "-",
// digits, optionally "," and digits, at most 15 digits) is read directly: the digits are
// an exact integer and the power of ten is exact, so one division rounds correctly.
// Every other form goes the general way.
inline bool ParseLogNumber(std::string_view cell, double& value)
{
    static constexpr double PowersOfTen[]
        = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    size_t i = 0;
    const bool negative = !cell.empty() && cell[0] == '-';
    if (negative)
        i = 1;
    std::uint64_t digits = 0;
    int count = 0;
    int decimals = 0;
    bool comma = false;
    for (; i < cell.size(); ++i) {
        const char c = cell[i];
        if (c >= '0' && c <= '9') {
            digits = digits * 10 + static_cast<unsigned>(c - '0');
            ++count;
            decimals += comma;
        } else if (c == ',' && !comma) {
            comma = true;
        } else {
            break;
        }
    }
    if (i != cell.size() || count == 0 || count > 15)
        return TryParseDecimalComma(cell, value);
    const double magnitude = static_cast<double>(digits) / PowersOfTen[decimals];
    value = negative ? -magnitude : magnitude;
    return true;
}
