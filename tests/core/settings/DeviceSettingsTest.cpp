#include "core/settings/DeviceSettings.h"
#include "core/settings/IniDocument.h"
#include "core/settings/IniSettings.h"
#include "core/settings/SettingsFixture.h"

#include "core/base/KalvexError.h"
#include "core/bus/BusVocabulary.h"
#include "support/TestFiles.h"

#include <filesystem>

namespace {

constexpr TColor Rgb(int red, int green, int blue)
{
    return static_cast<TColor>(red + 256 * green + 65536 * blue);
}

class DeviceSettingsTest : public SettingsFixture {
protected:
    TIniDocument StoredFile() const { return TIniDocument::Parse(ReadIni()); }
};

TEST_F(DeviceSettingsTest, NewDeviceHasItsDefaults)
{
    const TDeviceSettings device(21, "Heating", false);
    EXPECT_EQ(device.GetNumber(), 21);
    EXPECT_EQ(device.GetName(), "Heating");
    EXPECT_EQ(device.ValueCount(), 0);
    EXPECT_EQ(device.GetLineWidth(), 2);
    EXPECT_TRUE(device.OthersUseBars());
    EXPECT_FALSE(device.OutputsUseBars());
    EXPECT_EQ(device.GetBackup(), nullptr);
}

TEST_F(DeviceSettingsTest, ValuesStandGroupedByKindWithTheirOwnPaletteSequences)
{
    TDeviceSettings device(21, "", true);
    device.AddValue("A", "[°C]", KindInput);
    device.AddValue("C", "[%]", KindOutput);
    device.AddValue("B", "[°C]", KindInput);
    device.AddValue("X", "[l/min]", KindOther);
    device.AddValue("D", "[%]", KindOutput);

    ASSERT_EQ(device.ValueCount(), 5);
    const char* order[] = {"A", "B", "X", "C", "D"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(device.GetValueName(i), order[i]) << i;
    EXPECT_EQ(device.InputCount(), 2);
    EXPECT_EQ(device.OtherCount(), 1);
    EXPECT_EQ(device.OutputCount(), 2);
    EXPECT_EQ(device.CountUpTo(KindInput), 2);
    EXPECT_EQ(device.CountUpTo(KindOther), 3);
    EXPECT_EQ(device.CountUpTo(KindOutput), 5);
    EXPECT_EQ(device.GetValueKind(1), KindInput);
    EXPECT_EQ(device.GetValueKind(2), KindOther);
    EXPECT_EQ(device.GetValueKind(3), KindOutput);

    EXPECT_EQ(device.GetColor(0), Rgb(255, 0, 0));
    EXPECT_EQ(device.GetColor(1), Rgb(0, 0, 255));
    EXPECT_EQ(device.GetColor(2), Rgb(255, 236, 0));
    EXPECT_EQ(device.GetColor(3), Rgb(255, 0, 0));
    EXPECT_EQ(device.GetColor(4), Rgb(0, 0, 255));
    EXPECT_EQ(device.GetUnit(2), "[l/min]");
    EXPECT_EQ(device.GetLabel(2), "X");
    EXPECT_FALSE(device.IsSumValue(2));
}

TEST_F(DeviceSettingsTest, TheTwentyFirstValueStartsThePaletteAgain)
{
    TDeviceSettings device(10, "", true);
    for (int i = 0; i < 20; ++i)
        device.AddValue("T" + std::to_string(i), "[°C]", KindInput);
    device.AddValue("P", "[kW]", KindOther);
    EXPECT_EQ(device.GetColor(19), Rgb(168, 230, 26));
    EXPECT_EQ(device.GetColor(20), DefaultPalette[0]);
    EXPECT_EQ(device.GetColor(13), Rgb(78, 50, 50));
}

TEST_F(DeviceSettingsTest, AnExistingEntryNameIsNotAddedAgain)
{
    TDeviceSettings device(21, "", true);
    device.AddValue("P", "[kW]", KindOther);
    device.AddValue("P", "[W]", KindOutput);
    device.AddValue("p", "[kW]", KindOther);
    EXPECT_EQ(device.ValueCount(), 2);
    EXPECT_EQ(device.OutputCount(), 0);
    EXPECT_EQ(device.GetUnit(0), "[kW]");
    int index = 7;
    EXPECT_TRUE(device.IndexOfValue("p", index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(device.IndexOfValue("Q", index));
    EXPECT_EQ(index, -1);
    EXPECT_FALSE(device.HasValue("P[kW]"));
}

TEST_F(DeviceSettingsTest, StoredColoursAndLabelsWinWhereverTheValueStands)
{
    WriteIni("[Colors:21]\np[KW]=255\nT1[\xB0"
             "C]=blue\nT2[\xB0"
             "C]=16777216\n[Labels:21]\nP[kW]=Leistung\n");
    TDeviceSettings device(21, "", true);
    device.AddValue("T1", "[°C]", KindInput);
    device.AddValue("T2", "[°C]", KindInput);
    device.AddValue("P", "[kW]", KindOther);
    EXPECT_EQ(device.GetColor(2), Rgb(255, 0, 0));
    EXPECT_EQ(device.GetLabel(2), "Leistung");
    EXPECT_EQ(device.GetColor(0), DefaultPalette[0]); // not an integer
    EXPECT_EQ(device.GetColor(1), DefaultPalette[1]); // not a colour
    EXPECT_EQ(device.GetLabel(0), "T1");

    TDeviceSettings other(22, "", true);
    other.AddValue("P", "[kW]", KindOther);
    EXPECT_EQ(other.GetColor(0), DefaultPalette[0]);
    EXPECT_EQ(other.GetLabel(0), "P");
}

TEST_F(DeviceSettingsTest, ASettingsFileChangedByAnotherProgramIsReadAgain)
{
    WriteIni("[Labels:21]\nP[kW]=Old\n");
    TDeviceSettings first(21, "", true);
    first.AddValue("P", "[kW]", KindOther);
    EXPECT_EQ(first.GetLabel(0), "Old");

    WriteIni("[Labels:21]\nP[kW]=Newer label\n");
    TDeviceSettings second(21, "", true);
    second.AddValue("P", "[kW]", KindOther);
    EXPECT_EQ(second.GetLabel(0), "Newer label");
}

TEST_F(DeviceSettingsTest, WithoutASettingsStoreValuesTakeTheirBuiltInDefaults)
{
    WriteIni("[Labels:21]\nP[kW]=Stored\n");
    SetVariable("LocalAppData", std::nullopt);
    TDeviceSettings device(21, "", true);
    device.AddValue("P", "[kW]", KindOther);
    ASSERT_EQ(device.ValueCount(), 1);
    EXPECT_EQ(device.OtherCount(), 1);
    EXPECT_EQ(device.GetLabel(0), "P");
    EXPECT_EQ(device.GetColor(0), Rgb(255, 0, 0));

    // A settings folder that can be used again is taken up by the next value.
    SetVariable("LocalAppData", TempPath());
    device.AddValue("T1",
        "[\xB0"
        "C]",
        KindInput);
    EXPECT_EQ(device.ValueCount(), 2);
    EXPECT_TRUE(GetIniSettings().HasIniFile());
}

TEST_F(DeviceSettingsTest, AValueOfNoKindIsRefused)
{
    TDeviceSettings device(21, "", true);
    ExpectFailure(TextId::TxtDeviceSettingRange, [&] { device.AddValue("P", "[kW]", KindNone); });
    EXPECT_EQ(device.ValueCount(), 0);
}

TEST_F(DeviceSettingsTest, EveryIndexIsChecked)
{
    TDeviceSettings device(21, "", true);
    device.AddValue("A", "[°C]", KindInput);
    device.AddValue("B", "[%]", KindOutput);
    for (const int index : {-1, 2, 1000}) {
        ExpectFailure(TextId::TxtDeviceSettingRange, [&] { device.GetUnit(index); });
        ExpectFailure(TextId::TxtDeviceSettingRange, [&] { device.GetValueName(index); });
        ExpectFailure(TextId::TxtDeviceSettingRange, [&] { device.GetLabel(index); });
        ExpectFailure(TextId::TxtDeviceSettingRange, [&] { device.SetLabel(index, "x"); });
        ExpectFailure(TextId::TxtDeviceSettingRange, [&] { device.GetColor(index); });
        ExpectFailure(TextId::TxtDeviceSettingRange, [&] { device.SetColor(index, 1); });
        ExpectFailure(TextId::TxtDeviceSettingRange, [&] { device.IsSumValue(index); });
        ExpectFailure(TextId::TxtDeviceSettingRange, [&] { device.SetSumValue(index, true); });
        ExpectFailure(TextId::TxtDeviceSettingRange, [&] { device.GetValueKind(index); });
    }
    device.SetSumValue(1, true);
    EXPECT_TRUE(device.IsSumValue(1));
    EXPECT_EQ(device.GetLabel(1), "B");
}

TEST_F(DeviceSettingsTest, LineWidthZeroIsStoredAsOne)
{
    TDeviceSettings device(21, "", true);
    device.SetLineWidth(0);
    EXPECT_EQ(device.GetLineWidth(), 1);
    device.SetLineWidth(5);
    EXPECT_EQ(device.GetLineWidth(), 5);
}

TEST_F(DeviceSettingsTest, RestoringTheBackupUndoesChangesAndDiscardingKeepsThem)
{
    TDeviceSettings device(21, "Boiler", false);
    device.AddValue("T1", "[°C]", KindInput);
    device.SaveBackup();
    ASSERT_NE(device.GetBackup(), nullptr);
    device.SetLabel(0, "Collector");
    device.SetColor(0, Rgb(1, 2, 3));
    device.SetLineWidth(4);
    device.SetOutputsUseBars(true);
    device.RestoreBackup();
    EXPECT_EQ(device.GetLabel(0), "T1");
    EXPECT_EQ(device.GetColor(0), DefaultPalette[0]);
    EXPECT_EQ(device.GetLineWidth(), 2);
    EXPECT_FALSE(device.OutputsUseBars());
    EXPECT_EQ(device.GetBackup(), nullptr);

    device.SaveBackup();
    device.SetLabel(0, "Collector");
    device.SaveBackup(); // a second snapshot replaces the first
    device.SetLabel(0, "Flow");
    device.RestoreBackup();
    EXPECT_EQ(device.GetLabel(0), "Collector");

    device.SaveBackup();
    device.SetLabel(0, "Return");
    device.DiscardBackup();
    EXPECT_EQ(device.GetBackup(), nullptr);
    EXPECT_EQ(device.GetLabel(0), "Return");
    device.RestoreBackup();
    EXPECT_EQ(device.GetLabel(0), "Return");
}

TEST_F(DeviceSettingsTest, CopiesAndAssignmentsCarryEverythingButTheBackup)
{
    TDeviceSettings source(30, "Station", false);
    source.AddValue("T1", "[°C]", KindInput);
    source.AddValue("R1", "[%]", KindOutput);
    source.SetSumValue(1, true);
    source.SetLineWidth(3);
    source.SaveBackup();

    const TDeviceSettings copy(source);
    EXPECT_EQ(copy.GetBackup(), nullptr);
    EXPECT_EQ(copy.GetNumber(), 30);
    EXPECT_EQ(copy.GetName(), "Station");
    EXPECT_EQ(copy.OutputCount(), 1);
    EXPECT_TRUE(copy.IsSumValue(1));
    EXPECT_EQ(copy.GetLineWidth(), 3);

    TDeviceSettings target(21, "", true);
    target.SaveBackup();
    target.Assign(source);
    EXPECT_EQ(target.GetBackup(), nullptr);
    EXPECT_EQ(target.GetNumber(), 30);
    EXPECT_FALSE(target.HasAutomaticName());
    EXPECT_EQ(target.ValueCount(), 2);
    EXPECT_EQ(target.GetUnit(1), "[%]");
    target.Assign(target);
    EXPECT_EQ(target.ValueCount(), 2);
}

TEST_F(DeviceSettingsTest, SavingTwiceWritesTheDefaultsOnlyTheFirstTime)
{
    TDeviceSettings device(21, "", true);
    device.AddValue("T1", "[°C]", KindInput);
    device.AddValue("P", "[kW]", KindOther);
    device.SetLabel(1, "Leistung");
    device.SetLineWidth(3);
    GetIniSettings().WriteDeviceSettings(device);

    device.SetLabel(1, "Power");
    device.SetColor(1, Rgb(0, 128, 0));
    device.SetLineWidth(5);
    device.SetOthersUseBars(false);
    GetIniSettings().WriteDeviceSettings(device);

    const auto stored = StoredFile();
    EXPECT_EQ(stored.ReadInteger("Dev:Default", "LineWidth", 0), 3);
    EXPECT_TRUE(stored.ReadBool("Dev:Default", "OthersUseBars", false));
    EXPECT_EQ(stored.ReadInteger("Dev:21", "LineWidth", 0), 5);
    EXPECT_FALSE(stored.ReadBool("Dev:21", "OthersUseBars", true));
    EXPECT_FALSE(stored.ReadBool("Dev:21", "OutputsUseBars", true));
    EXPECT_EQ(stored.ReadString("Labels:Default", "P[kW]", {}), "Leistung");
    EXPECT_EQ(stored.ReadInteger("Colors:Default", "P[kW]", 0), Rgb(0, 0, 255));
    EXPECT_EQ(stored.ReadString("Labels:21", "P[kW]", {}), "Power");
    EXPECT_EQ(stored.ReadInteger("Colors:21", "P[kW]", 0), 32768);
    EXPECT_EQ(stored.ReadString("Labels:21", "T1[°C]", {}), "T1");

    TDeviceSettings reloaded(21, "", true);
    reloaded.AddValue("P", "[kW]", KindOther);
    EXPECT_EQ(reloaded.GetLabel(0), "Power");
    EXPECT_EQ(reloaded.GetColor(0), Rgb(0, 128, 0));
}

TEST_F(DeviceSettingsTest, ANewDeviceTakesTheLineWidthAndBarsSavedForItsNumber)
{
    const struct {
        const char* file;
        int width;
        bool othersBars, outputsBars;
    } cases[] = {
        {"[Dev:21]\nLineWidth=4\nOthersUseBars=0\nOutputsUseBars=1\n", 4, false, true},
        {"[dev:21]\nlinewidth=10\n", 10, true, false},
        {"[Dev:21]\nLineWidth=0\nOthersUseBars=yes\nOutputsUseBars=2\n", 2, true, true},
        {"[Dev:21]\nLineWidth=11\n", 2, true, false},
        {"[Dev:21]\nLineWidth=wide\n", 2, true, false},
        {"[Dev:22]\nLineWidth=5\nOthersUseBars=0\n[Dev:Default]\nLineWidth=6\n", 2, true, false},
    };
    for (const auto& c : cases) {
        WriteIni(c.file);
        const TDeviceSettings device(21, "", true);
        EXPECT_EQ(device.GetLineWidth(), c.width) << c.file;
        EXPECT_EQ(device.OthersUseBars(), c.othersBars) << c.file;
        EXPECT_EQ(device.OutputsUseBars(), c.outputsBars) << c.file;
    }
}

TEST_F(DeviceSettingsTest, DefaultLabelsAreComparedWithoutRegardToCase)
{
    WriteIni("[Labels:Default]\np[KW]=Old\n");
    TDeviceSettings device(21, "", true);
    device.AddValue("P", "[kW]", KindOther);
    GetIniSettings().WriteDeviceSettings(device);

    const auto stored = StoredFile();
    EXPECT_EQ(stored.ReadString("Labels:Default", "P[kW]", {}), "Old");
    EXPECT_FALSE(stored.HasAnyKey("Colors:Default"));
    EXPECT_EQ(ReadIni().find("P[kW]=P"), ReadIni().rfind("P[kW]=P"));
}

TEST_F(DeviceSettingsTest, AFailedDeviceSaveReportsAndLeavesTheFileAsItWas)
{
    TDeviceSettings device(21, "", true);
    device.AddValue("P", "[kW]", KindOther);
    std::filesystem::create_directories(IniPath());

    ExpectFailure(
        TextId::TxtIniAccessFailed, [&] { GetIniSettings().WriteDeviceSettings(device); });
    GetIniSettings().WriteValueSettings("21", "P[kW]", 255, "Power"); // ignored
    EXPECT_TRUE(std::filesystem::is_directory(IniPath()));
}

TEST_F(DeviceSettingsTest, SumLabelsFollowTheLanguage)
{
    SelectLanguage(1);
    TDeviceSettings device(21, "", true);
    device.AddValue("T1tag", "[°C]", KindInput);
    device.AddValue("Ptag", "[kWh]", KindOther);
    device.AddValue("V1monat", "[l]", KindOther);
    device.AddValue("Xtag", "[l]", KindOther);
    device.AddValue("Pmonat", "[kWh]", KindOther);
    device.AddValue("tag", "[kWh]", KindOther);
    device.SetLabel(0, Text(TextId::TxtSumEnergy) + " (Q1)");
    device.SetLabel(1, Text(TextId::TxtSumEnergy) + " (Q)");
    device.SetLabel(2, TextIn(TextArray::Italian, TextId::TxtSumFlowRate) + " (V1)");
    device.SetLabel(3, "Mine (own)");
    device.SetLabel(4, Text(TextId::TxtSumEnergy));
    device.SetLabel(5, Text(TextId::TxtSumEnergy) + " (Q)");

    SelectLanguage(3);
    device.RetranslateSumLabels();
    EXPECT_EQ(device.GetLabel(0), TextIn(TextArray::German, TextId::TxtSumEnergy) + " (Q1)");
    EXPECT_EQ(device.GetLabel(1), TextIn(TextArray::French, TextId::TxtSumEnergy) + " (Q)");
    EXPECT_EQ(device.GetLabel(2), TextIn(TextArray::French, TextId::TxtSumFlowRate) + " (V1)");
    EXPECT_EQ(device.GetLabel(3), "Mine (own)");
    EXPECT_EQ(device.GetLabel(4), TextIn(TextArray::German, TextId::TxtSumEnergy));
    EXPECT_EQ(device.GetLabel(5), TextIn(TextArray::German, TextId::TxtSumEnergy) + " (Q)");
}

TEST_F(DeviceSettingsTest, AutomaticNamesFollowTheLanguageAndLogNamesStay)
{
    TDeviceSettings automatic(21, "", true);
    TDeviceSettings named(22, "Garage", false);
    SelectLanguage(1);
    const std::string german = automatic.GetDisplayName();
    EXPECT_EQ(german, GeneratedDeviceName(21));
    SelectLanguage(2);
    EXPECT_EQ(automatic.GetDisplayName(), GeneratedDeviceName(21));
    EXPECT_NE(automatic.GetDisplayName(), german);
    EXPECT_EQ(automatic.GetName(), automatic.GetDisplayName());
    EXPECT_EQ(named.GetDisplayName(), "Garage");
}

} // namespace
