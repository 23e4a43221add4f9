#include "core/settings/IniSettings.h"
#include "core/settings/SettingsFixture.h"

#include "support/TestFiles.h"

#include <QCoreApplication>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

class IniSettingsTest : public SettingsFixture {
protected:
    static ChildSettings ChangedChildSettings()
    {
        ChildSettings settings;
        settings.PrintTitle = "Anlage Süd";
        settings.AxisMin = -25;
        settings.AxisMax = 95;
        settings.DynamicScaling = false;
        settings.HeaderWidth0 = 200;
        settings.HeaderWidth1 = 48;
        settings.HeaderWidth2 = 0;
        return settings;
    }

    static void ExpectEqual(const ChildSettings& actual, const ChildSettings& expected)
    {
        EXPECT_EQ(actual.PrintTitle, expected.PrintTitle);
        EXPECT_EQ(actual.AxisMin, expected.AxisMin);
        EXPECT_EQ(actual.AxisMax, expected.AxisMax);
        EXPECT_EQ(actual.DynamicScaling, expected.DynamicScaling);
        EXPECT_EQ(actual.HeaderWidth0, expected.HeaderWidth0);
        EXPECT_EQ(actual.HeaderWidth1, expected.HeaderWidth1);
        EXPECT_EQ(actual.HeaderWidth2, expected.HeaderWidth2);
    }

    // The files in the settings folder: a failed write must leave no temporary file.
    std::vector<std::string> FolderContents() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(TempPath("Velmora")))
            names.push_back(entry.path().filename().string());
        return names;
    }
};

// Lets files grow only up to a few bytes, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved);
        savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, savedHandler);
    }

private:
    rlimit saved{};
    void (*savedHandler)(int) = nullptr;
};

TEST_F(IniSettingsTest, AMissingFileGivesTheDefaults)
{
    const TIniSettings& ini = GetIniSettings();
    EXPECT_TRUE(ini.HasIniFile());
    EXPECT_EQ(ini.FilePath(), IniPath());
    EXPECT_TRUE(fs::is_directory(TempPath("Velmora")));
    EXPECT_FALSE(fs::exists(IniPath())); // reading alone creates no file

    EXPECT_EQ(ini.GetExcelPath(), "");
    EXPECT_EQ(ini.GetMainSettings().Language, 0);
    EXPECT_EQ(ini.GetMainSettings().LastUsedDir,
        QCoreApplication::applicationDirPath().toStdString() + "/");
    ExpectEqual(ini.GetChildSettings(), ChildSettings{});
    EXPECT_EQ(ini.GetChildSettings().AxisMin, -10);
    EXPECT_EQ(ini.GetChildSettings().AxisMax, 120);
    EXPECT_TRUE(ini.GetChildSettings().DynamicScaling);
    EXPECT_EQ(ini.GetChildSettings().HeaderWidth0, 130);
    EXPECT_EQ(ini.GetChildSettings().HeaderWidth2, 36);
}

TEST_F(IniSettingsTest, EveryKeySurvivesARestart)
{
    {
        TIniSettings& ini = GetIniSettings();
        ini.SetExcelPath("/usr/bin/localc");
        ini.SetMainSettings(5, "/data/Logs Müller/");
        ini.SetChildSettings(ChangedChildSettings());
    }
    ReleaseIniSettings();
    EXPECT_EQ(ExistingIniSettings(), nullptr);

    const TIniSettings& ini = GetIniSettings();
    EXPECT_EQ(ini.GetExcelPath(), "/usr/bin/localc");
    EXPECT_EQ(ini.GetMainSettings().Language, 5);
    EXPECT_EQ(ini.GetMainSettings().LastUsedDir, "/data/Logs Müller/");
    ExpectEqual(ini.GetChildSettings(), ChangedChildSettings());
    EXPECT_EQ(&GetIniSettings(), &ini);
    EXPECT_EQ(ExistingIniSettings(), &ini);
}

