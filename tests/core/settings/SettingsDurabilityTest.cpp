// The settings file against what befalls it on disk: writes killed at random moments,
// temporaries they leave, texts whose bytes could be read two ways, and damaged starts.

#include "core/settings/FileReplacement.h"
#include "core/settings/IniDocument.h"
#include "core/settings/IniFile.h"
#include "core/settings/IniSettings.h"
#include "core/settings/SettingsFixture.h"

#include "support/TestFiles.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class SettingsDurabilityTest : public SettingsFixture {
protected:
    // Names in the folder that look like our temporary files.
    int TemporaryCount(const std::string& folder) const
    {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            count += name.starts_with("Kalvex.ini.") && name.ends_with(".tmp");
        }
        return count;
    }
};

constexpr int KeyCount = 40;

// One generation of settings: every key holds the generation, so a file mixed from two
// writes shows.
void WriteGeneration(TIniDocument& document, long generation)
{
    const std::string value = std::to_string(generation) + std::string(200, 'x');
    document.WriteInteger("Main", "Generation", generation);
    for (int k = 0; k < KeyCount; ++k)
        document.WriteString("Labels:21", "Key" + std::to_string(k), value);
}

// The generation the file holds; −1 when it is not one whole generation.
long GenerationIn(const std::string& bytes)
{
    const TIniDocument document = TIniDocument::Parse(bytes);
    const long generation = document.ReadInteger("Main", "Generation", -1);
    const std::string value = std::to_string(generation) + std::string(200, 'x');
    for (int k = 0; k < KeyCount; ++k) {
        if (document.ReadString("Labels:21", "Key" + std::to_string(k), {}) != value)
            return -1;
    }
    return generation;
}

[[noreturn]] void WriteGenerationsForever(const std::string& path, long first)
{
    try {
        TIniFile file(path);
        for (long generation = first;; ++generation)
            file.Update([generation](TIniDocument& d) { WriteGeneration(d, generation); });
    } catch (...) {
    }
    ::_exit(1);
}

} // namespace

