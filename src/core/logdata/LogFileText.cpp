#include "core/logdata/LogFileText.h"

#include "core/base/RegularFile.h"
#include "core/base/TextCodec.h"
#include "core/logdata/TextWords.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

bool IsHigh(char c)
{
    return static_cast<unsigned char>(c) >= 0x80;
}

// Position of the first byte ≥ 0x80 from start, eight bytes at a time.
size_t FindHighByte(std::string_view bytes, size_t start)
{
    size_t i = start;
    for (; i + 8 <= bytes.size(); i += 8) {
        if (LoadWord(bytes.data() + i) & 0x8080808080808080ULL)
            break;
    }
    for (; i < bytes.size(); ++i) {
        if (IsHigh(bytes[i]))
            return i;
    }
    return std::string_view::npos;
}

// Valid UTF-8 with at least one multi-byte sequence. A sequence never holds a byte below
// 0x80, so each run of high bytes can be checked on its own.
bool IsMultiByteUtf8(std::string_view bytes)
{
    bool multiByte = false;
    size_t i = FindHighByte(bytes, 0);
    while (i != std::string_view::npos) {
        size_t end = i;
        while (end < bytes.size() && IsHigh(bytes[end]))
            ++end;
        if (!IsValidUtf8(bytes.substr(i, end - i)))
            return false;
        multiByte = true;
        i = FindHighByte(bytes, end);
    }
    return multiByte;
}

} // namespace

bool IsUtf8LogText(std::string_view bytes)
{
    return bytes.starts_with(ByteOrderMark) || IsMultiByteUtf8(bytes);
}

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    TFileRead file = ReadRegularFile(path, std::numeric_limits<off_t>::max());
    // A file that shrank while being read ends where the reading ended.
    if (file.status != TFileReadStatus::Read || (!file.complete && file.bytes.empty()))
        return false;
    bytes = std::move(file.bytes);
    return true;
}

void SplitLines(std::string_view bytes, std::vector<std::string_view>& lines)
{
    const char* data = bytes.data();
    const size_t size = bytes.size();
    size_t pos = 0;
    while (pos < size) {
        const void* lf = std::memchr(data + pos, '\n', size - pos);
        const size_t end = lf ? static_cast<const char*>(lf) - data : size;
        // Inside an LF-delimited piece every CR ends a line too; a CR right before the LF
        // belongs to it (CR LF).
        size_t start = pos;
        for (;;) {
            const void* cr = std::memchr(data + start, '\r', end - start);
            if (!cr) {
                lines.emplace_back(data + start, end - start);
                break;
            }
            const size_t at = static_cast<const char*>(cr) - data;
            lines.emplace_back(data + start, at - start);
            start = at + 1;
            if (start == end)
                break;
        }
        pos = end + 1;
    }
}

bool SplitLogText(TLogFileText& text)
{
    std::string_view bytes = text.bytes;
    const bool byteOrderMark = bytes.starts_with(ByteOrderMark);
    if (byteOrderMark)
        bytes.remove_prefix(ByteOrderMark.size());

    // Only empty lines come before the first byte that is neither CR nor LF. The header is
    // cut off before the rest is split, so that no list of lines moves up by one.
    const size_t first = bytes.find_first_not_of("\r\n");
    if (first == std::string_view::npos)
        return false;
    const size_t headerEnd = std::min(bytes.find_first_of("\r\n", first), bytes.size());
    const std::string_view header = bytes.substr(first, headerEnd - first);
    size_t rest = headerEnd;
    if (rest < bytes.size())
        rest += bytes.substr(rest).starts_with("\r\n") ? 2 : 1;

    auto& lines = text.lines;
    lines.clear();
    // About one line per 64 bytes in usual logs; a single huge line reserves little.
    lines.reserve(std::min<size_t>((bytes.size() - rest) / 64 + 2, 1 << 16));
    SplitLines(bytes.substr(rest), lines);
    if (byteOrderMark || IsUtf8LogText(bytes))
        text.header.assign(header);
    else
        text.header = Cp1252ToUtf8(header);
    return true;
}
