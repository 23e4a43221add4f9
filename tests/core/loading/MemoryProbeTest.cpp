// The memory check before each file: the system's answer, and how often it is asked.

#include "core/loading/MemoryProbe.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr std::uint64_t MiB = std::uint64_t(1) << 20;

TEST(MemoryProbe, LessThan25MiBAvailableStopsTheLoad)
{
    const std::string before = "MemTotal:        8000000 kB\nMemFree:           10000 kB\n";
    EXPECT_FALSE(EnoughMemoryToLoad(before + "MemAvailable:      25599 kB\nBuffers: 1 kB\n"));
    EXPECT_TRUE(EnoughMemoryToLoad(before + "MemAvailable:      25600 kB\nBuffers: 1 kB\n"));
    EXPECT_TRUE(EnoughMemoryToLoad(before)) << "a system that does not say";
    EXPECT_TRUE(EnoughMemoryToLoad("MemAvailable: many kB\n"));
    EXPECT_EQ(AvailableMemory("MemAvailable:\t 2048 kB\n"), 2 * MiB);
}

// Files checked in a row while the system reports the given amounts, one per question.
struct TScriptedMemory {
    std::vector<std::optional<std::uint64_t>> answers;
    int asked = 0;
    TMemoryProbe Probe()
    {
        return TMemoryProbe([this]() -> std::optional<std::uint64_t> {
            const size_t i = std::min(static_cast<size_t>(asked++), answers.size() - 1);
            return answers[i];
        });
    }
};

TEST(MemoryProbe, PlentyOfMemoryIsAskedForOnceInManyFilesAndLittleBeforeEveryFile)
{
    TScriptedMemory plenty{{16384 * MiB}};
    TMemoryProbe probe = plenty.Probe();
    for (int file = 0; file < 650; ++file)
        ASSERT_TRUE(probe.BeforeFile());
    EXPECT_EQ(plenty.asked, 10) << "once in 65 files";

    // 25 MiB plus room for two files of 64 MiB: asked before every third file.
    TScriptedMemory some{{(25 + 128) * MiB}};
    probe = some.Probe();
    for (int file = 0; file < 9; ++file)
        ASSERT_TRUE(probe.BeforeFile());
    EXPECT_EQ(some.asked, 3);

    TScriptedMemory little{{(25 + 63) * MiB}};
    probe = little.Probe();
    for (int file = 0; file < 5; ++file)
        ASSERT_TRUE(probe.BeforeFile());
    EXPECT_EQ(little.asked, 5);
}

TEST(MemoryProbe, MemoryRunningOutIsSeenAtTheNextQuestion)
{
    TScriptedMemory falling{{(25 + 64) * MiB, 30 * MiB, 20 * MiB}};
    TMemoryProbe probe = falling.Probe();
    EXPECT_TRUE(probe.BeforeFile()); // room for one more file unasked
    EXPECT_TRUE(probe.BeforeFile());
    EXPECT_TRUE(probe.BeforeFile()); // 30 MiB: enough, but no file unasked
    EXPECT_FALSE(probe.BeforeFile());
    EXPECT_EQ(falling.asked, 3);

    // A system that does not say lets the load go on and is asked again now and then.
    TScriptedMemory silent{{std::nullopt, 10 * MiB}};
    probe = silent.Probe();
    for (int file = 0; file < 65; ++file)
        EXPECT_TRUE(probe.BeforeFile());
    EXPECT_FALSE(probe.BeforeFile());
}

} // namespace
