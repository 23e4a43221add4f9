#include "core/loading/LoadLogFiles.h"

#include "core/base/KalvexError.h"
#include "core/base/LanguageTable.h"
#include "core/loading/AnalysisSet.h"
#include "core/loading/DeviceReaders.h"
#include "core/loading/LogFileNames.h"
#include "core/loading/MemoryProbe.h"
#include "core/logdata/LogFileReader.h"
#include "core/settings/IniSettings.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <memory>
#include <new>
#include <optional>
#include <system_error>

namespace {

// Files of a device approved ahead of the last one read into it: enough that the workers
// seldom wait, few enough that the memory check stays close to the file it is made for.
constexpr int ApprovalsAhead = 8;
// How long the calling thread waits for the workers at most, and how often it turns to its
// hooks (the window's events, the progress bar) while they read.
constexpr int HookIntervalMs = 10;

// Our own failures carry a language-table text; any other is a fault of ours, told in the
// user's language as the given text rather than in the library's English.
std::string MessageOf(const std::exception& e, TextId otherwise)
{
    if (dynamic_cast<const KalvexError*>(&e))
        return e.what();
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return Text(TextId::TxtDataStructureMemory);
    return Text(otherwise);
}

// The steps of one load and the hooks that follow them.
class TLoadSteps {
public:
    TLoadSteps(const TLoadHooks& hooks, int total)
        : hooks(hooks)
        , total(total)
    {
    }
    void Step()
    {
        if (hooks.progress)
            hooks.progress(done, total);
    }
    void Advance(int steps = 1)
    {
        done += steps;
        Step();
    }
    bool Aborted() const { return hooks.abortRequested && hooks.abortRequested(); }
    // Allocating a block proves nothing here (memory is only committed when touched), so
    // the system is asked how much it can still give.
    bool MemoryAvailable()
    {
        return hooks.memoryAvailable ? hooks.memoryAvailable() : probe.BeforeFile();
    }
    void ProcessEvents() const
    {
        if (hooks.processEvents)
            hooks.processEvents();
    }
    void DeviceFailed(const std::string& message) const
    {
        if (hooks.deviceFailed)
            hooks.deviceFailed(message);
    }
    int Done() const { return done; }

private:
    const TLoadHooks& hooks;
    const int total;
    int done = 0;
    TMemoryProbe probe;
};

[[noreturn]] void FailForMemory(TAnalysisSet& target)
{
    // What was loaded so far is given back before the user tries a shorter period.
    target.ResetToEmpty();
    Fail(TextId::TxtOutOfMemoryReport);
}

std::optional<std::string> ReadOneFile(
    TAnalysisSet& target, const std::string& path, TLogFileReader* prepared = nullptr)
{
    try {
        if (prepared)
            target.LoadFile(path, *prepared);
        else
            target.LoadFile(path);
        return std::nullopt;
    } catch (const std::exception& e) {
        return MessageOf(e, TextId::TxtInvalidLogFile);
    }
}

std::optional<std::string> FinishDeviceData(TAnalysisSet& target, int device)
{
    try {
        target.FinishDeviceData(device);
        return std::nullopt;
    } catch (const std::exception& e) {
        return MessageOf(e, TextId::TxtReportNotProduced);
    }
}

void FinishDeviceView(TAnalysisSet& target, int device, TLoadSteps& steps)
{
    try {
        target.FinishDeviceView(device);
    } catch (const std::exception& e) {
        steps.DeviceFailed(MessageOf(e, TextId::TxtReportNotProduced));
    }
}

void CollectFiles(const TLogFileList& files, const std::vector<std::optional<std::string>>& outcome,
    TLoadResult& result)
{
    for (size_t i = 0; i < files.size(); ++i) {
        if (outcome[i])
            result.failures.push_back({files[i].path, *outcome[i]});
        else
            result.loadedFiles.push_back(files[i].path);
    }
}

// Every file on the calling thread, then every device.
void LoadSequentially(
    TAnalysisSet& target, const TLogFileList& files, TLoadSteps& steps, TLoadResult& result)
{
    for (const TLogFileEntry& file : files) {
        if (steps.Aborted()) {
            result.aborted = true;
            return;
        }
        if (!steps.MemoryAvailable())
            FailForMemory(target);
        steps.ProcessEvents();
        if (std::optional<std::string> failure = ReadOneFile(target, file.path))
            result.failures.push_back({file.path, std::move(*failure)});
        else
            result.loadedFiles.push_back(file.path);
        steps.Advance();
    }
    for (int d = 0; d < target.DeviceCount(); ++d) {
        if (steps.Aborted()) {
            result.aborted = true;
            return;
        }
        steps.ProcessEvents();
        if (std::optional<std::string> failure = FinishDeviceData(target, d))
            steps.DeviceFailed(*failure);
        else
            FinishDeviceView(target, d, steps);
        steps.Advance();
    }
}

std::vector<int> DevicesOfFiles(const TLogFileList& files, const TAnalysisSet& target)
{
    const std::vector<std::string>& devices = target.DeviceList();
    std::vector<int> fileDevice;
    fileDevice.reserve(files.size());
    for (const TLogFileEntry& file : files) {
        const auto it = std::find(devices.begin(), devices.end(), FileDevicePrefix(file.path));
        fileDevice.push_back(static_cast<int>(it - devices.begin()));
    }
    return fileDevice;
}

enum class TParallelEnd { Loaded, Aborted, OutOfMemory, NoWorkers };

// The files on workers; the calling thread approves files, moves the hooks, and finishes
// the devices' views in device order as their data becomes ready. The workers have ended
// when it returns.
TParallelEnd ReadInParallel(TAnalysisSet& target, const TLogFileList& files, int workers,
    TLoadSteps& steps, TLoadResult& result)
{
    const int fileCount = static_cast<int>(files.size());
    const int deviceCount = target.DeviceCount();
    // The settings store is made here, once, rather than by the first worker to need it.
    try {
        GetIniSettings();
    } catch (const std::exception&) {
        // Each device meets the failure when it reads its settings, as it would alone.
    }
    target.DeferUnitsWarnings(true);
    struct Undefer {
        TAnalysisSet& target;
        ~Undefer() { target.DeferUnitsWarnings(false); }
    } undefer{target};

    // Declared before the workers, which use them until they have ended.
    std::vector<std::unique_ptr<TLogFileReader>> prepared(files.size());
    auto prepare = [&](int file) {
        try {
            auto reader = std::make_unique<TLogFileReader>(files[static_cast<size_t>(file)].path);
            reader->Prepare(true);
            prepared[static_cast<size_t>(file)] = std::move(reader);
        } catch (const std::bad_alloc&) {
            // The file is read without preparation, and meets the shortage there.
        }
    };
    auto read = [&](int file) {
        std::unique_ptr<TLogFileReader> reader = std::move(prepared[static_cast<size_t>(file)]);
        return ReadOneFile(target, files[static_cast<size_t>(file)].path, reader.get());
    };
    std::optional<TDeviceReaders> started;
    try {
        started.emplace(DevicesOfFiles(files, target), deviceCount, workers, prepare, read,
            [&](int device) { return FinishDeviceData(target, device); });
    } catch (const std::system_error&) {
        return TParallelEnd::NoWorkers;
    }
    TDeviceReaders& readers = *started;
    int finishedDevices = 0;
    int reported = 0;
    auto report = [&] {
        const int now = readers.FilesDone() + finishedDevices;
        if (now > reported)
            steps.Advance(now - reported);
        reported = now;
    };
    // The workers wake this thread often to approve files; the window's events and the
    // progress bar are served at their own pace, as they cost the workers a core meanwhile.
    auto nextHooks = std::chrono::steady_clock::now();
    for (;;) {
        if (steps.Aborted())
            return TParallelEnd::Aborted;
        if (!readers.ApproveAhead(ApprovalsAhead, [&] { return steps.MemoryAvailable(); }))
            return TParallelEnd::OutOfMemory;
        target.DeliverUnitsWarnings();
        if (const auto now = std::chrono::steady_clock::now(); now >= nextHooks) {
            report();
            steps.ProcessEvents();
            nextHooks = now + std::chrono::milliseconds(HookIntervalMs);
        }
        // As one after the other: before every device the abort test, the events and the
        // warnings of its files, which may have come since.
        while (finishedDevices < deviceCount && readers.DeviceDone(finishedDevices)) {
            if (steps.Aborted())
                return TParallelEnd::Aborted;
            steps.ProcessEvents();
            target.DeliverUnitsWarnings();
            if (const auto& failure = readers.DeviceFailure(finishedDevices))
                steps.DeviceFailed(*failure);
            else
                FinishDeviceView(target, finishedDevices, steps);
            ++finishedDevices;
            report();
        }
        if (finishedDevices == deviceCount)
            break;
        readers.RethrowForeignFailure();
        readers.WaitForProgress(HookIntervalMs);
    }
    std::vector<std::optional<std::string>> outcome;
    outcome.reserve(files.size());
    for (int i = 0; i < fileCount; ++i)
        outcome.push_back(readers.FileFailure(i));
    CollectFiles(files, outcome, result);
    return TParallelEnd::Loaded;
}

void LoadInParallel(TAnalysisSet& target, const TLogFileList& files, int workers, TLoadSteps& steps,
    TLoadResult& result)
{
    switch (ReadInParallel(target, files, workers, steps, result)) {
    case TParallelEnd::Loaded:
        break;
    case TParallelEnd::Aborted:
        result.aborted = true;
        break;
    case TParallelEnd::OutOfMemory:
        FailForMemory(target);
    case TParallelEnd::NoWorkers:
        // The system starts no thread now: the files are read here, one after the other.
        LoadSequentially(target, files, steps, result);
        break;
    }
}

} // namespace

