#include "core/settings/IniDocument.h"

#include "core/base/TextCodec.h"

#include <charconv>

// Only the 8-bit variant is used: texts are UTF-8 inside the program and the file's
// encoding is handled here, so SimpleIni needs none of its own converters. This is the
// one file that includes it, so its template definitions are compiled here.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

struct TIniDocument::Data {
    Data() { ini.SetSpaces(false); }
    // Case-insensitive sections and keys, one value per key, no multi-line values;
    // written as "key=value", as Windows does.
    CSimpleIniA ini{false, false, false};
};

namespace {

constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

// Brings the text into the shape SimpleIni reads reliably: no NUL characters (they would
// end its parsing and so drop the rest of the file at the next write), no byte-order marks
// at the start of a line, "\n" line ends, and every section header closed (an unclosed one
// would otherwise name the section after the following lines).
std::string Normalised(std::string_view text)
{
    std::string withoutNuls;
    withoutNuls.reserve(text.size());
    for (const char c : text) {
        if (c != '\0')
            withoutNuls += c;
    }
    // NULs go first: the bytes of a mark split by them form one once they are gone. A mark
    // at a line's start would hide a section header behind it from the repair, and one in
    // front of a key would be taken for the file's own mark once that key is written first.
    const std::string_view rest = withoutNuls;

    std::string out;
    out.reserve(rest.size() + 16);
    std::size_t lineStart = 0;
    bool blankSoFar = true; // nothing but blanks on the line yet
    const auto closeHeader = [&] {
        std::size_t first = lineStart;
        while (first < out.size() && IsBlank(out[first]))
            ++first;
        if (first < out.size() && out[first] == '[' && out.find(']', first) == std::string::npos)
            out += ']';
    };
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const char c = rest[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < rest.size() && rest[i + 1] == '\n')
                ++i;
            closeHeader();
            out += '\n';
            lineStart = out.size();
            blankSoFar = true;
            continue;
        }
        if (blankSoFar && rest.substr(i).starts_with(Utf8ByteOrderMark)) {
            i += Utf8ByteOrderMark.size() - 1;
            continue;
        }
        // A comment is written from its first character on; blanks before it would let
        // the next reading take it for another entry's comment.
        if (blankSoFar && (c == ';' || c == '#'))
            out.resize(lineStart);
        blankSoFar = blankSoFar && IsBlank(c);
        out += c;
    }
    closeHeader();
    return out;
}

// Comments belong to the entry after them. Those of the nameless section (keys before the
// first header or under "[]") would move with it to the file's start, where they become
// comments of another entry, so each rewrite would change the file; they are dropped. The
// comments in front of the file's first entry are made the file's own comment: a blank
// line after them tells it, and without one a rewrite may read them either way.
std::string WithoutNamelessComments(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::string pending; // comment lines waiting for their entry
    bool nameless = true;
    bool afterFirstEntry = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line
            = text.substr(0, end == std::string_view::npos ? text.size() : end + 1);
        text.remove_prefix(line.size());
        const std::string trimmed = Trimmed(line.substr(0, line.find('\n')));
        const bool comment = trimmed.starts_with(';') || trimmed.starts_with('#');
        const bool header = !comment && trimmed.starts_with('[');
        const bool entry = header || (!comment && trimmed.find('=') != std::string::npos);
        if (!entry && (comment || !pending.empty())) {
            pending += line; // with the blank lines after it, which may tell its meaning
            continue;
        }
        if (header)
            nameless = Trimmed(std::string_view(trimmed).substr(1, trimmed.find(']') - 1)).empty();
        if (entry) {
            if (!afterFirstEntry && !pending.empty()) {
                out += pending;
                if (!pending.ends_with("\n\n"))
                    out += '\n';
            } else if (!nameless) {
                out += pending;
            }
            pending.clear();
            afterFirstEntry = true;
        }
        out += line;
    }
    return out + pending;
}

bool IsStorableKey(std::string_view key)
{
    if (key.empty() || key.front() == '[' || key.front() == ';' || key.front() == '#'
        || key.starts_with(Utf8ByteOrderMark))
        return false;
    return key.find_first_of("=\r\n") == std::string_view::npos;
}

std::string OnOneLine(std::string_view value)
{
    std::string out(value);
    for (char& c : out) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return out;
}

// The file's reader trims blanks around a value and, as Windows does, takes off one pair
// of double quotes around it. A value that would lose either is written in quotes.
std::string AsStored(std::string value)
{
    const bool blankEdge = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    if (blankEdge || quoted)
        return '"' + value + '"';
    return value;
}

std::string AsRead(std::string_view stored)
{
    if (stored.size() >= 2 && stored.front() == '"' && stored.back() == '"')
        stored = stored.substr(1, stored.size() - 2);
    return std::string(stored);
}

} // namespace

