#include "core/loading/LogFollower.h"

#include "core/loading/AnalysisSet.h"
#include "core/loading/DirectoryScan.h"
#include "core/loading/LogFileNames.h"
#include "core/logdata/LogAnalysis.h"

#include <QFileSystemWatcher>
#include <QStringList>

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

namespace {

struct TFileFacts {
    bool exists = false;
    std::int64_t size = 0;
    std::int64_t modified = 0;
    std::uint64_t inode = 0;
};

TFileFacts FactsOf(const std::string& path)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    return {true, static_cast<std::int64_t>(st.st_size),
        static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
        static_cast<std::uint64_t>(st.st_ino)};
}

// Whether the bytes after `from` end a line: only then has the file a new record.
bool HasLineEndAfter(const std::string& path, std::int64_t from)
{
    std::ifstream in(path, std::ios::binary);
    in.seekg(from);
    char buffer[4096];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        const auto n = static_cast<std::size_t>(in.gcount());
        if (std::memchr(buffer, '\n', n) || std::memchr(buffer, '\r', n))
            return true;
    }
    return false;
}

// The time of the device's latest point on the day: its last record read, as every file's
// records end with a break there.
double LastTimeOfDay(const TLogAnalysis& analysis, TDateTime day)
{
    double last = day - 1;
    for (int f = 0; f < analysis.FieldRecordCount(); ++f) {
        const TFieldSeries* series = analysis.Series(f);
        if (!series || series->KeepsOneBarPerDay() || analysis.IsDerived(f))
            continue;
        const int end = series->Points().LowerBound(day + 1);
        if (end > 0 && series->Points().X(end - 1) >= day)
            last = std::max(last, series->Points().X(end - 1));
    }
    return last;
}

std::string FolderOf(const std::string& path)
{
    return std::filesystem::path(path).parent_path().string();
}

} // namespace

TLogFollower::TLogFollower(TAnalysisSet& analyses, int pollMilliseconds)
    : analyses(analyses)
    , pollMilliseconds(pollMilliseconds)
{
    QObject::connect(&poll, &QTimer::timeout, [this] { CheckNow(); });
    notified.setSingleShot(true);
    QObject::connect(&notified, &QTimer::timeout, [this] { CheckNow(); });
}

TLogFollower::~TLogFollower() = default;

void TLogFollower::Start()
{
    Stop();
    for (int d = 0; d < analyses.DeviceCount(); ++d) {
        const TLogAnalysis* analysis = analyses.Analysis(d);
        for (int i = 0; analysis && i < analysis->FileCount(); ++i) {
            const TFileFacts facts = FactsOf(analysis->FileName(i));
            files.push_back({analysis->FileName(i), facts.size, facts.size, facts.modified,
                facts.inode, false, false});
        }
        // The newest file may have grown since it was loaded: its first look reads it.
        if (analysis && analysis->FileCount() > 0) {
            files.back().pending = true;
            files.back().position = 0;
        }
    }
    std::set<std::string> distinct;
    for (const TFileState& file : files)
        distinct.insert(FolderOf(file.path));
    folders.assign(distinct.begin(), distinct.end());
    watcher = std::make_unique<QFileSystemWatcher>();
    QObject::connect(watcher.get(), &QFileSystemWatcher::fileChanged, [this] { Soon(); });
    QObject::connect(watcher.get(), &QFileSystemWatcher::directoryChanged, [this] { Soon(); });
    for (const std::string& folder : folders)
        Watch(folder);
    for (const TFileState& file : files)
        Watch(file.path);
    running = true;
    poll.start(pollMilliseconds);
    notified.start(0);
}

void TLogFollower::Stop()
{
    running = false;
    poll.stop();
    notified.stop();
    watcher.reset();
    files.clear();
    folders.clear();
}

void TLogFollower::Watch(const std::string& path)
{
    // A file replaced by renaming another over it is no longer watched.
    const QString name = QString::fromStdString(path);
    if (watcher && !watcher->files().contains(name) && !watcher->directories().contains(name))
        watcher->addPath(name);
}

