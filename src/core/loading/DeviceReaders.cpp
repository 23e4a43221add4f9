#include "core/loading/DeviceReaders.h"

#include <algorithm>
#include <chrono>

TDeviceReaders::TDeviceReaders(const std::vector<int>& fileDevice, int deviceCount, int workers,
    ReadFile read, FinishData finish)
    : read(std::move(read))
    , finish(std::move(finish))
    , files(fileDevice.size())
    , devices(static_cast<size_t>(deviceCount))
{
    for (size_t i = 0; i < fileDevice.size(); ++i) {
        files[i].device = fileDevice[i];
        devices[static_cast<size_t>(fileDevice[i])].files.push_back(static_cast<int>(i));
    }
    for (int d = 0; d < deviceCount; ++d)
        deviceQueue.push_back(d);
    std::stable_sort(deviceQueue.begin(), deviceQueue.end(), [this](int a, int b) {
        return devices[static_cast<size_t>(a)].files.size()
            > devices[static_cast<size_t>(b)].files.size();
    });
    const int count = std::clamp(workers, 1, std::max(1, deviceCount));
    threads.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        threads.emplace_back([this] { Work(); });
}

TDeviceReaders::~TDeviceReaders()
{
    Stop();
    for (std::thread& thread : threads)
        thread.join();
}

bool TDeviceReaders::ApproveAhead(int ahead, const std::function<bool()>& mayRead)
{
    std::vector<std::pair<size_t, int>> wanted; // device, files more
    {
        const std::lock_guard guard(lock);
        for (size_t d = 0; d < devices.size(); ++d) {
            const DeviceSlot& device = devices[d];
            const int limit = std::min(static_cast<int>(device.files.size()), device.read + ahead);
            if (device.started && !device.done && device.approved < limit)
                wanted.emplace_back(d, limit - device.approved);
        }
    }
    bool granted = true;
    for (auto& [device, more] : wanted) {
        int approved = 0;
        while (approved < more && (granted = mayRead()))
            ++approved;
        {
            const std::lock_guard guard(lock);
            devices[device].approved += approved;
        }
        approvedOrStopped.notify_all();
        if (!granted)
            break;
    }
    return granted;
}

void TDeviceReaders::Stop()
{
    {
        const std::lock_guard guard(lock);
        stopped = true;
    }
    approvedOrStopped.notify_all();
    progressed.notify_all();
}

void TDeviceReaders::WaitForProgress(int milliseconds)
{
    std::unique_lock guard(lock);
    const int files = filesDone;
    const int devices = devicesDone;
    progressed.wait_for(guard, std::chrono::milliseconds(milliseconds),
        [&] { return filesDone != files || devicesDone != devices || stopped; });
}

int TDeviceReaders::FilesDone() const
{
    const std::lock_guard guard(lock);
    return filesDone;
}

bool TDeviceReaders::DeviceDone(int device) const
{
    const std::lock_guard guard(lock);
    return devices[static_cast<size_t>(device)].done;
}

bool TDeviceReaders::AllDone() const
{
    const std::lock_guard guard(lock);
    return devicesDone == static_cast<int>(devices.size());
}

void TDeviceReaders::RethrowForeignFailure() const
{
    const std::lock_guard guard(lock);
    if (foreignFailure)
        std::rethrow_exception(foreignFailure);
}

void TDeviceReaders::Work()
{
    for (;;) {
        int device = -1;
        {
            const std::lock_guard guard(lock);
            if (stopped || nextDevice == static_cast<int>(deviceQueue.size()))
                return;
            device = deviceQueue[static_cast<size_t>(nextDevice++)];
            devices[static_cast<size_t>(device)].started = true;
        }
        // The caller approves the first files of the device.
        progressed.notify_all();
        try {
            ReadDevice(device);
        } catch (...) {
            const std::lock_guard guard(lock);
            if (!foreignFailure)
                foreignFailure = std::current_exception();
            stopped = true;
        }
        approvedOrStopped.notify_all();
        progressed.notify_all();
    }
}

void TDeviceReaders::ReadDevice(int device)
{
    DeviceSlot& slot = devices[static_cast<size_t>(device)];
    for (size_t position = 0; position < slot.files.size(); ++position) {
        if (!WaitForApproval(slot, static_cast<int>(position)))
            return;
        const int file = slot.files[position];
        std::optional<std::string> failure = read(file);
        {
            const std::lock_guard guard(lock);
            files[static_cast<size_t>(file)].failure = std::move(failure);
            files[static_cast<size_t>(file)].done = true;
            ++slot.read;
            ++filesDone;
        }
        progressed.notify_all();
    }
    {
        const std::lock_guard guard(lock);
        if (stopped)
            return;
    }
    std::optional<std::string> failure = finish(device);
    const std::lock_guard guard(lock);
    slot.failure = std::move(failure);
    slot.done = true;
    ++devicesDone;
}

bool TDeviceReaders::WaitForApproval(const DeviceSlot& device, int position)
{
    std::unique_lock guard(lock);
    approvedOrStopped.wait(guard, [&] { return stopped || device.approved > position; });
    return !stopped;
}

int DefaultLoadWorkers()
{
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}
