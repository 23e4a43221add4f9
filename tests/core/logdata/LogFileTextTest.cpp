#include "core/logdata/LogFileText.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// The lines as a reader going byte by byte sees them: CR, LF and CR LF each end one.
std::vector<std::string> LinesByteByByte(std::string_view text)
{
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n' && i > 0 && text[i - 1] == '\r')
            continue;
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
        } else {
            line += c;
            open = true;
        }
    }
    if (open)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(LogFileTextTest, LinesEndAtCrLfCrOrLfWhereverTheyFallInTheText)
{
    // Texts of every length around the block size, with lone CRs, CR LF pairs, LF CR pairs
    // and empty lines, at the start and at the very end.
    std::mt19937 random(8122026);
    const std::string alphabet = "ab;\r\n\r\n";
    for (int round = 0; round < 4000; ++round) {
        std::string text;
        const size_t length = random() % 70;
        for (size_t i = 0; i < length; ++i)
            text += alphabet[random() % alphabet.size()];
        std::vector<std::string_view> lines;
        SplitLines(text, lines);
        const std::vector<std::string> expected = LinesByteByByte(text);
        ASSERT_EQ(lines.size(), expected.size()) << testing::PrintToString(text);
        for (size_t i = 0; i < lines.size(); ++i)
            EXPECT_EQ(lines[i], expected[i]) << testing::PrintToString(text) << " line " << i;
    }
}

TEST(LogFileTextTest, TheHeaderIsTheFirstNonEmptyLineAndTheRecordsAreTheLinesAfterIt)
{
    // Leading empty lines of every kind, a header ended by CR, LF, CR LF or nothing, and
    // empty lines right after it; with and without a byte-order mark.
    std::mt19937 random(9122026);
    const std::string alphabet = "ab;\r\n\r\n";
    for (int round = 0; round < 4000; ++round) {
        TLogFileText text;
        const bool mark = round % 3 == 0;
        for (size_t i = 0, length = random() % 40; i < length; ++i)
            text.bytes += alphabet[random() % alphabet.size()];
        std::vector<std::string> expected = LinesByteByByte(text.bytes);
        if (mark)
            text.bytes.insert(0, "\xEF\xBB\xBF");
        size_t first = 0;
        while (first < expected.size() && expected[first].empty())
            ++first;
        const std::string shown = testing::PrintToString(text.bytes);
        ASSERT_EQ(SplitLogText(text), first < expected.size()) << shown;
        if (first == expected.size())
            continue;
        EXPECT_EQ(text.header, expected[first]) << shown;
        expected.erase(expected.begin(), expected.begin() + static_cast<long>(first) + 1);
        ASSERT_EQ(text.lines.size(), expected.size()) << shown;
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(text.lines[i], expected[i]) << shown << " line " << i;
    }
}
