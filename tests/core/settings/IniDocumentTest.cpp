#include "core/settings/IniDocument.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::string Reparsed(const TIniDocument& document)
{
    return TIniDocument::Parse(document.Serialize()).Serialize();
}

TEST(IniDocumentTest, EmptyTextHasNoKeysAndWritesNothing)
{
    const auto document = TIniDocument::Parse("");
    EXPECT_FALSE(document.HasAnyKey("Main"));
    EXPECT_EQ(document.ReadString("Main", "LastUsedDir", "fallback"), "fallback");
    EXPECT_EQ(document.Serialize(), "");
}

TEST(IniDocumentTest, BinaryGarbageIsSurvivedAndKeysCanBeAddedToIt)
{
    std::mt19937 random(7);
    std::string garbage;
    for (int i = 0; i < 20000; ++i)
        garbage += static_cast<char>(random() & 0xFF);
    auto document = TIniDocument::Parse(garbage);
    ASSERT_TRUE(document.WriteString("Main", "LastUsedDir", "/data/logs/"));

    const auto again = TIniDocument::Parse(document.Serialize());
    EXPECT_EQ(again.ReadString("Main", "LastUsedDir", {}), "/data/logs/");
}

TEST(IniDocumentTest, VeryLongLinesAreReadWhole)
{
    const std::string longValue(100 * 1024, 'x');
    const auto document = TIniDocument::Parse(
        "[Child]\nPrintTitle=" + longValue + "\nAxisMin=5\n" + std::string(100 * 1024, ';') + "\n");
    EXPECT_EQ(document.ReadString("Child", "PrintTitle", {}), longValue);
    EXPECT_EQ(document.ReadInteger("Child", "AxisMin", 0), 5);
}

TEST(IniDocumentTest, DuplicateSectionsAndKeysReadAsOne)
{
    auto document
        = TIniDocument::Parse("[Main]\nLanguage=1\n[Child]\nAxisMin=3\n[main]\nExcelPath=/x\n"
                              "[Child]\nAxisMin=4\n");
    EXPECT_EQ(document.ReadInteger("Main", "Language", 0), 1);
    EXPECT_EQ(document.ReadString("Main", "ExcelPath", {}), "/x");
    const int axisMin = document.ReadInteger("Child", "AxisMin", 0);
    EXPECT_TRUE(axisMin == 3 || axisMin == 4) << axisMin;

    document.WriteInteger("Child", "AxisMax", 99);
    const auto text = document.Serialize();
    EXPECT_EQ(text.find("AxisMin"), text.rfind("AxisMin")) << text;
    EXPECT_EQ(TIniDocument::Parse(text).ReadInteger("Child", "AxisMax", 0), 99);
}

TEST(IniDocumentTest, SectionHeaderWithoutBracketStillOpensItsSection)
{
    const auto document = TIniDocument::Parse(
        "[Main]\nLanguage=2\n  [Child\nAxisMin=5\nAxisMax=50\n[Labels:21]\nP[kW]=Power\n");
    EXPECT_EQ(document.ReadInteger("Main", "Language", 0), 2);
    EXPECT_EQ(document.ReadInteger("Child", "AxisMin", 0), 5);
    EXPECT_EQ(document.ReadInteger("Child", "AxisMax", 0), 50);
    EXPECT_FALSE(document.HasKey("Main", "AxisMin"));
    EXPECT_EQ(document.ReadString("Labels:21", "P[kW]", {}), "Power");
}

TEST(IniDocumentTest, LinesWithoutEqualsNulsAndOldLineEndsDoNotHideLaterKeys)
{
    const std::string text(
        "[Main]\r\njust some words\r\nLanguage=3\r\x00\x00\rExcelPath=/opt/calc\r\n"
        "[Child]\rAxisMin=-4",
        78);
    const auto document = TIniDocument::Parse(text);
    EXPECT_EQ(document.ReadInteger("Main", "Language", 0), 3);
    EXPECT_EQ(document.ReadString("Main", "ExcelPath", {}), "/opt/calc");
    EXPECT_EQ(document.ReadInteger("Child", "AxisMin", 0), -4);
}

TEST(IniDocumentTest, ValuesKeepEqualsSignsAndSectionsAndKeysIgnoreCase)
{
    auto document = TIniDocument::Parse("[CHILD]\nPRINTTITLE = a=b = c \n");
    EXPECT_EQ(document.ReadString("Child", "PrintTitle", {}), "a=b = c");

    document.WriteString("child", "printtitle", "x=y");
    EXPECT_EQ(document.Serialize(), "[CHILD]\nPRINTTITLE=x=y\n");
}

