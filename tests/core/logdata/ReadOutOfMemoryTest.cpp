// Reading a file while memory runs out at any one allocation: the file either fails and
// leaves no point, or counts as loaded. This program's allocations can be made to fail.

#include "LogFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// Allocations still granted before one fails; below 0, every one is.
std::atomic<long> allocationsLeft{-1};

} // namespace

void* operator new(std::size_t size)
{
    if (allocationsLeft.load() >= 0 && allocationsLeft.fetch_sub(1) == 0)
        throw std::bad_alloc();
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

namespace {

class ReadOutOfMemoryTest : public LogFixture { };

std::vector<int> PointCounts(const TLogAnalysis& analysis)
{
    std::vector<int> counts;
    for (int f = 0; f < analysis.FieldRecordCount(); ++f)
        counts.push_back(analysis.Series(f)->Points().Count());
    return counts;
}

} // namespace

TEST_F(ReadOutOfMemoryTest, AFileEitherLoadsOrLeavesNoPointsWhereverMemoryRunsOut)
{
    const std::string header = "dd.mm.yy hh:mm;T1[°C];Qtag[kWh]";
    const std::string first
        = WriteLog("10070315.csv", {header, "15.03.2007 10:00;20;1", "15.03.2007 10:01;21;2"});
    const std::string second
        = WriteLog("10070316.csv", {header, "16.03.2007 10:00;22;3", "16.03.2007 10:01;23;4"});
    int failures = 0;
    for (long granted = 0;; ++granted) {
        ASSERT_LT(granted, 5000);
        auto analysis = NewAnalysis();
        analysis->ReadLogFile(first);
        const std::vector<int> before = PointCounts(*analysis);
        bool failed = false;
        allocationsLeft = granted;
        try {
            analysis->ReadLogFile(second);
        } catch (const std::exception&) {
            failed = true;
        }
        const bool ranOut = allocationsLeft.exchange(-1) < 0;
        if (!ranOut)
            break;
        SCOPED_TRACE("allocation " + std::to_string(granted));
        if (failed) {
            ++failures;
            EXPECT_EQ(analysis->DayCount(), 1);
            EXPECT_EQ(analysis->FileCount(), 1);
            EXPECT_EQ(PointCounts(*analysis), before);
        } else {
            EXPECT_EQ(analysis->DayCount(), 2);
            EXPECT_EQ(analysis->FileCount(), 2);
        }
    }
    EXPECT_GT(failures, 0) << "memory never ran out where the file could fail";
}