TEST_F(IniSettingsTest, ALanguageOutsideZeroToSevenReadsAsZero)
{
    const std::pair<const char*, int> cases[]
        = {{"9", 0}, {"-1", 0}, {"7", 7}, {"0", 0}, {"3", 3}, {"257", 0}, {"de", 0}};
    for (const auto& [stored, expected] : cases) {
        WriteIni(std::string("[Main]\nLanguage=") + stored + "\n");
        ReleaseIniSettings();
        EXPECT_EQ(GetIniSettings().GetMainSettings().Language, expected) << stored;
    }
}

TEST_F(IniSettingsTest, StoredValuesAreReadByTheIntegerAndBooleanRules)
{
    WriteIni("[main]\nLASTUSEDDIR=/logs/\n[Child]\nDynamicScaling=2\nAxisMin=low\nAxisMax= 80 \n"
             "HeaderWidth1=12.5\n");
    const TIniSettings& ini = GetIniSettings();
    EXPECT_EQ(ini.GetMainSettings().LastUsedDir, "/logs/");
    EXPECT_TRUE(ini.GetChildSettings().DynamicScaling);
    EXPECT_EQ(ini.GetChildSettings().AxisMin, -10);
    EXPECT_EQ(ini.GetChildSettings().AxisMax, 80);
    EXPECT_EQ(ini.GetChildSettings().HeaderWidth1, 36);

    WriteIni("[Child]\nDynamicScaling=0\n");
    ReleaseIniSettings();
    EXPECT_FALSE(GetIniSettings().GetChildSettings().DynamicScaling);
}

TEST_F(IniSettingsTest, AFreshFileHoldsTheKeysInTheOrderTheyWereWritten)
{
    TIniSettings& ini = GetIniSettings();
    ini.SetMainSettings(2, "/logs/");
    ini.SetChildSettings(ChangedChildSettings());
    ini.SetExcelPath("/opt/calc");
    EXPECT_EQ(ReadIni(),
        "[Main]\nLanguage=2\nLastUsedDir=/logs/\nExcelPath=/opt/calc\n\n\n"
        "[Child]\nAxisMin=-25\nAxisMax=95\nPrintTitle=Anlage S\xFC"
        "d\nDynamicScaling=0\n"
        "HeaderWidth0=200\nHeaderWidth1=48\nHeaderWidth2=0\n");
}

TEST_F(IniSettingsTest, TwoRunningProgramsKeepEachOthersKeys)
{
    TIniSettings first;
    TIniSettings second;
    first.SetExcelPath("/opt/calc");
    second.SetChildSettings(ChangedChildSettings());
    first.SetMainSettings(3, "/first/");
    second.SetExcelPath("/usr/bin/localc");

    const TIniSettings third;
    EXPECT_EQ(third.GetExcelPath(), "/usr/bin/localc");
    EXPECT_EQ(third.GetMainSettings().Language, 3);
    EXPECT_EQ(third.GetMainSettings().LastUsedDir, "/first/");
    ExpectEqual(third.GetChildSettings(), ChangedChildSettings());
}

