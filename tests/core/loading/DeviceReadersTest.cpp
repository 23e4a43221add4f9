// The workers that read log files: files are prepared on any worker, but each device
// takes its files one at a time, in their order, after their preparation.

#include "core/loading/DeviceReaders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>

namespace {

struct TTrace {
    std::mutex lock;
    std::vector<bool> prepared;
    std::set<std::thread::id> preparers;
    std::vector<std::vector<int>> readOrder; // per device
    std::vector<int> finished;
    std::vector<std::atomic<int>> reading; // per device, reads under way
    bool readBeforePrepared = false;
    bool readsOverlapped = false;

    TTrace(int files, int devices)
        : prepared(static_cast<size_t>(files))
        , readOrder(static_cast<size_t>(devices))
        , reading(static_cast<size_t>(devices))
    {
    }
};

// Runs the readers over the files, approving everything, until all is done.
void RunAll(TDeviceReaders& readers)
{
    while (!readers.AllDone()) {
        readers.ApproveAhead(4, [] { return true; });
        readers.WaitForProgress(5);
    }
}

TDeviceReaders MakeReaders(const std::vector<int>& fileDevice, int devices, TTrace& trace)
{
    return TDeviceReaders(
        fileDevice, devices, 2,
        [&trace](int file) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            const std::lock_guard guard(trace.lock);
            trace.prepared[static_cast<size_t>(file)] = true;
            trace.preparers.insert(std::this_thread::get_id());
        },
        [&trace, fileDevice](int file) -> std::optional<std::string> {
            const int device = fileDevice[static_cast<size_t>(file)];
            if (trace.reading[static_cast<size_t>(device)]++ != 0)
                trace.readsOverlapped = true;
            {
                const std::lock_guard guard(trace.lock);
                if (!trace.prepared[static_cast<size_t>(file)])
                    trace.readBeforePrepared = true;
                trace.readOrder[static_cast<size_t>(device)].push_back(file);
            }
            std::this_thread::sleep_for(std::chrono::microseconds(300));
            --trace.reading[static_cast<size_t>(device)];
            if (file == 3)
                return "file 3 failed";
            return std::nullopt;
        },
        [&trace](int device) -> std::optional<std::string> {
            const std::lock_guard guard(trace.lock);
            trace.finished.push_back(device);
            return std::nullopt;
        });
}

} // namespace

TEST(DeviceReadersTest, OneDeviceIsPreparedOnBothWorkersAndReadInOrder)
{
    const std::vector<int> fileDevice(24, 0);
    TTrace trace(24, 1);
    TDeviceReaders readers = MakeReaders(fileDevice, 1, trace);
    RunAll(readers);

    EXPECT_EQ(trace.preparers.size(), 2u) << "the second worker stood idle";
    std::vector<int> inOrder(24);
    for (int i = 0; i < 24; ++i)
        inOrder[static_cast<size_t>(i)] = i;
    EXPECT_EQ(trace.readOrder[0], inOrder);
    EXPECT_FALSE(trace.readBeforePrepared);
    EXPECT_FALSE(trace.readsOverlapped);
    EXPECT_EQ(trace.finished, std::vector<int>{0});
    EXPECT_EQ(readers.FilesDone(), 24);
    EXPECT_EQ(readers.FileFailure(3), std::optional<std::string>("file 3 failed"));
    EXPECT_FALSE(readers.FileFailure(4));
}

TEST(DeviceReadersTest, SeveralDevicesEachTakeTheirFilesInOrder)
{
    // Files of three devices interleaved, as the date order gives them.
    std::vector<int> fileDevice;
    for (int i = 0; i < 30; ++i)
        fileDevice.push_back(i % 3 == 2 ? 2 : i % 2);
    TTrace trace(30, 3);
    TDeviceReaders readers = MakeReaders(fileDevice, 3, trace);
    RunAll(readers);

    for (int d = 0; d < 3; ++d) {
        std::vector<int> expected;
        for (int i = 0; i < 30; ++i)
            if (fileDevice[static_cast<size_t>(i)] == d)
                expected.push_back(i);
        EXPECT_EQ(trace.readOrder[static_cast<size_t>(d)], expected) << "device " << d;
        EXPECT_TRUE(readers.DeviceDone(d));
    }
    EXPECT_FALSE(trace.readBeforePrepared);
    EXPECT_FALSE(trace.readsOverlapped);
    EXPECT_EQ(trace.finished.size(), 3u);
}

TEST(DeviceReadersTest, NothingIsPreparedBeyondWhatTheCallerApproved)
{
    const std::vector<int> fileDevice(20, 0);
    TTrace trace(20, 1);
    TDeviceReaders readers = MakeReaders(fileDevice, 1, trace);
    int approvals = 0;
    // Three files, then no more: the memory check said no.
    for (int i = 0; i < 200 && approvals < 4; ++i) {
        readers.ApproveAhead(4, [&] { return ++approvals <= 3; });
        readers.WaitForProgress(5);
    }
    while (readers.FilesDone() < 3)
        readers.WaitForProgress(5);
    readers.WaitForProgress(20);
    readers.Stop();
    const std::lock_guard guard(trace.lock);
    EXPECT_EQ(std::count(trace.prepared.begin(), trace.prepared.end(), true), 3);
    EXPECT_EQ(trace.readOrder[0], (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(trace.finished.empty());
}
