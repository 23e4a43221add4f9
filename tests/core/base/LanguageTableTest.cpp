#include "core/base/LanguageTable.h"

#include <gtest/gtest.h>

#include <set>

namespace {

class LanguageTableTest : public testing::Test {
protected:
    void TearDown() override { SelectLanguage(1); }
};

TEST_F(LanguageTableTest, CodesSelectTheirArraysAndEverythingElseIsGerman)
{
    SelectLanguage(2);
    EXPECT_EQ(Text(TextId::TxtMenuFile), "File");
    SelectLanguage(7);
    EXPECT_EQ(CurrentTextArray(), TextArray::EnglishGB);
    EXPECT_EQ(Text(TextId::TxtMaxAnalysesQuestion),
        "You have already opened the maximum number of analyses. Should a new analysis "
        "be opened? Note: This will cause the current analysis to be lost.");
    SelectLanguage(3);
    EXPECT_EQ(Text(TextId::TxtSolarController), "Régulateur solaire");
    for (int code : {0, 8, 9, -1, 127}) {
        SelectLanguage(code);
        EXPECT_EQ(CurrentTextArray(), TextArray::German) << code;
    }
    EXPECT_EQ(Text(TextId::TxtIniAccessFailed),
        "Zugriff auf Ini-Datei fehlgeschlagen. Einstellungen können nicht gespeichert "
        "werden.");
}

TEST_F(LanguageTableTest, TabledDeviceAndSumTextsInAllSixArrays)
{
    const char* solar[] = {"Solarregler", "Solar controller", "Régulateur solaire",
        "Regulador solar", "Centralina solare", "Regulador solar"};
    const char* energy[] = {"Summe Energie", "Sum of energy", "Somme énergie", "Suma de la energía",
        "Somma energia", "Soma energia"};
    for (int a = 0; a < TextArrayCount; ++a) {
        EXPECT_EQ(TextIn(static_cast<TextArray>(a), TextId::TxtSolarController), solar[a]);
        EXPECT_EQ(TextIn(static_cast<TextArray>(a), TextId::TxtSumEnergy), energy[a]);
    }
    EXPECT_EQ(TextIn(TextArray::Italian, TextId::TxtFreshWater), "Acqua sanitaria");
    EXPECT_EQ(TextIn(TextArray::Portuguese, TextId::TxtExtension), "Ampliação");
}

TEST_F(LanguageTableTest, MatchesAnyLanguageIgnoresTheCurrentLanguageButNotCase)
{
    SelectLanguage(1);
    EXPECT_TRUE(MatchesAnyLanguage("Régulateur solaire", TextId::TxtSolarController));
    EXPECT_TRUE(MatchesAnyLanguage("Somma flusso", TextId::TxtSumFlowRate));
    EXPECT_FALSE(MatchesAnyLanguage("solar controller", TextId::TxtSolarController));
    EXPECT_FALSE(MatchesAnyLanguage("Heizkreis", TextId::TxtSolarController));
}

TEST_F(LanguageTableTest, EveryArrayIsComplete)
{
    // Only the licence notice's continuation may be empty, and only where the first
    // entry holds the whole notice.
    for (int a = 0; a < TextArrayCount; ++a) {
        const auto array = static_cast<TextArray>(a);
        for (int i = 0; i < TextCount; ++i) {
            const auto id = static_cast<TextId>(i);
            const bool mayBeEmpty = id == TextId::TxtFreewareNotice2
                && (array == TextArray::German || array == TextArray::EnglishGB);
            EXPECT_EQ(TextIn(array, id).empty(), mayBeEmpty) << "array " << a << " entry " << i;
        }
    }
}

TEST_F(LanguageTableTest, TranslationsAreNotEnglishCopies)
{
    // Short words such as "OK", "Info" or "Total" may read alike; whole sentences may not.
    for (int a = 0; a < TextArrayCount; ++a) {
        const auto array = static_cast<TextArray>(a);
        if (array == TextArray::EnglishGB)
            continue;
        int same = 0;
        for (int i = 0; i < TextCount; ++i) {
            const auto& english = TextIn(TextArray::EnglishGB, static_cast<TextId>(i));
            const auto& other = TextIn(array, static_cast<TextId>(i));
            if (english == other) {
                ++same;
                EXPECT_LT(english.size(), 16u) << "untranslated: " << english;
            }
        }
        EXPECT_LT(same, TextCount / 8) << "array " << a;
    }
}

TEST_F(LanguageTableTest, LicenceNoticeNamesTheGplInEveryLanguage)
{
    for (int a = 0; a < TextArrayCount; ++a) {
        const auto array = static_cast<TextArray>(a);
        const std::string notice = TextIn(array, TextId::TxtFreewareNotice) + " "
            + TextIn(array, TextId::TxtFreewareNotice2);
        EXPECT_NE(notice.find("GNU"), std::string::npos) << a;
        EXPECT_NE(notice.find("Velmora Kalvex 2"), std::string::npos) << a;
    }
}

} // namespace
