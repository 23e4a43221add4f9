#pragma once
// The parsed text of a Windows-style INI file: sections and keys compared without regard
// to case and kept in file order; integers as decimal text, booleans as "1"/"0".

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TIniEntry {
    std::string section;
    std::string key;
    std::string value;
    bool operator==(const TIniEntry&) const = default;
};

class TIniDocument {
public:
    TIniDocument();
    ~TIniDocument();
    TIniDocument(TIniDocument&& other) noexcept;
    TIniDocument& operator=(TIniDocument&& other) noexcept;
    TIniDocument(const TIniDocument&) = delete;
    TIniDocument& operator=(const TIniDocument&) = delete;

    // The bytes of a settings file: Windows-1252, or UTF-8 (with or without a byte-order
    // mark). Whatever cannot be read as a section or key is skipped.
    static TIniDocument Parse(std::string_view bytes);
    // Windows-1252 when every character fits, else UTF-8 with a byte-order mark.
    std::string Serialize() const;

    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    // A value that is no decimal 32-bit integer counts as missing.
    std::optional<std::int32_t> FindInteger(std::string_view section, std::string_view key) const;

    std::string ReadString(
        std::string_view section, std::string_view key, const std::string& fallback) const;
    std::int32_t ReadInteger(
        std::string_view section, std::string_view key, std::int32_t fallback) const;
    // Any integer other than 0 reads as true.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

    bool HasKey(std::string_view section, std::string_view key) const;
    bool HasAnyKey(std::string_view section) const;
    // Every key with its section and value, sections and keys in file order.
    std::vector<TIniEntry> Entries() const;

    // A key that would not read back as itself (empty, beginning with "[", ";" or "#", or
    // holding "=") is not written; the result says whether it was. Line breaks inside a
    // value become blanks, so a value can never start a section or key of its own.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInteger(std::string_view section, std::string_view key, std::int64_t value);
    bool WriteBool(std::string_view section, std::string_view key, bool value);

private:
    static TIniDocument LoadedFrom(const std::string& utf8);
    struct Data;
    std::unique_ptr<Data> data;
};

// Decimal text with an optional sign and no other characters; false when it does not fit.
bool ParseDecimalInt32(std::string_view text, std::int32_t& value);
