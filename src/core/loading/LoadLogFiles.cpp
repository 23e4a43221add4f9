#include "core/loading/LoadLogFiles.h"

#include "core/base/KalvexError.h"
#include "core/base/LanguageTable.h"
#include "core/loading/AnalysisSet.h"

#include <exception>
#include <memory>
#include <new>

namespace {

constexpr size_t MemoryProbeBytes = 26214400; // 25 MiB

bool ProbeMemory()
{
    const std::unique_ptr<char[]> block(new (std::nothrow) char[MemoryProbeBytes]);
    return block != nullptr;
}

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
    const int deviceCount = static_cast<int>(devices.size());
    const int total = static_cast<int>(files.size()) + deviceCount;
    int done = 0;
    auto step = [&] {
        if (hooks.progress)
            hooks.progress(done, total);
    };
    auto aborted = [&] { return hooks.abortRequested && hooks.abortRequested(); };
    auto processEvents = [&] {
        if (hooks.processEvents)
            hooks.processEvents();
    };

    TLoadResult result;
    step();
    target.BeginLoad(static_cast<int>(files.size()), std::move(devices), from, to);
    for (const TLogFileEntry& file : files) {
        if (aborted()) {
            result.aborted = true;
            break;
        }
        if (!(hooks.memoryAvailable ? hooks.memoryAvailable() : ProbeMemory())) {
            // What was loaded so far is given back before the user tries a shorter period.
            target.ResetToEmpty();
            Fail(TextId::TxtOutOfMemoryReport);
        }
        processEvents();
        try {
            target.LoadFile(file.path);
            result.loadedFiles.push_back(file.path);
        } catch (const std::exception& e) {
            result.failures.push_back({file.path, MessageOf(e, TextId::TxtInvalidLogFile)});
        }
        ++done;
        step();
    }
    for (int d = 0; d < deviceCount && !result.aborted; ++d) {
        if (aborted()) {
            result.aborted = true;
            break;
        }
        processEvents();
        try {
            target.FinishDevice(d);
        } catch (const std::exception& e) {
            if (hooks.deviceFailed)
                hooks.deviceFailed(MessageOf(e, TextId::TxtReportNotProduced));
        }
        ++done;
        step();
    }
    if (result.aborted) {
        target.ResetToEmpty();
        return result;
    }
    try {
        target.FinishLoad();
    } catch (const std::exception&) {
        target.ResetToEmpty();
        Fail(TextId::TxtReportNotProduced);
    }
    return result;
}