TEST(IniDocumentTest, BlanksAroundAValueAndQuotesAroundItSurviveAWriteAndARead)
{
    TIniDocument document;
    for (const std::string value :
        {"T1\t\t", " x ", "\"quoted\"", "\"\"", "\"", "a \"b\" c", "plain"}) {
        document.WriteString("Labels:10", "T1[°C]", value);
        EXPECT_EQ(
            TIniDocument::Parse(document.Serialize()).ReadString("Labels:10", "T1[°C]", {}), value)
            << document.Serialize();
    }
    EXPECT_EQ(document.Serialize(),
        "[Labels:10]\nT1[\xB0"
        "C]=plain\n");
    // One pair of quotes around a value is taken off, as Windows does.
    EXPECT_EQ(TIniDocument::Parse("[Main]\nLastUsedDir=\" /a b/ \"\n")
                  .ReadString("Main", "LastUsedDir", {}),
        " /a b/ ");
}

TEST(IniDocumentTest, CommentsStayExceptThoseOfKeysOutsideAnySection)
{
    for (const std::string text : {
             "#top\nk=1\n[Main]\nLanguage=2\n",
             "[Main]\nLanguage=2\n#I[%]=M60\n\n[]\nLineWidth=2\n",
             "; file\n\n[Main]\n; the language\nLanguage=2\n",
             "\xEF\xBB\xBF ;48\n[Main\nLanguage=2\n",
             "\xEF\xBB\xBF ;48\n\n\nT1[\xC2\xB0"
             "C]=T1\n[Main]\nLanguage=2\n",
         }) {
        const auto read = TIniDocument::Parse(text);
        const std::string written = read.Serialize();
        EXPECT_EQ(TIniDocument::Parse(written).Serialize(), written) << text;
        EXPECT_EQ(read.ReadInteger("Main", "Language", 0), 2);
    }
    const std::string kept
        = TIniDocument::Parse("; file\n\n[Main]\n; the language\nLanguage=2\n").Serialize();
    EXPECT_NE(kept.find("; file"), std::string::npos) << kept;
    EXPECT_NE(kept.find("; the language"), std::string::npos) << kept;
    // The comments before the first entry are the file's, even before a key outside any
    // section; later ones of such keys go.
    const std::string top = TIniDocument::Parse("#top\nk=1\n;gone\n[]\nj=2\n[Main]\n").Serialize();
    EXPECT_NE(top.find("#top"), std::string::npos) << top;
    EXPECT_EQ(top.find(";gone"), std::string::npos) << top;
}

TEST(IniDocumentTest, AByteOrderMarkAtALinesStartIsNeverPartOfAKey)
{
    // Keys outside any section are written first, so a mark in front of one would become
    // the file's own mark at the next reading.
    const auto read = TIniDocument::Parse("[Main]\nLanguage=2\n[]\n  \xEF\xBB\xBFkW]=P\n");
    EXPECT_EQ(read.ReadString("", "kW]", {}), "P");
    const std::string written = read.Serialize();
    EXPECT_EQ(TIniDocument::Parse(written).Serialize(), written);
    EXPECT_EQ(TIniDocument::Parse(written).ReadString("", "kW]", {}), "P");
    TIniDocument fresh;
    EXPECT_FALSE(fresh.WriteString("Main", "\xEF\xBB\xBFkey", "x"));
}

TEST(IniDocumentTest, IntegersAreWholeDecimalTexts)
{
    const auto document
        = TIniDocument::Parse("[S]\na=12\nb= -5 \nc=+7\nd=12abc\ne=\nf=0x10\n"
                              "g=99999999999\nh=+-3\ni=2147483647\nj=-2147483648\n");
    EXPECT_EQ(document.ReadInteger("S", "a", 0), 12);
    EXPECT_EQ(document.ReadInteger("S", "b", 0), -5);
    EXPECT_EQ(document.ReadInteger("S", "c", 0), 7);
    for (const char* key : {"d", "e", "f", "g", "h", "missing"})
        EXPECT_EQ(document.ReadInteger("S", key, 42), 42) << key;
    EXPECT_EQ(document.ReadInteger("S", "i", 0), 2147483647);
    EXPECT_EQ(document.ReadInteger("S", "j", 0), -2147483647 - 1);
}

