#pragma once
// The log file naming scheme: PPyymmdd.csv, two characters naming the bus participant
// (the device prefix), then the day as two-digit year, month and day; the extension in
// any letter case. The parts are read at fixed positions, in four ways that agree for
// names of this form.

#include "core/base/DateTime.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The year around which two-digit years are placed.
int CurrentYear();

// The last four characters are ".csv", in any letter case.
bool HasLogExtension(std::string_view fileName);

// The acceptance and sort key: the name without its last four characters, from its 3rd
// character on, as a decimal number (digits only, within 32 bits); none when it is not.
std::optional<std::int32_t> FileDateKey(std::string_view fileName);

// A date key of six digits or fewer (yymmdd) as the day yyyymmdd, its year placed as
// below; longer keys as they are.
std::int64_t DateKeyDay(std::int32_t dateKey, int currentYear);

// The date a name carries: characters 7–8, 5–6 and 3–4 of the name without its last four
// characters, read as day, month and two-digit year (placed in the window of 50 years
// before and 49 after the current year); none when that is no valid date.
std::optional<TDateTime> FileNameDate(std::string_view fileName);
std::optional<TDateTime> FileNameDate(std::string_view fileName, int currentYear);

// The six characters in front of the last four of a full path (the date digits), read as
// the day yyyymmdd with the two-digit year placed as above; none when they are not digits.
std::optional<std::int32_t> FileRangeDay(std::string_view path);
std::optional<std::int32_t> FileRangeDay(std::string_view path, int currentYear);

// A date as yyyymmdd, comparable with FileRangeDay.
std::int32_t RangeDayOf(TDateTime date);

// The two characters in front of those six: which participant wrote the file.
std::string FileDevicePrefix(std::string_view path);
