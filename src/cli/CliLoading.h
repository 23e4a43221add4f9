#pragma once
// The loading both commands share: the log files below the directory (made absolute), two
// folder levels deep, kept to the requested period (all files found by default) and loaded in the
// open dialog's order into an analysis set.

#include "cli/CliArguments.h"
#include "core/loading/LoadLogFiles.h"

#include <functional>
#include <iosfwd>
#include <optional>
#include <stdexcept>

class TAnalysisSet;

// Arguments that turn out not to fit the logs loaded, such as a formula naming a field
// the device does not have: exit 2.
struct TCliArgumentError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct TCliLoad {
    TDateTime from = 0;
    TDateTime to = 0;
    TLoadResult result;
};

// Nothing, after writing "No files were found, …" to `err`, when the directory holds no
// dated log file. A device that cannot be finished is reported to `err` and the load goes
// on; `finishViews` builds the views on the completed analysis, as the open dialog has
// its window do. A --formula that cannot be added throws TCliArgumentError; other
// failures of the load are thrown.
std::optional<TCliLoad> LoadRequestedFiles(const TLoadRequest& request, TAnalysisSet& set,
    std::ostream& err, std::function<void()> finishViews = {});

// Runs a command's work and returns its exit code: a TCliArgumentError exits with 2, any
// other failure with 1, each said on `err`.
int RunCommand(std::ostream& err, const std::function<int()>& work);
