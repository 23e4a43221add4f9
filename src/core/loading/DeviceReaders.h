#pragma once
// Reads the log files of several devices at once, on a few workers. A file is first
// prepared (read, split and parsed as far as it goes without its device), on whichever
// worker is free, so that even one device keeps every core busy; then it is read into its
// device, each device's files in their order and on one worker at a time; after its last
// file the device's data is finished there too. The calling thread stays in charge: a file
// is prepared only after the caller has approved it (the memory check before each file),
// and the caller can stop the workers between two steps. What a file or device gave is
// kept in its slot for the caller to collect in load order.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class TDeviceReaders {
public:
    // Prepares file i; may run on any worker, also while other files of its device are read.
    using PrepareFile = std::function<void(int file)>;
    // Reads the prepared file i into its device; returns the failure text, or nothing when
    // it loaded.
    using ReadFile = std::function<std::optional<std::string>(int file)>;
    // Finishes the data of device d after its last file; returns the failure text, if any.
    using FinishData = std::function<std::optional<std::string>(int device)>;

    // fileDevice[i]: the device of file i, files in load order. At most `workers` threads
    // and one per file; fewer when the system starts no more. Throws std::system_error
    // when it starts none.
    TDeviceReaders(const std::vector<int>& fileDevice, int deviceCount, int workers,
        PrepareFile prepare, ReadFile read, FinishData finish);
    // Stops and waits for the workers.
    ~TDeviceReaders();
    TDeviceReaders(const TDeviceReaders&) = delete;
    TDeviceReaders& operator=(const TDeviceReaders&) = delete;

    // Lets each device being read run up to `ahead` files ahead of its last file read, asking
    // `mayRead` (on the calling thread) before each file it approves. False when `mayRead`
    // said no; nothing more is approved then.
    bool ApproveAhead(int ahead, const std::function<bool()>& mayRead);
    // The workers end after the step they are taking; files not read stay unread.
    void Stop();
    // Waits until a device is started or done, half of a device's approved files are read,
    // or the time is up.
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
        bool prepared = false;
        bool done = false;
        std::optional<std::string> failure;
    };
    struct DeviceSlot {
        std::vector<int> files;
        bool started = false;
        bool busy = false; // a worker reads a file into it or finishes it
        int prepareNext = 0; // files of the device given to be prepared
        int read = 0; // files of the device done
        int approved = 0; // files of the device that may be prepared
        bool done = false;
        std::optional<std::string> failure;
    };
    enum class TStep { None, Prepare, Read, Finish };
    struct TTask {
        TStep step = TStep::None;
        int device = 0;
        int file = 0;
    };
    void Work();
    // Under the lock: the next step to take, marked as taken.
    TTask NextTask();
    // Its failure text, if any.
    std::optional<std::string> Run(const TTask& task);
    // Under the lock, after the step: whether the caller is to be woken.
    bool CallerWanted(const TTask& task) const;
    // Under the lock: what the step gave.
    void Complete(const TTask& task, std::optional<std::string> failure);

    PrepareFile prepare;
    ReadFile read;
    FinishData finish;
    std::vector<FileSlot> files;
    std::vector<DeviceSlot> devices;
    std::vector<int> deviceQueue; // biggest first, so the last device to start is small
    mutable std::mutex lock;
    std::condition_variable workOrStop;
    std::condition_variable progressed;
    int nextDevice = 0;
    int filesDone = 0;
    int devicesDone = 0;
    int window = 0; // files approved ahead, as last asked
    int events = 0; // files read, devices started or done: what the caller waits for
    bool stopped = false;
    std::exception_ptr foreignFailure;
    std::vector<std::thread> threads;
};

// How many workers the machine's cores allow.
int DefaultLoadWorkers();
