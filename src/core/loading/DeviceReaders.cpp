#include "core/loading/DeviceReaders.h"

#include <algorithm>
#include <chrono>
#include <system_error>

TDeviceReaders::TDeviceReaders(const std::vector<int>& fileDevice, int deviceCount, int workers,
    PrepareFile prepare, ReadFile read, FinishData finish)
    : prepare(std::move(prepare))
    , read(std::move(read))
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
    // A worker per file at most: more would only wait.
    const int count = std::clamp(workers, 1, std::max(1, static_cast<int>(files.size())));
    threads.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        try {
            threads.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            // The system starts no more threads: those it started do the work.
            if (threads.empty())
                throw;
            break;
        }
    }
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
        window = ahead;
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
        workOrStop.notify_all();
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
    workOrStop.notify_all();
    progressed.notify_all();
}

void TDeviceReaders::WaitForProgress(int milliseconds)
{
    std::unique_lock guard(lock);
    const int seen = events;
    progressed.wait_for(
        guard, std::chrono::milliseconds(milliseconds), [&] { return events != seen || stopped; });
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
    std::unique_lock guard(lock);
    while (!stopped) {
        const TTask task = NextTask();
        if (task.step == TStep::None) {
            workOrStop.wait(guard);
            continue;
        }
        guard.unlock();
        std::optional<std::string> failure;
        std::exception_ptr foreign;
        try {
            failure = Run(task);
        } catch (...) {
            foreign = std::current_exception();
        }
        guard.lock();
        if (foreign) {
            if (!foreignFailure)
                foreignFailure = foreign;
            stopped = true;
        } else {
            Complete(task, std::move(failure));
        }
        workOrStop.notify_all();
        if (foreign || CallerWanted(task)) {
            ++events;
            progressed.notify_all();
        }
    }
}

TDeviceReaders::TTask TDeviceReaders::NextTask()
{
    // Reading into a device first: it frees what the file's preparation holds, and the
    // device's next files wait for it.
    for (int i = 0; i < nextDevice; ++i) {
        const int d = deviceQueue[static_cast<size_t>(i)];
        DeviceSlot& device = devices[static_cast<size_t>(d)];
        if (device.busy || device.done)
            continue;
        if (device.read == static_cast<int>(device.files.size())) {
            device.busy = true;
            return {TStep::Finish, d, 0};
        }
        const int file = device.files[static_cast<size_t>(device.read)];
        if (files[static_cast<size_t>(file)].prepared) {
            device.busy = true;
            return {TStep::Read, d, file};
        }
    }
    // Then the approved file of the device least far ahead.
    int chosen = -1;
    for (int i = 0; i < nextDevice; ++i) {
        const int d = deviceQueue[static_cast<size_t>(i)];
        const DeviceSlot& device = devices[static_cast<size_t>(d)];
        if (device.prepareNext < device.approved
            && (chosen < 0
                || device.prepareNext - device.read
                    < devices[static_cast<size_t>(chosen)].prepareNext
                        - devices[static_cast<size_t>(chosen)].read))
            chosen = d;
    }
    if (chosen >= 0) {
        DeviceSlot& device = devices[static_cast<size_t>(chosen)];
        return {TStep::Prepare, chosen, device.files[static_cast<size_t>(device.prepareNext++)]};
    }
    // Nothing to do on the devices begun: the next one begins, once the caller approves.
    if (nextDevice < static_cast<int>(deviceQueue.size())) {
        devices[static_cast<size_t>(deviceQueue[static_cast<size_t>(nextDevice++)])].started = true;
        ++events;
        progressed.notify_all();
    }
    return {};
}

std::optional<std::string> TDeviceReaders::Run(const TTask& task)
{
    switch (task.step) {
    case TStep::Prepare:
        prepare(task.file);
        return std::nullopt;
    case TStep::Read:
        return read(task.file);
    case TStep::Finish:
        return finish(task.device);
    case TStep::None:
        break;
    }
    return std::nullopt;
}

bool TDeviceReaders::CallerWanted(const TTask& task) const
{
    // The caller's wait also ends at its own pace, for the progress bar; a file read
    // wakes it only when half of what it approved is used up.
    const DeviceSlot& device = devices[static_cast<size_t>(task.device)];
    return task.step == TStep::Finish
        || (task.step == TStep::Read && device.approved - device.read <= window / 2);
}

void TDeviceReaders::Complete(const TTask& task, std::optional<std::string> failure)
{
    DeviceSlot& device = devices[static_cast<size_t>(task.device)];
    switch (task.step) {
    case TStep::Prepare:
        files[static_cast<size_t>(task.file)].prepared = true;
        break;
    case TStep::Read:
        files[static_cast<size_t>(task.file)].failure = std::move(failure);
        files[static_cast<size_t>(task.file)].done = true;
        device.busy = false;
        ++device.read;
        ++filesDone;
        break;
    case TStep::Finish:
        device.failure = std::move(failure);
        device.done = true;
        device.busy = false;
        ++devicesDone;
        break;
    case TStep::None:
        break;
    }
}

int DefaultLoadWorkers()
{
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}
