#include "cli/CliLoading.h"

#include "core/base/LanguageTable.h"
#include "core/loading/AnalysisSet.h"
#include "core/loading/DeviceReaders.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

namespace {

void CheckFormulas(const TLoadRequest& request, const TAnalysisSet& set)
{
    const auto& devices = set.DeviceList();
    for (const auto& [prefix, values] : request.formulas) {
        if (std::find(devices.begin(), devices.end(), prefix) == devices.end())
            throw TCliArgumentError("--formula " + prefix + ":" + values.front().name
                + ": no device " + prefix + " was loaded");
    }
    for (const TAnalysisSet::TDerivedProblem& problem : set.DerivedProblems()) {
        const auto given = request.formulas.find(problem.prefix);
        if (given != request.formulas.end()
            && std::any_of(given->second.begin(), given->second.end(),
                [&](const TDerivedValue& value) { return value.name == problem.name; }))
            throw TCliArgumentError(
                "--formula " + problem.prefix + ":" + problem.name + ": " + problem.reason);
    }
}

} // namespace

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
    set.SetExtraDerivedValues(request.formulas);
    load.result = LoadLogFiles(set, files, load.from, load.to, hooks);
    CheckFormulas(request, set);
    return load;
}

int RunCommand(std::ostream& err, const std::function<int()>& work)
{
    try {
        return work();
    } catch (const TCliArgumentError& e) {
        err << "kalvex-cli: " << e.what() << "\n";
        return 2;
    } catch (const std::exception& e) {
        err << e.what() << "\n";
        return 1;
    }
}
