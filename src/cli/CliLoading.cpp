#include "cli/CliLoading.h"

#include "core/base/LanguageTable.h"
#include "core/loading/DeviceReaders.h"

#include <filesystem>
#include <ostream>

std::optional<TCliLoad> LoadRequestedFiles(const TLoadRequest& request, TAnalysisSet& set,
    std::ostream& err, std::function<void()> finishViews)
{
    // Absolute, as the folder browser gives it: the device and the bus number are read at
    // fixed places from a file's path, which a short relative one does not have.
    const std::string directory
        = std::filesystem::absolute(request.directory).lexically_normal().string();
    TLogFileList files = FindLogFiles(directory);
    const auto dates = TrimToDatedEnds(files);
    if (!dates) {
        err << Text(TextId::TxtNoFilesFound) << "\n";
        return std::nullopt;
    }
    TCliLoad load;
    load.from = request.from.value_or(dates->first);
    load.to = request.to.value_or(dates->last);
    KeepPeriod(files, load.from, load.to);
    TLoadHooks hooks;
    hooks.deviceFailed = [&err](const std::string& message) { err << message << "\n"; };
    hooks.workers = request.threads > 0 ? request.threads : DefaultLoadWorkers();
    hooks.finishViews = std::move(finishViews);
    load.result = LoadLogFiles(set, files, load.from, load.to, hooks);
    return load;
}
