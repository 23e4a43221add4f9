#include "core/logdata/CommaCopy.h"

#include "core/base/KalvexError.h"
#include "core/logdata/LogFileText.h"
#include "core/settings/FileReplacement.h"

#include <vector>

namespace {

// The plain number form of the logs with a decimal comma: optional "-", digits, ",",
// digits.
bool IsDecimalCommaNumber(std::string_view cell)
{
    if (cell.starts_with('-'))
        cell.remove_prefix(1);
    const size_t comma = cell.find(',');
    if (comma == std::string_view::npos || comma == 0 || comma + 1 == cell.size())
        return false;
    for (size_t i = 0; i < cell.size(); ++i)
        if (i != comma && (cell[i] < '0' || cell[i] > '9'))
            return false;
    return true;
}

} // namespace

std::string CommaCopyFileName(const std::string& logFile)
{
    const size_t slash = logFile.find_last_of('/');
    std::string name = slash == std::string::npos ? logFile : logFile.substr(slash + 1);
    if (const size_t dot = name.find_last_of('.'); dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name + "c.csv";
}

std::string CommaCell(std::string_view cell)
{
    if (IsDecimalCommaNumber(cell)) {
        std::string number(cell);
        number[number.find(',')] = '.';
        return number;
    }
    if (cell.find_first_of(",\"") == std::string_view::npos)
        return std::string(cell);
    std::string quoted = "\"";
    for (const char c : cell) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string CommaLine(std::string_view line)
{
    std::string result;
    result.reserve(line.size() + 8);
    size_t start = 0;
    for (;;) {
        const size_t end = line.find(';', start);
        result += CommaCell(line.substr(start, end - start));
        if (end == std::string_view::npos)
            return result;
        result += ',';
        start = end + 1;
    }
}

void WriteCommaCopy(const std::string& logFile, const std::string& copyFile)
{
    std::string bytes;
    if (!ReadWholeFile(logFile, bytes))
        Fail(TextId::TxtCouldNotCreateFile);
    std::vector<std::string_view> lines;
    SplitLines(bytes, lines);
    std::string copy;
    copy.reserve(bytes.size() + bytes.size() / 8);
    for (const std::string_view line : lines) {
        copy += CommaLine(line);
        copy += "\r\n";
    }
    if (!ReplaceFileContents(copyFile, copy))
        Fail(TextId::TxtCouldNotCreateFile);
}

TLogTimeColumn FindTimeColumn(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    const size_t start = bytes.find_first_not_of("\r\n");
    if (start == std::string_view::npos)
        return {};
    std::string_view header = bytes.substr(start, bytes.find_first_of("\r\n", start) - start);
    for (int column = 1; column <= 2; ++column) {
        const size_t end = header.find(';');
        const std::string_view cell = header.substr(0, end);
        if (cell == "DATE & TIME" || cell == "dd.mm.yy hh:mm")
            return {column, cell == "dd.mm.yy hh:mm"};
        if (end == std::string_view::npos)
            break;
        header.remove_prefix(end + 1);
    }
    return {};
}