void TLogFollower::Soon()
{
    // A logger's write comes as several notifications; one look after them will do.
    if (!notified.isActive())
        notified.start(50);
}

std::vector<TLogFollower::TUpdate> TLogFollower::CheckFiles()
{
    std::vector<TUpdate> updates;
    for (TFileState& file : files)
        CheckFile(file, updates);
    Report(updates);
    return updates;
}

std::vector<TLogFollower::TUpdate> TLogFollower::CheckNow()
{
    std::vector<TUpdate> updates;
    for (TFileState& file : files)
        CheckFile(file, updates);
    CheckFolders(updates);
    Report(updates);
    return updates;
}

void TLogFollower::Report(const std::vector<TUpdate>& updates)
{
    if (!updates.empty() && onUpdate)
        onUpdate(updates);
}

void TLogFollower::CheckFile(TFileState& file, std::vector<TUpdate>& updates)
{
    const TFileFacts facts = FactsOf(file.path);
    if (!facts.exists)
        return; // a file that went keeps its data until the next open
    const bool replaced = facts.inode != file.inode;
    const bool shrunk = facts.size < file.position;
    const bool grown = facts.size > file.size;
    const bool touched = facts.modified != file.modified;
    if (!replaced && !shrunk && !grown && !touched && !file.pending)
        return;
    const bool pending = file.pending;
    file.pending = false;
    file.size = facts.size;
    file.modified = facts.modified;
    file.inode = facts.inode;
    if (replaced)
        Watch(file.path);
    if (replaced || shrunk || (!grown && !pending))
        Read(file, true, updates);
    else if (HasLineEndAfter(file.path, file.position))
        Read(file, false, updates);
}

void TLogFollower::Read(TFileState& file, bool rewritten, std::vector<TUpdate>& updates)
{
    TUpdate update;
    update.path = file.path;
    update.rewritten = rewritten;
    try {
        const TLogAnalysis* analysis = nullptr;
        const auto& devices = analyses.DeviceList();
        const auto device = std::find(devices.begin(), devices.end(), FileDevicePrefix(file.path));
        if (device != devices.end())
            analysis = analyses.Analysis(static_cast<int>(device - devices.begin()));
        double lastBefore = -1;
        if (analysis && !rewritten)
            if (const std::optional<TDateTime> day
                = FileNameDate(std::filesystem::path(file.path).filename().string()))
                lastBefore = LastTimeOfDay(*analysis, *day);
        TAnalysisSet::TFollowedFile followed = analyses.FollowFile(file.path);
        file.position = static_cast<std::int64_t>(followed.read.bytesRead);
        file.failing = false;
        update.device = followed.device;
        update.day = followed.read.day;
        update.newDay = followed.newDay;
        for (const double t : followed.read.recordTimes)
            if (t > lastBefore)
                update.newRecords.push_back(t);
        if (rewritten || update.newDay || !update.newRecords.empty())
            updates.push_back(std::move(update));
    } catch (const std::exception& e) {
        if (!file.failing && onProblem)
            onProblem(file.path, e.what());
        file.failing = true;
    }
}

void TLogFollower::CheckFolders(std::vector<TUpdate>& updates)
{
    std::set<std::string> known;
    for (const TFileState& file : files)
        known.insert(file.path);
    TLogFileList found;
    for (const std::string& folder : folders)
        ScanDirectory(folder, found, 0);
    SortByDateKey(found);
    const auto& devices = analyses.DeviceList();
    for (const TLogFileEntry& entry : found) {
        if (known.contains(entry.path))
            continue;
        const auto device = std::find(devices.begin(), devices.end(), FileDevicePrefix(entry.path));
        const std::optional<TDateTime> day
            = FileNameDate(std::filesystem::path(entry.path).filename().string());
        if (device == devices.end() || !day
            || !analyses.Analysis(static_cast<int>(device - devices.begin()))
            || !analyses.FollowsDay(*day))
            continue;
        const TFileFacts facts = FactsOf(entry.path);
        files.push_back({entry.path, facts.size, 0, facts.modified, facts.inode, false, false});
        Watch(entry.path);
        Read(files.back(), false, updates);
    }
}
