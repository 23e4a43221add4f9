#include "core/logdata/RecordCells.h"
#include "core/logdata/LogCells.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// What a record's cells are when taken one after the other: the stamp, then for each of
// `count` value cells whether the line had ended before it and the cell itself.
struct TTakenCells {
    std::string_view stamp;
    std::vector<bool> endedBefore;
    std::vector<std::string_view> cells;
};

TTakenCells TakeCells(std::string_view line, size_t count)
{
    TTakenCells taken;
    std::string_view rest = line;
    taken.stamp = TakeCell(rest);
    for (size_t i = 0; i < count; ++i) {
        taken.endedBefore.push_back(rest.empty());
        taken.cells.push_back(TakeCell(rest));
    }
    return taken;
}

void ExpectSameCells(const TRecordCells& split, std::string_view line, size_t count)
{
    const TTakenCells taken = TakeCells(line, count);
    SCOPED_TRACE(std::string(line) + " / " + std::to_string(count));
    EXPECT_EQ(split.Stamp(), taken.stamp);
    EXPECT_EQ(split.Stamp().data(), taken.stamp.data());
    // The line has ended before cell i exactly from the complete cells on.
    const size_t complete = split.Complete();
    for (size_t i = 0; i < count; ++i) {
        EXPECT_EQ(i >= complete, taken.endedBefore[i]) << "cell " << i;
        EXPECT_EQ(split.Cell(i), taken.cells[i]) << "cell " << i;
        if (!taken.cells[i].empty()) {
            EXPECT_EQ(split.Cell(i).data(), taken.cells[i].data()) << "cell " << i;
        }
    }
}

} // namespace

TEST(RecordCellsTest, CellsAreThoseTakenOneAfterTheOther)
{
    // Lines of every length around the word size, at the start, in the middle and at the
    // very end of the text, so that the last word is read from the text's tail.
    std::mt19937 random(20261208);
    const std::string alphabet = ";;;;0123,-Err ";
    for (int round = 0; round < 3000; ++round) {
        const size_t length = random() % 40;
        std::string line;
        for (size_t i = 0; i < length; ++i)
            line += alphabet[random() % alphabet.size()];
        const std::string filler(random() % 20, ';');
        const std::string text = filler + line + (round % 3 == 0 ? "" : "\n" + filler);
        const std::string_view view(text.data() + filler.size(), line.size());
        TRecordCells split(text);
        const size_t count = 1 + random() % 12;
        split.Split(view, count + 1);
        ExpectSameCells(split, view, count);
    }
}

TEST(RecordCellsTest, ALineOfManyCellsIsSplitPastThoseWantedOnlyUpToTheNext)
{
    std::string line = "01.01.2024 00:00";
    for (int i = 0; i < 300; ++i)
        line += ";" + std::to_string(i);
    TRecordCells split(line);
    split.Split(line, 11);
    ExpectSameCells(split, line, 10);
    // The tenth value cell ends at the next ";", not at the line's end.
    EXPECT_EQ(split.Cell(9), "9");

    split.Split(line, 301);
    ExpectSameCells(split, line, 300);
    EXPECT_EQ(split.Cell(299), "299");
}

TEST(RecordCellsTest, SameCellsAreThoseOfTheSameBytes)
{
    // Cells of up to 20 bytes, one of them at the very end of the text where no whole word
    // follows it; bytes after a cell never count.
    const std::string text = "12,5;12,5x;12,6;-0;-0;;123456789,25;123456789,25;1234567890,125;"
                             "1234567890,125;Err;12,5";
    TRecordCells split(text);
    const auto at
        = [&](size_t begin, size_t length) { return std::string_view(text).substr(begin, length); };
    const std::string_view last = at(text.size() - 4, 4);
    EXPECT_TRUE(split.Same(at(0, 4), at(5, 4)));
    EXPECT_TRUE(split.Same(at(0, 4), last));
    EXPECT_TRUE(split.Same(last, at(0, 4)));
    EXPECT_FALSE(split.Same(at(0, 4), at(11, 4)));
    EXPECT_FALSE(split.Same(at(0, 4), at(5, 5)));
    EXPECT_TRUE(split.Same(at(16, 2), at(19, 2)));
    EXPECT_TRUE(split.Same(at(22, 0), std::string_view()));
    EXPECT_TRUE(split.Same(at(23, 12), at(36, 12)));
    EXPECT_FALSE(split.Same(at(23, 12), at(49, 12)));
    EXPECT_TRUE(split.Same(at(49, 14), at(64, 14)));
    // Every length up to a word and beyond, differing only in the last byte.
    for (size_t length = 1; length <= 12; ++length) {
        std::string a(length, '7');
        std::string b = a;
        b.back() = '8';
        const std::string pair = a + ";" + b + ";" + a;
        TRecordCells pairs(pair);
        const std::string_view view(pair);
        EXPECT_FALSE(pairs.Same(view.substr(0, length), view.substr(length + 1, length)));
        EXPECT_TRUE(pairs.Same(view.substr(0, length), view.substr(2 * length + 2)));
    }
}

TEST(RecordCellsTest, KeysOfShortCellsAreEqualExactlyWhenTheirBytesAre)
{
    // Cells that differ in one byte, in their length only ("7" and "77"), or in a byte that
    // a word would read past their end; the last ones end the text, where no word fits.
    const std::string text = "7;77;7;12,5;12,6;12,5;-0;1234567;1234568;1234567;12345678;"
                             "12345678;Err;0;12,5;7";
    TRecordCells cells(text);
    std::vector<std::string_view> all;
    for (std::string_view rest = text; !rest.empty();)
        all.push_back(TakeCell(rest));
    for (const std::string_view a : all) {
        const std::uint64_t key = cells.Key(a);
        // Only cells of one to seven bytes with a word after their start have a key.
        EXPECT_EQ(key != 0, a.size() < 8 && a.data() + 8 <= text.data() + text.size()) << a;
        for (const std::string_view b : all) {
            EXPECT_TRUE(cells.Same(a, b) == (a == b)) << a << " / " << b;
            if (key != 0 && cells.Key(b) != 0) {
                EXPECT_EQ(key == cells.Key(b), a == b) << a << " / " << b;
            }
        }
    }
}
