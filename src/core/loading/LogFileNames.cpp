#include "core/loading/LogFileNames.h"

#include <QDate>

#include <charconv>

namespace {

constexpr size_t ExtensionLength = 4;
constexpr size_t DateDigits = 6;

std::optional<std::int32_t> DigitsValue(std::string_view text)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    std::int32_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string_view WithoutExtension(std::string_view name)
{
    return name.substr(0, name.size() >= ExtensionLength ? name.size() - ExtensionLength : 0);
}

} // namespace

int CurrentYear()
{
    return QDate::currentDate().year();
}

bool HasLogExtension(std::string_view fileName)
{
    if (fileName.size() < ExtensionLength)
        return false;
    const std::string_view ext = fileName.substr(fileName.size() - ExtensionLength);
    return ext[0] == '.' && (ext[1] | 0x20) == 'c' && (ext[2] | 0x20) == 's'
        && (ext[3] | 0x20) == 'v';
}

std::optional<std::int32_t> FileDateKey(std::string_view fileName)
{
    const std::string_view base = WithoutExtension(fileName);
    if (base.size() < 3)
        return std::nullopt;
    return DigitsValue(base.substr(2));
}

std::int64_t DateKeyDay(std::int32_t dateKey, int currentYear)
{
    if (dateKey < 0 || dateKey > 999999)
        return dateKey;
    return std::int64_t(ExpandTwoDigitYear(dateKey / 10000, currentYear)) * 10000 + dateKey % 10000;
}

std::optional<TDateTime> FileNameDate(std::string_view fileName, int currentYear)
{
    const std::string_view base = WithoutExtension(fileName);
    if (base.size() < 8)
        return std::nullopt;
    const auto yy = DigitsValue(base.substr(2, 2));
    const auto mm = DigitsValue(base.substr(4, 2));
    const auto dd = DigitsValue(base.substr(6, 2));
    TDateTime date = 0;
    if (!yy || !mm || !dd || !TryEncodeDate(ExpandTwoDigitYear(*yy, currentYear), *mm, *dd, date))
        return std::nullopt;
    return date;
}

std::optional<TDateTime> FileNameDate(std::string_view fileName)
{
    return FileNameDate(fileName, CurrentYear());
}

std::optional<std::int32_t> FileRangeDay(std::string_view path, int currentYear)
{
    if (path.size() < ExtensionLength + DateDigits)
        return std::nullopt;
    const auto digits = DigitsValue(path.substr(path.size() - ExtensionLength - DateDigits, 6));
    if (!digits)
        return std::nullopt;
    // Placing the year keeps a period across a turn of the century in order.
    return ExpandTwoDigitYear(*digits / 10000, currentYear) * 10000 + *digits % 10000;
}

std::optional<std::int32_t> FileRangeDay(std::string_view path)
{
    return FileRangeDay(path, CurrentYear());
}

std::int32_t RangeDayOf(TDateTime date)
{
    const CivilDate d = DecodeDate(date);
    return d.year * 10000 + d.month * 100 + d.day;
}

std::string FileDevicePrefix(std::string_view path)
{
    const size_t end = path.size() >= ExtensionLength + DateDigits
        ? path.size() - ExtensionLength - DateDigits
        : 0;
    const size_t start = end >= 2 ? end - 2 : 0;
    return std::string(path.substr(start, end - start));
}
