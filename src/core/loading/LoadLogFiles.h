#pragma once
// The loading of the chosen log files into an analysis set, in the order the open
// dialog, kalvex-cli and the benchmark all follow: one device slot per prefix, every file
// in ascending date order (a failing file is recorded and the others go on), every device
// finished in device order, then the whole analysis. The dialog drives its progress bar,
// the message loop and the Esc key through the hooks.

#include "core/loading/DirectoryScan.h"

#include <functional>
#include <string>
#include <vector>

class TAnalysisSet;

struct TLoadHooks {
    // Steps done so far of (files + devices).
    std::function<void(int done, int total)> progress;
    // Runs before every file and every device, after the abort test.
    std::function<void()> processEvents;
    // Polled before every file and every device; true ends the load as aborted.
    std::function<bool()> abortRequested;
    // A device that cannot be finished; the load goes on. Unset: the failure is dropped.
    std::function<void(const std::string& message)> deviceFailed;
    // Asked before every file whether memory for it remains. Unset: whether the system
    // has 25 MiB available (TMemoryProbe).
    std::function<bool()> memoryAvailable;
    // Devices read at once, each on a worker thread of its own while the calling thread
    // keeps the hooks moving; 1 reads every file on the calling thread. The analysis, its
    // files, failures and their order are the same either way. With several workers the
    // hooks are still called on the calling thread only, but abortRequested and
    // processEvents run while the workers read rather than once before each file, and
    // deviceFailed and the units warnings come when the caller collects them.
    int workers = 1;
    // Builds the views on the completed analysis; a failure counts as the analysis
    // failing.
    std::function<void()> finishViews;
};

struct TLoadFailure {
    std::string path;
    std::string message;
};

struct TLoadResult {
    bool aborted = false;
    std::vector<std::string> loadedFiles; // in load order
    std::vector<TLoadFailure> failures; // in load order
    // Three lines per failed file: path, message, an empty line.
    std::vector<std::string> ErrorLines() const;
};

// Fails with "No files were found, …" for an empty list (nothing changed), with the
// not-enough-memory text when the memory test fails (the set is emptied), and with
// "Severe error: Report could not be produced." when the analysis or its views cannot be
// completed (the set is emptied). An abort empties the set and returns aborted.
TLoadResult LoadLogFiles(TAnalysisSet& target, const TLogFileList& files, TDateTime from,
    TDateTime to, const TLoadHooks& hooks = {});

// Every log file below a directory, two folder levels deep, in load order.
TLogFileList FindLogFiles(const std::string& directory);