TEST(IniDocumentTest, BooleansAreTrueForEveryIntegerButZero)
{
    const auto document = TIniDocument::Parse("[S]\nzero=0\none=1\ntwo=2\nminus=-1\nword=yes\n");
    EXPECT_FALSE(document.ReadBool("S", "zero", true));
    EXPECT_TRUE(document.ReadBool("S", "one", false));
    EXPECT_TRUE(document.ReadBool("S", "two", false));
    EXPECT_TRUE(document.ReadBool("S", "minus", false));
    EXPECT_TRUE(document.ReadBool("S", "word", true));
    EXPECT_FALSE(document.ReadBool("S", "word", false));

    TIniDocument written;
    written.WriteBool("S", "on", true);
    written.WriteBool("S", "off", false);
    EXPECT_EQ(written.Serialize(), "[S]\non=1\noff=0\n");
}

TEST(IniDocumentTest, KeysThatWouldNotReadBackAreRefusedAndValuesStayOnOneLine)
{
    TIniDocument document;
    EXPECT_TRUE(document.WriteString("Labels:21", "P[kW]", "Power"));
    EXPECT_FALSE(document.WriteString("Labels:21", "[kW]", "no name"));
    EXPECT_FALSE(document.WriteString("Labels:21", "a=b[kW]", "equals"));
    EXPECT_FALSE(document.WriteString("Labels:21", ";x[kW]", "comment"));
    EXPECT_FALSE(document.WriteString("Labels:21", "", "empty"));
    EXPECT_TRUE(document.WriteString("Main", "LastUsedDir", "/tmp/a\n[Main]\nExcelPath=/bin/sh"));
    EXPECT_TRUE(document.WriteString("Labels:21", "T1[°C]", "Collector"));

    const auto again = TIniDocument::Parse(document.Serialize());
    EXPECT_EQ(again.ReadString("Labels:21", "P[kW]", {}), "Power");
    EXPECT_EQ(again.ReadString("Labels:21", "T1[°C]", {}), "Collector");
    EXPECT_FALSE(again.HasKey("Main", "ExcelPath"));
    EXPECT_EQ(again.ReadString("Main", "LastUsedDir", {}), "/tmp/a [Main] ExcelPath=/bin/sh");
    EXPECT_FALSE(again.HasAnyKey("kW"));
}

TEST(IniDocumentTest, KeysKeepTheirOrderAndNewKeysGoToTheEnd)
{
    auto document = TIniDocument::Parse("; my notes\n\n[Main]\nLanguage=1\nLastUsedDir=/a/\n");
    document.WriteString("Main", "ExcelPath", "/opt/calc");
    document.WriteInteger("Main", "Language", 3);
    document.WriteInteger("Child", "AxisMin", -10);
    EXPECT_EQ(document.Serialize(),
        "; my notes\n\n\n[Main]\nLanguage=3\nLastUsedDir=/a/\nExcelPath=/opt/calc\n\n\n"
        "[Child]\nAxisMin=-10\n");
    EXPECT_EQ(Reparsed(document), document.Serialize());
}

TEST(IniDocumentTest, WindowsCodePageWhenEveryCharacterFitsElseUtf8WithByteOrderMark)
{
    TIniDocument fits;
    fits.WriteString("Labels:21", "T1[°C]", "Kollektor €");
    EXPECT_EQ(fits.Serialize(),
        "[Labels:21]\nT1[\xB0"
        "C]=Kollektor \x80\n");

    TIniDocument wide;
    wide.WriteString("Labels:21", "T1[°C]", "Widerstand Ω");
    const auto bytes = wide.Serialize();
    EXPECT_EQ(bytes, "\xEF\xBB\xBF[Labels:21]\nT1[°C]=Widerstand Ω\n");

    EXPECT_EQ(
        TIniDocument::Parse(fits.Serialize()).ReadString("Labels:21", "T1[°C]", {}), "Kollektor €");
    EXPECT_EQ(TIniDocument::Parse(bytes).ReadString("Labels:21", "t1[°c]", {}), "Widerstand Ω");
}

TEST(IniDocumentTest, Utf8WithoutByteOrderMarkIsReadAsUtf8)
{
    const auto document = TIniDocument::Parse("[Labels:21]\nT1[°C]=Vorlauf °\n");
    EXPECT_EQ(document.ReadString("Labels:21", "T1[°C]", {}), "Vorlauf °");
}

} // namespace