std::vector<std::string> TLoadResult::ErrorLines() const
{
    std::vector<std::string> lines;
    for (const TLoadFailure& f : failures) {
        lines.push_back(f.path);
        lines.push_back(f.message);
        lines.emplace_back();
    }
    return lines;
}

TLogFileList FindLogFiles(const std::string& directory)
{
    TLogFileList list;
    ScanDirectory(directory, list, 2);
    SortByDateKey(list);
    return list;
}

TLoadResult LoadLogFiles(TAnalysisSet& target, const TLogFileList& files, TDateTime from,
    TDateTime to, const TLoadHooks& hooks)
{
    if (files.empty())
        Fail(TextId::TxtNoFilesFound);
    std::vector<std::string> devices = DeviceListOf(files);
    TLoadSteps steps(hooks, static_cast<int>(files.size() + devices.size()));
    TLoadResult result;
    steps.Step();
    target.BeginLoad(static_cast<int>(files.size()), std::move(devices), from, to);
    // A worker per file at most.
    const int workers
        = static_cast<int>(std::min<size_t>(std::max(hooks.workers, 1), files.size()));
    if (workers > 1)
        LoadInParallel(target, files, workers, steps, result);
    else
        LoadSequentially(target, files, steps, result);
    if (result.aborted) {
        target.ResetToEmpty();
        return result;
    }
    try {
        target.FinishLoad();
        if (hooks.finishViews)
            hooks.finishViews();
    } catch (const std::exception&) {
        target.ResetToEmpty();
        Fail(TextId::TxtReportNotProduced);
    }
    return result;
}
