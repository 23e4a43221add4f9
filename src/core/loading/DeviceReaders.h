#pragma once
// Reads the log files of several devices at once. Devices are independent until the whole
// analysis is finished, so each device's files are read on one worker, in their order, and
// the device's data is finished there too. The calling thread stays in charge: a file is
// read only after the caller has approved it (the memory check before each file), and the
// caller can stop the workers between two files. What a file or device gave is kept in its
// slot for the caller to collect in load order.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class TDeviceReaders {
public:
    // Reads file i; returns the failure text, or nothing when it loaded.
    using ReadFile = std::function<std::optional<std::string>(int file)>;
    // Finishes the data of device d after its last file; returns the failure text, if any.
    using FinishData = std::function<std::optional<std::string>(int device)>;

    // fileDevice[i]: the device of file i, files in load order. At most `workers` threads.
    TDeviceReaders(const std::vector<int>& fileDevice, int deviceCount, int workers, ReadFile read,
        FinishData finish);
    // Stops and waits for the workers.
    ~TDeviceReaders();
    TDeviceReaders(const TDeviceReaders&) = delete;
    TDeviceReaders& operator=(const TDeviceReaders&) = delete;

    // Lets each device being read run up to `ahead` files ahead of its worker, asking
    // `mayRead` (on the calling thread) before each file it approves. False when `mayRead`
    // said no; nothing more is approved then.
    bool ApproveAhead(int ahead, const std::function<bool()>& mayRead);
    // The workers end after the file they are reading; unread files stay unread.
    void Stop();
    // Waits until a file or device more is done, all is done, or the time is up.
    void WaitForProgress(int milliseconds);

    int FilesDone() const;
    bool DeviceDone(int device) const;
    bool AllDone() const;
    // After the file is done: its failure text, if any.
    const std::optional<std::string>& FileFailure(int file) const { return files[file].failure; }
    const std::optional<std::string>& DeviceFailure(int device) const
    {
        return devices[device].failure;
    }
    // A failure that was no std::exception, rethrown on the caller's thread.
    void RethrowForeignFailure() const;

private:
    struct FileSlot {
        int device = 0;
        bool done = false;
        std::optional<std::string> failure;
    };
    struct DeviceSlot {
        std::vector<int> files;
        bool started = false;
        int read = 0; // files of the device done
        int approved = 0; // files of the device that may be read
        bool done = false;
        std::optional<std::string> failure;
    };
    void Work();
    void ReadDevice(int device);
    bool WaitForApproval(const DeviceSlot& device, int position);

    ReadFile read;
    FinishData finish;
    std::vector<FileSlot> files;
    std::vector<DeviceSlot> devices;
    std::vector<int> deviceQueue; // biggest first, so the last device to start is small
    mutable std::mutex lock;
    std::condition_variable approvedOrStopped;
    std::condition_variable progressed;
    int nextDevice = 0;
    int filesDone = 0;
    int devicesDone = 0;
    bool stopped = false;
    std::exception_ptr foreignFailure;
    std::vector<std::thread> threads;
};

// How many workers the machine's cores allow.
int DefaultLoadWorkers();
