#pragma once
// Following a loaded analysis while its loggers write: the folders its files came from
// and the files themselves are watched (system notifications, and a look at the files'
// sizes at an interval, as network folders send none). A file that grew by a complete
// line, shrank or was replaced has its day read again; a new day's file of a known device
// is read when the analysis follows that day. Each change goes into the analysis set as
// if it had been there at loading, and the handler hears of it. The window and
// kalvex-cli follow share it; it runs on the thread of the Qt event loop.

#include "core/base/DateTime.h"

#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QFileSystemWatcher;
class TAnalysisSet;

class TLogFollower {
public:
    // A file read again or read for the first time.
    struct TUpdate {
        int device = -1;
        std::string path;
        TDateTime day = 0;
        bool newDay = false;
        // The file was read whole anew (shrunk or replaced) rather than grown.
        bool rewritten = false;
        // The times of the records that came with this change, ascending.
        std::vector<double> newRecords;
    };
    using UpdateHandler = std::function<void(const std::vector<TUpdate>& updates)>;
    // A file that cannot be read: said once, until it reads again.
    using ProblemHandler = std::function<void(const std::string& path, const std::string& message)>;

    TLogFollower(TAnalysisSet& analyses, int pollMilliseconds);
    ~TLogFollower();
    TLogFollower(const TLogFollower&) = delete;
    TLogFollower& operator=(const TLogFollower&) = delete;

    void SetUpdateHandler(UpdateHandler handler) { onUpdate = std::move(handler); }
    void SetProblemHandler(ProblemHandler handler) { onProblem = std::move(handler); }

    // Takes the analysis' files as they are now and begins watching; Stop ends it.
    void Start();
    void Stop();
    bool Running() const { return running; }

    // Looks at the known files once; then at the folders for new days' files too. What
    // changed is read, handed to the update handler and returned.
    std::vector<TUpdate> CheckFiles();
    std::vector<TUpdate> CheckNow();

private:
    struct TFileState {
        std::string path;
        std::int64_t size = 0;
        std::int64_t position = 0; // the end of the last complete line read
        std::int64_t modified = 0; // ns
        std::uint64_t inode = 0;
        bool failing = false; // said once, until the file reads again
        bool pending = false; // read at the first look
    };

    void Watch(const std::string& path);
    void CheckFile(TFileState& file, std::vector<TUpdate>& updates);
    void CheckFolders(std::vector<TUpdate>& updates);
    void Read(TFileState& file, bool rewritten, std::vector<TUpdate>& updates);
    void Report(const std::vector<TUpdate>& updates);
    void Soon();

    TAnalysisSet& analyses;
    int pollMilliseconds;
    bool running = false;
    std::vector<TFileState> files;
    std::vector<std::string> folders;
    std::unique_ptr<QFileSystemWatcher> watcher;
    QTimer poll;
    QTimer notified; // notifications come in bursts: one look after them
    UpdateHandler onUpdate;
    ProblemHandler onProblem;
};
