#pragma once
// The cells of a record line, found sixteen bytes at a time. A year of minute records holds
// some twenty million cells of a few bytes each; a loop per byte, with its exit at a
// different place in every cell, cost more than anything else the reader does.
//
// Blocks and words are read from the file's bytes as far as they go, so they may reach
// past the line they belong to; the bytes beyond the line are masked off.

#include "core/logdata/TextWords.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
        // A block holds at most sixteen, so the room is checked once per block.
        if (semicolons.size() < wanted + Block)
            semicolons.resize(wanted + Block);
        std::size_t* out = semicolons.data();
        std::size_t n = 0;
        const std::size_t size = line.size();
        for (std::size_t at = 0; at < size && n < wanted; at += Block) {
            std::uint32_t marks = SemicolonsOfBlock(line.data() + at);
            if (size - at < Block)
                marks &= (std::uint32_t(1) << (size - at)) - 1;
            for (; marks; marks &= marks - 1)
                out[n++] = at + static_cast<std::size_t>(std::countr_zero(marks));
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
        // Both ends lie within the line, as Split found them there.
        const std::size_t begin = semicolons[i] + 1;
        return {line.data() + begin, semicolons[i + 1] - begin};
    }

    // A cell of one to seven bytes as one number of its bytes and its length, so that it is
    // compared with a column's last cell at once; 0 for any other cell, which Same compares.
    std::uint64_t Key(std::string_view cell) const
    {
        const std::size_t size = cell.size();
        if (size == 0 || size >= 8 || !WordFits(cell.data()))
            return 0;
        const std::uint64_t bytes = LoadWord(cell.data()) & ((std::uint64_t(1) << (8 * size)) - 1);
        return bytes | (std::uint64_t(size) << 56);
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
            const std::uint64_t differ = LoadWord(a.data()) ^ LoadWord(b.data());
            return (differ << (64 - 8 * size)) == 0;
        }
        return std::memcmp(a.data(), b.data(), size) == 0;
    }

private:
    bool WordFits(const char* at) const { return end - at >= 8; }

    static constexpr std::size_t Block = 16;

    // Bit i set where the byte at + i is ";", of the sixteen from `at` on; none past the
    // text's end.
    std::uint32_t SemicolonsOfBlock(const char* at) const
    {
        char tail[Block] = {};
        if (end - at < static_cast<std::ptrdiff_t>(Block)) {
            std::memcpy(tail, at, static_cast<std::size_t>(end - at));
            at = tail;
        }
#if defined(__SSE2__)
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        return static_cast<std::uint32_t>(
            _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(';'))));
#else
        std::uint32_t marks = 0;
        for (std::size_t i = 0; i < Block; ++i)
            marks |= std::uint32_t(at[i] == ';') << i;
        return marks;
#endif
    }

    const char* end;
    std::string_view line;
    // Where the line's first ";" are, `found` of them, then where the last of their cells
    // ends (the next ";" or the line's end).
    std::vector<std::size_t> semicolons;
    std::size_t found = 0;
};
