#include "core/base/Numbers.h"
#include "core/base/TextCodec.h"

#include <gtest/gtest.h>

namespace {

TEST(NumbersTest, AmountsHaveTwoDecimalsAndADecimalComma)
{
    EXPECT_EQ(FormatAmount(0), "0,00");
    EXPECT_EQ(FormatAmount(144.0), "144,00");
    EXPECT_EQ(FormatAmount(1234567.891), "1234567,89");
    EXPECT_EQ(FormatAmount(-2.5), "-2,50");
    EXPECT_EQ(FormatAmount(0.125), "0,13"); // a true tie rounds away from zero
    EXPECT_EQ(FormatAmount(1.005), "1,00"); // 1.005 is stored just below the tie
    EXPECT_EQ(FormatAmount(-0.001), "0,00");
}

TEST(NumbersTest, ReadsDecimalCommaNumbersOnly)
{
    double v = -1;
    EXPECT_TRUE(TryParseDecimalComma("12,5", v));
    EXPECT_EQ(v, 12.5);
    EXPECT_TRUE(TryParseDecimalComma(" -3 ", v));
    EXPECT_EQ(v, -3);
    EXPECT_TRUE(TryParseDecimalComma("+1,5E2", v));
    EXPECT_EQ(v, 150);
    EXPECT_TRUE(TryParseDecimalComma(FormatAmount(57.91), v));
    EXPECT_EQ(v, 57.91);
    for (const char* bad : {"", " ", "12.5", "1,2,3", "abc", "Err", "1a", ",", "-", "1e"})
        EXPECT_FALSE(TryParseDecimalComma(bad, v)) << bad;
}

TEST(TextCodecTest, Windows1252RoundTripsThroughUtf8)
{
    EXPECT_EQ(Cp1252ToUtf8("T1[\xB0"
                           "C]"),
        "T1[\xC2\xB0"
        "C]");
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
    std::string bytes;
    ASSERT_TRUE(TryUtf8ToCp1252("Gr\xC3\xBC\xC3\x9F \xE2\x82\xAC", bytes));
    EXPECT_EQ(bytes, "Gr\xFC\xDF \x80");
    EXPECT_FALSE(TryUtf8ToCp1252("\xE2\x86\x92", bytes)); // an arrow has no byte
    EXPECT_FALSE(TryUtf8ToCp1252("\xC3", bytes)); // broken sequence
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        ASSERT_TRUE(TryUtf8ToCp1252(Cp1252ToUtf8(one), bytes)) << b;
        EXPECT_EQ(bytes, one) << b;
    }
}

TEST(TextCodecTest, LogTextIsUtf8OnlyWithAMarkOrMultiByteSequences)
{
    EXPECT_EQ(DecodeLogText("\xEF\xBB\xBF"
                            "T[\xC2\xB0"
                            "C]"),
        "T[\xC2\xB0"
        "C]");
    EXPECT_EQ(DecodeLogText("T[\xC2\xB0"
                            "C]"),
        "T[\xC2\xB0"
        "C]");
    EXPECT_EQ(DecodeLogText("T[\xB0"
                            "C]"),
        "T[\xC2\xB0"
        "C]");
    EXPECT_EQ(DecodeLogText("plain"), "plain");
    EXPECT_TRUE(IsValidUtf8("\xC3\xA9"));
    EXPECT_FALSE(IsValidUtf8("\xC0\x80")); // overlong
}

} // namespace
