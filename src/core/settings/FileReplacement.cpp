#include "core/settings/FileReplacement.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file a path names, through any symbolic links; the path itself when it names none.
std::string ResolvedTarget(const std::string& path)
{
    struct stat status { };
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
        return path;
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// New files get the usual permissions of the user's files; existing ones keep theirs.
mode_t ModeFor(const std::string& target)
{
    struct stat status { };
    if (::stat(target.c_str(), &status) == 0)
        return status.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The temporary file's name: the target's, ".", six letters or digits chosen by mkostemps,
// ".tmp". The end tells it from names such as "Kalvex.ini.backup" a user may give a copy.
constexpr std::string_view TemporaryRandom = ".XXXXXX";
constexpr std::string_view TemporaryEnd = ".tmp";

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsTemporaryName(std::string_view name, std::string_view targetName)
{
    if (name.size() != targetName.size() + TemporaryRandom.size() + TemporaryEnd.size()
        || !name.starts_with(targetName) || !name.ends_with(TemporaryEnd))
        return false;
    name.remove_prefix(targetName.size());
    name.remove_suffix(TemporaryEnd.size());
    if (name.front() != '.')
        return false;
    for (const char c : name.substr(1)) {
        const bool alphanumeric
            = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!alphanumeric)
            return false;
    }
    return true;
}

// Temporary files of writes that died: a write holds a lock on its temporary file until
// it is renamed, so one that can be locked belongs to no running write.
void RemoveStaleTemporaries(const std::string& target)
{
    const std::string folder = FolderOf(target);
    const std::string targetName = NameOf(target);
    DIR* directory = ::opendir(folder.c_str());
    if (!directory)
        return;
    while (const dirent* entry = ::readdir(directory)) {
        const std::string path = folder + "/" + entry->d_name;
        if (!IsTemporaryName(entry->d_name, targetName))
            continue;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            continue;
        struct stat status { };
        if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)
            && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.c_str());
        ::close(fd);
    }
    ::closedir(directory);
}

// The rename is a change of the folder; without this a power cut may still lose it.
void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

bool ReplaceFileContents(const std::string& path, std::string_view bytes)
{
    const std::string target = ResolvedTarget(path);
    if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0)
        return false;

    std::string temporary = target + std::string(TemporaryRandom) + std::string(TemporaryEnd);
    const int fd = ::mkostemps(temporary.data(), static_cast<int>(TemporaryEnd.size()), O_CLOEXEC);
    if (fd < 0)
        return false;
    // Held until the rename, so no other write takes this file for a stale one.
    ::flock(fd, LOCK_EX);
    const bool written
        = ::fchmod(fd, ModeFor(target)) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const bool renamed = written && ::rename(temporary.c_str(), target.c_str()) == 0;
    ::close(fd);
    if (renamed) {
        SyncFolder(FolderOf(target));
        RemoveStaleTemporaries(target);
        return true;
    }
    ::unlink(temporary.c_str());
    return false;
}
