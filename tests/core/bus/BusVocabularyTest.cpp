#include "core/bus/BusVocabulary.h"
#include "core/base/KalvexError.h"

#include <gtest/gtest.h>

namespace {

class BusVocabularyTest : public testing::Test {
protected:
    void SetUp() override { SelectLanguage(2); }
    void TearDown() override { SelectLanguage(1); }
};

TEST_F(BusVocabularyTest, BusNumberComesFromTheTwoCharactersBeforeTheDate)
{
    EXPECT_EQ(BusNumberFromPath("/logs/2007/10070315.csv"), 10);
    EXPECT_EQ(BusNumberFromPath("/logs/21070315.CSV"), 21);
    EXPECT_EQ(BusNumberFromPath("/logs/AB070315.csv"), -1);
    // A short path reads the 5th and 6th characters.
    EXPECT_EQ(BusNumberFromPath("abcd30xx"), 30);
    EXPECT_EQ(BusNumberFromPath("abc"), -1);
}

TEST_F(BusVocabularyTest, GeneratedNamesFollowTheDeviceKind)
{
    EXPECT_EQ(GeneratedDeviceName(0), "BusMaster");
    EXPECT_EQ(GeneratedDeviceName(10), "Solar controller");
    EXPECT_EQ(GeneratedDeviceName(20), "Solar controller");
    EXPECT_EQ(GeneratedDeviceName(21), "Heating circuit 1");
    EXPECT_EQ(GeneratedDeviceName(30), "Fresh water 0");
    EXPECT_EQ(GeneratedDeviceName(45), "Extension 5");
    EXPECT_EQ(GeneratedDeviceName(5), "BusID 5");
    EXPECT_EQ(GeneratedDeviceName(50), "BusID 50");
    SelectLanguage(1);
    EXPECT_EQ(GeneratedDeviceName(22), "Heizkreis 2");
    try {
        GeneratedDeviceName(-1);
        FAIL() << "a negative bus number must fail";
    } catch (const KalvexError& e) {
        EXPECT_EQ(std::string(e.what()), Text(TextId::TxtDataStructureMemory));
    }
}

TEST_F(BusVocabularyTest, LogNamesThatAreTheKindNameInAnyLanguageAreGenerated)
{
    auto id = DeviceNameFromLog(10, "Solarregler 1");
    EXPECT_EQ(id.name, "Solar controller");
    EXPECT_TRUE(id.automaticName);
    EXPECT_TRUE(DeviceNameFromLog(21, "Circuito de calefacción 1").automaticName);
    EXPECT_TRUE(DeviceNameFromLog(0, "BusMaster").automaticName);
    EXPECT_TRUE(DeviceNameFromLog(21, "").automaticName);
    id = DeviceNameFromLog(10, "Pump");
    EXPECT_EQ(id.name, "Pump");
    EXPECT_FALSE(id.automaticName);
    // A kind name for the wrong kind, a number without kind, and English (US) spelling
    // are kept as they are.
    EXPECT_FALSE(DeviceNameFromLog(10, "Heating circuit").automaticName);
    EXPECT_FALSE(DeviceNameFromLog(5, "BusID").automaticName);
    EXPECT_FALSE(NameMatchesDeviceKind(-3, "BusMaster"));
}

TEST_F(BusVocabularyTest, ColumnNamesFollowTheNameRules)
{
    auto column = SplitColumnHeader("T1[\xC2\xB0"
                                    "C]");
    ASSERT_TRUE(column);
    EXPECT_EQ(column->name, "T1");
    EXPECT_EQ(column->unit,
        "[\xC2\xB0"
        "C]");
    EXPECT_FALSE(SplitColumnHeader("Status"));
    EXPECT_FALSE(SplitColumnHeader("Qges[kWh]"));
    EXPECT_FALSE(SplitColumnHeader("QSum[kWh]"));
    EXPECT_EQ(SplitColumnHeader("Qtag[kWh]")->name, "Ptag");
    EXPECT_EQ(SplitColumnHeader("Qday[kWh]")->name, "Ptag");
    EXPECT_EQ(SplitColumnHeader("QDay[kWh]")->name, "Ptag");
    EXPECT_EQ(SplitColumnHeader("QTag[kWh]")->name, "Ptag");
    EXPECT_EQ(SplitColumnHeader("Qyear[kWh]")->name, "Pjahr");
    EXPECT_EQ(SplitColumnHeader("Qjahr[kWh]")->name, "Pjahr");
    column = SplitColumnHeader("V'[l/min]");
    EXPECT_EQ(column->name, "V");
    EXPECT_EQ(column->unit, "[l/min]");
    EXPECT_EQ(ValueKindOfUnit(column->unit), KindOther);
    // Only day-total names are renamed; an apostrophe elsewhere stays.
    EXPECT_EQ(SplitColumnHeader("T'1[\xC2\xB0"
                                "C]")
                  ->name,
        "T'1");
    EXPECT_EQ(SplitColumnHeader("Pday[kW]")->name, "Pday");
}

TEST_F(BusVocabularyTest, UnitsNormaliseAndBelongToKinds)
{
    EXPECT_EQ(NormaliseUnit("[W]").unit, "[kW]");
    EXPECT_EQ(static_cast<double>(NormaliseUnit("[W]").factor), 0.0010000000474974513);
    EXPECT_EQ(NormaliseUnit("[kW/h]").unit, "[kWh]");
    EXPECT_EQ(NormaliseUnit("[C]").unit,
        "[\xC2\xB0"
        "C]");
    EXPECT_EQ(NormaliseUnit("[F]").unit,
        "[\xC2\xB0"
        "F]");
    EXPECT_EQ(NormaliseUnit("[kW]").factor, 1.0f);
    EXPECT_EQ(ValueKindOfUnit("[\xC2\xB0"
                              "F]"),
        KindInput);
    EXPECT_EQ(ValueKindOfUnit("[kW/m\xC2\xB2]"), KindOther);
    EXPECT_EQ(ValueKindOfUnit("[bar]"), KindOther);
    EXPECT_EQ(ValueKindOfUnit("[%]"), KindOutput);
    EXPECT_EQ(ValueKindOfUnit("[l]"), KindNone);
    EXPECT_EQ(ValueKindOfUnit("[MBtu]"), KindNone);
    EXPECT_EQ(ValueKindOfUnit("[V]"), KindNone);
}

TEST_F(BusVocabularyTest, SumUnitsLogNamesAndDefaultLabels)
{
    EXPECT_EQ(SumUnit("[l/min]"), "[l]");
    EXPECT_EQ(SumUnit("[kW]"), "[kWh]");
    EXPECT_EQ(SumUnit("[MBtu/h]"), "[MBtu]");
    EXPECT_EQ(SumUnit("[gal/min]"), "[gal]");
    EXPECT_EQ(SumUnit("[kWh]"), "[kWh]");
    EXPECT_EQ(LogName("Ptag"), "Qtag");
    EXPECT_EQ(LogName("V1"), "V1");
    EXPECT_EQ(DefaultSumLabel("P1"), "Sum of energy (Q1)");
    EXPECT_EQ(DefaultSumLabel("P"), "Sum of energy (Q)");
    EXPECT_EQ(DefaultSumLabel("V"), "Sum of flow rate (V)");
    EXPECT_EQ(DefaultSumLabel("T1"), "T1");
    SelectLanguage(4);
    EXPECT_EQ(DefaultSumLabel("V2"), "Suma del caudal (V2)");
}

} // namespace
