#pragma once
// Eight bytes of a text read as one number, the first byte lowest on any machine, so that
// masks and shifts count bytes from the start. The caller makes sure all eight are there.

#include <bit>
#include <cstdint>
#include <cstring>

// GCC cannot always see from the callers' checks that the word lies within the text, and
// warns of a read past its end.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
inline std::uint64_t LoadWord(const char* at)
{
    std::uint64_t word;
    std::memcpy(&word, at, 8);
    if constexpr (std::endian::native == std::endian::big)
        word = __builtin_bswap64(word);
    return word;
}
#pragma GCC diagnostic pop
