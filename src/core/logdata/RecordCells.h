#pragma once
// The cells of a record line, found eight bytes at a time. A year of minute records holds
// some twenty million cells of a few bytes each; a loop per byte, with its exit at a
// different place in every cell, cost more than anything else the reader does.
//
// Words are read from the file's bytes as far as they go, so a word may reach past the
// line it belongs to; the bytes beyond the line are masked off.

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

class TRecordCells {
public:
    // `bytes`: the whole text the lines are views into.
    explicit TRecordCells(std::string_view bytes)
        : end(bytes.data() + bytes.size())
    {
    }

    // Finds the first `wanted` ";" of the line.
    void Split(std::string_view line, std::size_t wanted)
    {
        this->line = line;
        // A word holds at most eight, so the room is checked once per word.
        if (semicolons.size() < wanted + 8)
            semicolons.resize(wanted + 8);
        std::size_t* out = semicolons.data();
        std::size_t n = 0;
        const std::size_t size = line.size();
        for (std::size_t at = 0; at < size && n < wanted; at += 8) {
            std::uint64_t marks = SemicolonBytes(Word(line.data() + at));
            if (size - at < 8)
                marks &= (std::uint64_t(1) << (8 * (size - at))) - 1;
            for (; marks; marks &= marks - 1)
                out[n++] = at + (std::countr_zero(marks) >> 3);
        }
        found = n < wanted ? n : wanted;
        // The end of the last cell found: the next ";", or the line's end.
        if (n <= wanted)
            out[n] = size;
    }

    // The time stamp: the text before the first ";", the whole line when there is none.
    std::string_view Stamp() const { return line.substr(0, semicolons[0]); }

    // How many value cells begin before the line ends: a ";" at the very end begins none.
    std::size_t Complete() const
    {
        return found - (found > 0 && semicolons[found - 1] + 1 == line.size());
    }

    // The i-th cell after the stamp; empty beyond the line's end.
    std::string_view Cell(std::size_t i) const
    {
        if (i >= found)
            return {};
        const std::size_t begin = semicolons[i] + 1;
        return line.substr(begin, semicolons[i + 1] - begin);
    }

    // Whether two cells of the text hold the same bytes; a word at a time for short ones.
    bool Same(std::string_view a, std::string_view b) const
    {
        const std::size_t size = a.size();
        if (size != b.size())
            return false;
        if (size == 0)
            return true;
        if (size <= 8 && WordFits(a.data()) && WordFits(b.data())) {
            const std::uint64_t differ = Load(a.data()) ^ Load(b.data());
            return (differ << (64 - 8 * size)) == 0;
        }
        return std::memcmp(a.data(), b.data(), size) == 0;
    }

private:
    bool WordFits(const char* at) const { return end - at >= 8; }

    // Only called where a word fits; GCC cannot always see that from the callers' checks
    // and warns of a read past the text's end.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
    static std::uint64_t Load(const char* at)
    {
        std::uint64_t word;
        std::memcpy(&word, at, 8);
        if constexpr (std::endian::native == std::endian::big)
            word = __builtin_bswap64(word);
        return word;
    }
#pragma GCC diagnostic pop

    // Eight bytes from `at` on, the first in the lowest byte; zeros past the text's end.
    std::uint64_t Word(const char* at) const
    {
        if (WordFits(at))
            return Load(at);
        char tail[8] = {};
        std::memcpy(tail, at, static_cast<std::size_t>(end - at));
        return Load(tail);
    }

    // The top bit of every byte that is ";", and no other bit. The sum of a byte's low
    // seven bits with 0x7F carries into its top bit unless they are all zero, and never
    // into the next byte.
    static std::uint64_t SemicolonBytes(std::uint64_t word)
    {
        constexpr std::uint64_t Low7 = 0x7F7F7F7F7F7F7F7FULL;
        const std::uint64_t x = word ^ 0x3B3B3B3B3B3B3B3BULL;
        return ~(((x & Low7) + Low7) | x | Low7);
    }

    const char* end;
    std::string_view line;
    // Where the line's first ";" are, `found` of them.
    std::vector<std::size_t> semicolons;
    std::size_t found = 0;
};
