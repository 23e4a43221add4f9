#include "core/loading/DirectoryScan.h"

#include "core/loading/LogFileNames.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

bool IsHidden(const std::string& name)
{
    return !name.empty() && name[0] == '.';
}

struct TEntry {
    std::string name;
    bool directory = false;
    bool regularFile = false;
};

// The directory's entries in name order; none when it cannot be read. The kind of an
// entry comes with the directory listing where the file system gives it, sparing a look
// at each file of a folder of thousands; a link is followed, as a path would be.
std::vector<TEntry> Entries(const fs::path& directory)
{
    std::vector<TEntry> entries;
    std::error_code error;
    fs::directory_iterator it(directory, fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code kindError;
        entries.push_back({it->path().filename().string(), it->is_directory(kindError),
            it->is_regular_file(kindError)});
    }
    std::sort(entries.begin(), entries.end(),
        [](const TEntry& a, const TEntry& b) { return a.name < b.name; });
    return entries;
}

void ScanLevel(
    const std::string& directory, TLogFileList& list, int depth, std::set<fs::path>& visited)
{
    std::error_code error;
    const fs::path real = fs::canonical(directory, error);
    if (error || !visited.insert(real).second)
        return;
    const std::string prefix
        = directory.empty() || directory.back() == '/' ? directory : directory + "/";
    const std::vector<TEntry> entries = Entries(directory);
    if (depth > 0) {
        // Hidden folders are not searched; hidden files are listed like the others.
        for (const TEntry& entry : entries) {
            if (!IsHidden(entry.name) && entry.directory)
                ScanLevel(prefix + entry.name, list, depth - 1, visited);
        }
    }
    for (const TEntry& entry : entries) {
        if (!HasLogExtension(entry.name) || !entry.regularFile)
            continue;
        if (const auto key = FileDateKey(entry.name))
            list.push_back({prefix + entry.name, *key});
    }
}

} // namespace

void ScanDirectory(const std::string& directory, TLogFileList& list, int depth)
{
    std::set<fs::path> visited;
    ScanLevel(directory, list, depth, visited);
}

void SortByDateKey(TLogFileList& list, int currentYear)
{
    std::sort(list.begin(), list.end(), [&](const TLogFileEntry& a, const TLogFileEntry& b) {
        const std::int64_t dayA = DateKeyDay(a.dateKey, currentYear);
        const std::int64_t dayB = DateKeyDay(b.dateKey, currentYear);
        return dayA != dayB ? dayA < dayB : a.path < b.path;
    });
}

void SortByDateKey(TLogFileList& list)
{
    SortByDateKey(list, CurrentYear());
}

std::optional<TFileDates> TrimToDatedEnds(TLogFileList& list, int currentYear)
{
    auto dateOf = [&](const TLogFileEntry& e) {
        return FileNameDate(fs::path(e.path).filename().string(), currentYear);
    };
    TFileDates dates;
    for (;;) {
        if (list.empty())
            return std::nullopt;
        if (const auto last = dateOf(list.back())) {
            dates.last = *last;
            break;
        }
        list.pop_back();
    }
    for (;;) {
        if (list.empty())
            return std::nullopt;
        if (const auto first = dateOf(list.front())) {
            dates.first = *first;
            break;
        }
        list.erase(list.begin());
    }
    return dates;
}

std::optional<TFileDates> TrimToDatedEnds(TLogFileList& list)
{
    return TrimToDatedEnds(list, CurrentYear());
}

void KeepPeriod(TLogFileList& list, TDateTime from, TDateTime to, int currentYear)
{
    const std::int32_t first = RangeDayOf(from);
    const std::int32_t last = RangeDayOf(to);
    std::erase_if(list, [&](const TLogFileEntry& e) {
        // Date digits that are no number belong to no period.
        const auto day = FileRangeDay(e.path, currentYear);
        return !day || *day < first || *day > last;
    });
}

void KeepPeriod(TLogFileList& list, TDateTime from, TDateTime to)
{
    KeepPeriod(list, from, to, CurrentYear());
}

std::vector<std::string> DeviceListOf(const TLogFileList& list)
{
    std::set<std::string> prefixes;
    for (const TLogFileEntry& e : list)
        prefixes.insert(FileDevicePrefix(e.path));
    return {prefixes.begin(), prefixes.end()};
}