TEST_F(IniSettingsTest, TheLocationFollowsTheVariablesInTheirOrder)
{
    const auto located = [&] {
        ReleaseIniSettings();
        return GetIniSettings().FilePath();
    };
    SetVariable("LocalAppData", TempPath("local/"));
    fs::create_directories(TempPath("local"));
    SetVariable("AppData", TempPath("roaming"));
    fs::create_directories(TempPath("roaming"));
    EXPECT_EQ(located(), TempPath("local/Velmora/Kalvex.ini"));

    SetVariable("LocalAppData", std::nullopt);
    EXPECT_EQ(located(), TempPath("roaming/Velmora/Kalvex.ini"));
    SetVariable("LocalAppData", "");
    EXPECT_EQ(located(), TempPath("roaming/Velmora/Kalvex.ini"));

    SetVariable("AppData", "");
    SetVariable("XDG_CONFIG_HOME", TempPath("xdg"));
    fs::create_directories(TempPath("xdg"));
    SetVariable("HOME", TempPath("home"));
    fs::create_directories(TempPath("home"));
    EXPECT_EQ(located(), TempPath("xdg/Velmora/Kalvex.ini"));

    SetVariable("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(located(), TempPath("home/.config/Velmora/Kalvex.ini"));
    EXPECT_TRUE(fs::is_directory(TempPath("home/.config/Velmora")));
    // A configuration folder named but not made yet is made, as for ~/.config.
    SetVariable("XDG_CONFIG_HOME", TempPath("fresh"));
    EXPECT_EQ(located(), TempPath("fresh/Velmora/Kalvex.ini"));
    EXPECT_TRUE(fs::is_directory(TempPath("fresh/Velmora")));
}

TEST_F(IniSettingsTest, WithoutAUsableLocationTheStoreIsNotMadeAndIsTriedAgain)
{
    SetVariable("LocalAppData", std::nullopt);
    ExpectFailure(TextId::TxtIniAccessFailed, [] { GetIniSettings(); });
    EXPECT_EQ(ExistingIniSettings(), nullptr);

    SetVariable("LocalAppData", TempPath("missing/deeper"));
    ExpectFailure(TextId::TxtIniAccessFailed, [] { GetIniSettings(); });
    EXPECT_FALSE(fs::exists(TempPath("missing")));

    WriteTestFile(TempPath("plain/Velmora"), "a file, not a folder");
    SetVariable("LocalAppData", TempPath("plain"));
    ExpectFailure(TextId::TxtIniAccessFailed, [] { GetIniSettings(); });

    SetVariable("LocalAppData", TempPath());
    EXPECT_TRUE(GetIniSettings().HasIniFile());
}

TEST_F(IniSettingsTest, AFolderInPlaceOfTheFileGivesDefaultsAndFailedWrites)
{
    fs::create_directories(IniPath());
    TIniSettings& ini = GetIniSettings();
    EXPECT_EQ(ini.GetChildSettings().AxisMax, 120);

    ExpectFailure(TextId::TxtIniAccessFailed, [&] { ini.SetMainSettings(4, "/new/"); });
    EXPECT_EQ(ini.GetMainSettings().Language, 4);
    EXPECT_EQ(ini.GetMainSettings().LastUsedDir, "/new/");
    EXPECT_TRUE(fs::is_directory(IniPath()));
}

TEST_F(IniSettingsTest, AFullDiskReportsTheFailureAndKeepsTheOldFile)
{
    const std::string before = "[Main]\nLanguage=2\nLastUsedDir=/old/\n[Child]\nAxisMin=-5\n";
    WriteIni(before);
    TIniSettings& ini = GetIniSettings();
    {
        const FileSizeLimit limit(8);
        ExpectFailure(
            TextId::TxtIniAccessFailed, [&] { ini.SetChildSettings(ChangedChildSettings()); });
    }
    EXPECT_EQ(ReadIni(), before);
    EXPECT_EQ(FolderContents(), std::vector<std::string>{"Kalvex.ini"});
    ExpectEqual(ini.GetChildSettings(), ChangedChildSettings());

    ini.SetExcelPath("/opt/calc");
    ReleaseIniSettings();
    EXPECT_EQ(GetIniSettings().GetExcelPath(), "/opt/calc");
    EXPECT_EQ(GetIniSettings().GetChildSettings().AxisMin, -5);
}

TEST_F(IniSettingsTest, ALinkedSettingsFileStaysLinked)
{
    WriteTestFile(TempPath("dotfiles/Kalvex.ini"), "[Main]\nLanguage=6\n");
    fs::create_directories(TempPath("Velmora"));
    fs::create_symlink(TempPath("dotfiles/Kalvex.ini"), IniPath());

    GetIniSettings().SetExcelPath("/opt/calc");
    EXPECT_TRUE(fs::is_symlink(IniPath()));
    EXPECT_EQ(
        ReadTestFile(TempPath("dotfiles/Kalvex.ini")), "[Main]\nLanguage=6\nExcelPath=/opt/calc\n");
}

TEST_F(IniSettingsTest, AReadOnlyFolderOrFileReportsTheFailureAndKeepsTheOldFile)
{
    if (PermissionsAreIgnored())
        GTEST_SKIP() << "permission bits do not stop this user";
    const std::string before = "[Main]\nLanguage=2\n";
    WriteIni(before);
    TIniSettings& ini = GetIniSettings();

    fs::permissions(TempPath("Velmora"), fs::perms::owner_write, fs::perm_options::remove);
    ExpectFailure(TextId::TxtIniAccessFailed, [&] { ini.SetExcelPath("/opt/calc"); });
    EXPECT_EQ(ini.GetExcelPath(), "/opt/calc");
    fs::permissions(TempPath("Velmora"), fs::perms::owner_write, fs::perm_options::add);

    fs::permissions(IniPath(), fs::perms::owner_write, fs::perm_options::remove);
    ExpectFailure(TextId::TxtIniAccessFailed, [&] { ini.SetExcelPath("/opt/calc"); });
    // Writable but unreadable: replacing it would lose every key but the new one.
    fs::permissions(IniPath(), fs::perms::owner_write, fs::perm_options::add);
    fs::permissions(IniPath(), fs::perms::owner_read, fs::perm_options::remove);
    ExpectFailure(TextId::TxtIniAccessFailed, [&] { ini.SetExcelPath("/opt/calc"); });
    fs::permissions(IniPath(), fs::perms::owner_read, fs::perm_options::add);
    EXPECT_EQ(ReadIni(), before);
}

TEST_F(IniSettingsTest, ADamagedFileGivesWhatCanBeReadAndKeepsItOnWrite)
{
    WriteIni(std::string("\xFF\xFE garbage\n[Main]\nLanguage=3\nno equals sign here\n"
                         "\x01\x02\x00\x03\n[Child\nAxisMin=5\n[Labels:21]\nP[kW]=a=b\n",
        93));
    TIniSettings& ini = GetIniSettings();
    EXPECT_EQ(ini.GetMainSettings().Language, 3);
    EXPECT_EQ(ini.GetChildSettings().AxisMin, 5);
    EXPECT_EQ(ini.ReadLabel("Labels:21", "P[kW]", {}), "a=b");

    ini.SetExcelPath("/opt/calc");
    ReleaseIniSettings();
    const TIniSettings& again = GetIniSettings();
    EXPECT_EQ(again.GetMainSettings().Language, 3);
    EXPECT_EQ(again.GetChildSettings().AxisMin, 5);
    EXPECT_EQ(again.GetExcelPath(), "/opt/calc");
    EXPECT_EQ(again.ReadLabel("Labels:21", "P[kW]", {}), "a=b");
}

TEST_F(IniSettingsTest, TheFileIsWindows1252UntilACharacterDoesNotFit)
{
    TIniSettings& ini = GetIniSettings();
    ini.WriteValueSettings("21", "T1[°C]", 255, "Kollektor °");
    EXPECT_NE(ReadIni().find("T1[\xB0"
                             "C]=Kollektor \xB0"),
        std::string::npos);
    EXPECT_NE(ReadIni().substr(0, 3), "\xEF\xBB\xBF");

    ChildSettings settings;
    settings.PrintTitle = "Ω-Anlage";
    ini.SetChildSettings(settings);
    EXPECT_EQ(ReadIni().substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(ReadIni().find("T1[°C]=Kollektor °"), std::string::npos);

    ReleaseIniSettings();
    EXPECT_EQ(GetIniSettings().GetChildSettings().PrintTitle, "Ω-Anlage");
    EXPECT_EQ(GetIniSettings().ReadLabel("Labels:21", "t1[°c]", {}), "Kollektor °");
    EXPECT_EQ(GetIniSettings().ReadColor("Colors:21", "T1[°C]", 0), 255u);
}

} // namespace
