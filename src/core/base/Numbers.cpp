#include "core/base/Numbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>

std::string FormatAmount(double value)
{
    if (!std::isfinite(value))
        return value != value ? "NAN" : (value > 0 ? "INF" : "-INF");
    // The product is exact in long double for every double of realistic size, so the
    // rounding below decides on the true binary value.
    const long double hundredths = std::roundl(static_cast<long double>(value) * 100.0L);
    if (std::fabs(hundredths) >= 9.0e18L) {
        char buffer[400];
        std::snprintf(buffer, sizeof buffer, "%.2f", value);
        std::string text = buffer;
        if (const auto dot = text.find('.'); dot != std::string::npos)
            text[dot] = ',';
        return text;
    }
    long long cents = static_cast<long long>(hundredths);
    std::string text;
    if (cents < 0) {
        text = "-";
        cents = -cents;
    }
    text += std::to_string(cents / 100);
    text += ',';
    const int fraction = static_cast<int>(cents % 100);
    text += static_cast<char>('0' + fraction / 10);
    text += static_cast<char>('0' + fraction % 10);
    return text;
}

bool TryParseDecimalComma(std::string_view text, double& value)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    if (text.empty() || text.size() > 64)
        return false;
    char buffer[65];
    size_t n = 0;
    size_t start = 0;
    if (text[0] == '+')
        start = 1;
    bool sawComma = false;
    bool sawDigit = false;
    for (size_t i = start; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.')
            return false;
        if (c == ',') {
            if (sawComma)
                return false;
            sawComma = true;
            buffer[n++] = '.';
            continue;
        }
        if (c >= '0' && c <= '9')
            sawDigit = true;
        buffer[n++] = c;
    }
    if (!sawDigit)
        return false;
    double parsed = 0;
    const auto [end, error] = std::from_chars(buffer, buffer + n, parsed);
    if (error != std::errc() || end != buffer + n)
        return false;
    value = parsed;
    return true;
}
