#pragma once
// Numbers as the log files write them and the program shows them: a decimal comma and,
// for display, the pattern "########0.00" (at least one integer digit, two decimals,
// no thousands separator).

#include <string>
#include <string_view>

// Rounds half away from zero, as the pattern does; "-0,00" is shown as "0,00".
std::string FormatAmount(double value);

// Reads a number written with "," as decimal separator: optional blanks around it, an
// optional sign, digits with at most one ",", an optional exponent. A "." is not accepted.
bool TryParseDecimalComma(std::string_view text, double& value);