bool ParseDecimalInt32(std::string_view text, std::int32_t& value)
{
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-')
            return false;
    }
    std::int32_t parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc() || end != text.data() + text.size())
        return false;
    value = parsed;
    return true;
}

TIniDocument::TIniDocument()
    : data(std::make_unique<Data>())
{
}

TIniDocument::~TIniDocument() = default;
TIniDocument::TIniDocument(TIniDocument&& other) noexcept = default;
TIniDocument& TIniDocument::operator=(TIniDocument&& other) noexcept = default;

TIniDocument TIniDocument::Parse(std::string_view bytes)
{
    const TIniDocument once = LoadedFrom(DecodeLogText(bytes));
    // Read once more as written: which entry a comment belongs to, and whether a section
    // without keys stays, settle only in the written form; so a rewrite of what was read
    // reads the same.
    std::string written;
    once.data->ini.Save(written, false);
    return LoadedFrom(written);
}

TIniDocument TIniDocument::LoadedFrom(const std::string& utf8)
{
    TIniDocument document;
    const std::string text = WithoutNamelessComments(Normalised(utf8));
    auto& ini = document.data->ini;
    if (ini.LoadData(text.data(), text.size()) < 0)
        ini.Reset();
    // A nameless section without keys ("[]") holds nothing, but would be written in
    // another place each time the file is written.
    if (const auto* nameless = ini.GetSection(""); nameless && nameless->empty())
        ini.Delete("", nullptr);
    return document;
}

std::string TIniDocument::Serialize() const
{
    std::string utf8;
    data->ini.Save(utf8, false);
    std::string bytes;
    // Windows-1252 only when it reads back as the same text: bytes that happen to be valid
    // UTF-8 ("Ã¤") would be read as UTF-8 ("ä").
    if (TryUtf8ToCp1252(utf8, bytes) && DecodeLogText(bytes) == utf8)
        return bytes;
    return std::string(Utf8ByteOrderMark) + utf8;
}

std::optional<std::string> TIniDocument::Find(std::string_view section, std::string_view key) const
{
    const char* value = data->ini.GetValue(Trimmed(section).c_str(), Trimmed(key).c_str(), nullptr);
    if (!value)
        return std::nullopt;
    return AsRead(value);
}

std::optional<std::int32_t> TIniDocument::FindInteger(
    std::string_view section, std::string_view key) const
{
    const auto text = Find(section, key);
    std::int32_t value = 0;
    if (!text || !ParseDecimalInt32(*text, value))
        return std::nullopt;
    return value;
}

std::string TIniDocument::ReadString(
    std::string_view section, std::string_view key, const std::string& fallback) const
{
    return Find(section, key).value_or(fallback);
}

std::int32_t TIniDocument::ReadInteger(
    std::string_view section, std::string_view key, std::int32_t fallback) const
{
    return FindInteger(section, key).value_or(fallback);
}

bool TIniDocument::ReadBool(std::string_view section, std::string_view key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

bool TIniDocument::HasKey(std::string_view section, std::string_view key) const
{
    return Find(section, key).has_value();
}

bool TIniDocument::HasAnyKey(std::string_view section) const
{
    const auto* keys = data->ini.GetSection(Trimmed(section).c_str());
    return keys && !keys->empty();
}

std::vector<TIniEntry> TIniDocument::Entries() const
{
    std::vector<TIniEntry> entries;
    CSimpleIniA::TNamesDepend sections;
    data->ini.GetAllSections(sections);
    sections.sort(CSimpleIniA::Entry::LoadOrder());
    for (const auto& section : sections) {
        CSimpleIniA::TNamesDepend keys;
        data->ini.GetAllKeys(section.pItem, keys);
        keys.sort(CSimpleIniA::Entry::LoadOrder());
        for (const auto& key : keys) {
            const char* value = data->ini.GetValue(section.pItem, key.pItem, "");
            entries.push_back({section.pItem, key.pItem, AsRead(value)});
        }
    }
    return entries;
}

bool TIniDocument::WriteString(
    std::string_view section, std::string_view key, std::string_view value)
{
    const std::string sectionName = OnOneLine(Trimmed(section));
    const std::string keyName = Trimmed(key);
    if (!IsStorableKey(keyName) || sectionName.find(']') != std::string::npos)
        return false;
    return data->ini.SetValue(
               sectionName.c_str(), keyName.c_str(), AsStored(OnOneLine(value)).c_str())
        >= 0;
}

bool TIniDocument::WriteInteger(std::string_view section, std::string_view key, std::int64_t value)
{
    return WriteString(section, key, std::to_string(value));
}

bool TIniDocument::WriteBool(std::string_view section, std::string_view key, bool value)
{
    return WriteString(section, key, value ? "1" : "0");
}