TEST_F(SettingsDurabilityTest, AKilledWriteLeavesTheOldOrTheNewSettingsAndNoTemporary)
{
    const std::string folder = TempPath("store");
    fs::create_directories(folder);
    const std::string path = folder + "/Kalvex.ini";
    TIniFile(path).Update([](TIniDocument& d) { WriteGeneration(d, 0); });

    std::mt19937 random(19);
    // Microseconds; a kill that finds no write finished widens the range, so that a slow
    // machine (a sanitized build, a busy CI host) still sees writes complete.
    int longestPause = 4000;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    long generation = 0;
    int kills = 0;
    while (kills < 60 && std::chrono::steady_clock::now() < deadline) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            WriteGenerationsForever(path, generation + 1);
        ::usleep(static_cast<useconds_t>(std::uniform_int_distribution(0, longestPause)(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writing child ended by itself";
        ++kills;

        const long found = GenerationIn(ReadTestFile(path));
        ASSERT_GE(found, generation) << "after kill " << kills;
        if (found == generation)
            longestPause = std::min(2 * longestPause, 256000);
        generation = found;
    }
    EXPECT_GE(kills, 50);
    EXPECT_GT(generation, 0) << "no write ever finished before a kill";

    // The next write that succeeds takes away what the killed ones left.
    TIniFile(path).Update([&](TIniDocument& d) { WriteGeneration(d, generation + 1); });
    EXPECT_EQ(GenerationIn(ReadTestFile(path)), generation + 1);
    EXPECT_EQ(TemporaryCount(folder), 0);
}

TEST_F(SettingsDurabilityTest, OnlyTemporariesOfNoRunningWriteAreRemoved)
{
    const std::string folder = TempPath("store");
    fs::create_directories(folder);
    const std::string path = folder + "/Kalvex.ini";
    WriteTestFile(folder + "/Kalvex.ini.a1B2c3.tmp", "stale");
    WriteTestFile(folder + "/Kalvex.ini.backup", "the user's");
    WriteTestFile(folder + "/Kalvex.ini.old.tmp", "the user's");
    WriteTestFile(folder + "/Other.ini.a1B2c3", "another program's");
    // A write in progress holds its temporary locked.
    WriteTestFile(folder + "/Kalvex.ini.Zz9Yy8.tmp", "in progress");
    const int busy = ::open((folder + "/Kalvex.ini.Zz9Yy8.tmp").c_str(), O_RDONLY);
    ASSERT_GE(busy, 0);
    ASSERT_EQ(::flock(busy, LOCK_EX), 0);

    ASSERT_TRUE(ReplaceFileContents(path, "[Main]\nLanguage=2\n"));
    EXPECT_FALSE(fs::exists(folder + "/Kalvex.ini.a1B2c3.tmp"));
    EXPECT_TRUE(fs::exists(folder + "/Kalvex.ini.Zz9Yy8.tmp"));
    for (const char* kept : {"Kalvex.ini.backup", "Kalvex.ini.old.tmp", "Other.ini.a1B2c3"})
        EXPECT_TRUE(fs::exists(folder + "/" + kept)) << kept;

    ::close(busy);
    ASSERT_TRUE(ReplaceFileContents(path, "[Main]\nLanguage=3\n"));
    EXPECT_FALSE(fs::exists(folder + "/Kalvex.ini.Zz9Yy8.tmp"));
    EXPECT_EQ(ReadTestFile(path), "[Main]\nLanguage=3\n");
}

TEST_F(SettingsDurabilityTest, AValueWhoseBytesLookLikeUtf8ReadsBackUnchanged)
{
    // "Ã¤" in Windows-1252 is C3 A4, which is UTF-8 for "ä".
    const std::string folder = "/tmp/MÃ¤rz/";
    GetIniSettings().SetMainSettings(2, folder);
    ReleaseIniSettings();
    EXPECT_EQ(GetIniSettings().GetMainSettings().LastUsedDir, folder);

    // Writing another setting leaves it as it is.
    const std::string before = ReadIni();
    GetIniSettings().SetExcelPath("/usr/bin/localc");
    ReleaseIniSettings();
    EXPECT_EQ(GetIniSettings().GetMainSettings().LastUsedDir, folder);
    EXPECT_TRUE(ReadIni().starts_with("\xEF\xBB\xBF"));
    EXPECT_NE(ReadIni().find("LastUsedDir=" + folder), std::string::npos) << before;

    // Plain Windows-1252 texts are still written as Windows-1252.
    TIniDocument plain;
    plain.WriteString("Main", "LastUsedDir", "/tmp/März/");
    EXPECT_EQ(plain.Serialize(), "[Main]\nLastUsedDir=/tmp/M\xE4rz/\n");
}

TEST_F(SettingsDurabilityTest, AnyNumberOfByteOrderMarksIsRemovedBeforeTheRepair)
{
    // Two marks, with NUL characters between them, three marks, and a second mark whose
    // bytes NUL characters split.
    for (const std::string& marks :
        {std::string("\xEF\xBB\xBF\xEF\xBB\xBF"), std::string("\xEF\xBB\xBF\0\0\xEF\xBB\xBF", 8),
            std::string("\xEF\xBB\xBF\xEF\xBB\xBF\xEF\xBB\xBF"),
            std::string("\xEF\xBB\xBF\0\xEF\xBB\0\0\xBF", 9)}) {
        const auto document = TIniDocument::Parse(marks + "[Main\nLanguage=2\nLastUsedDir=/a/\n");
        EXPECT_EQ(document.ReadInteger("Main", "Language", 0), 2);
        EXPECT_EQ(document.ReadString("Main", "LastUsedDir", {}), "/a/");
        const std::string written = document.Serialize();
        EXPECT_EQ(written, "[Main]\nLanguage=2\nLastUsedDir=/a/\n");
        EXPECT_EQ(TIniDocument::Parse(written).Serialize(), written);
    }
}

TEST_F(SettingsDurabilityTest, AnEmptyNamelessSectionIsDroppedSoRewritesChangeNothing)
{
    const auto document = TIniDocument::Parse("[A]\nk=1\n[");
    const std::string written = document.Serialize();
    EXPECT_EQ(written, "[A]\nk=1\n");
    EXPECT_EQ(TIniDocument::Parse(written).Serialize(), written);
    // Keys under "[]" stay where the file's keys outside any section are.
    const auto keyed = TIniDocument::Parse("[A]\nk=1\n[]\nx=2\n");
    EXPECT_EQ(keyed.ReadString("", "x", {}), "2");
    EXPECT_EQ(TIniDocument::Parse(keyed.Serialize()).Serialize(), keyed.Serialize());
}
