#include "settings/IniFile.h"

#include "settings/FileReplacement.h"

#include "app/KalvexError.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Far more than any settings file holds; anything larger is not one and is not read.
constexpr off_t MaxSettingsFileSize = 64 * 1024 * 1024;

} // namespace

TIniFile::TIniFile(std::string path)
    : path(std::move(path))
{
}

TIniFile::Stamp TIniFile::StampOf(const struct stat& status)
{
    Stamp stamp;
    stamp.exists = true;
    stamp.device = status.st_dev;
    stamp.inode = status.st_ino;
    stamp.size = status.st_size;
    stamp.modifiedNs
        = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
    return stamp;
}

TIniFile::Stamp TIniFile::StampOnDisk() const
{
    struct stat status { };
    if (::stat(path.c_str(), &status) != 0)
        return {};
    return StampOf(status);
}

TIniFile::ReadResult TIniFile::ReadDocument(TIniDocument& document, Stamp& stamp) const
{
    // Non-blocking, so a pipe in the file's place cannot stop the program.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        stamp = {};
        return errno == ENOENT ? ReadResult::Missing : ReadResult::Unreadable;
    }
    struct stat status { };
    std::string bytes;
    bool ok = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)
        && status.st_size <= MaxSettingsFileSize;
    if (ok) {
        stamp = StampOf(status);
        bytes.resize(static_cast<std::size_t>(status.st_size));
        std::size_t done = 0;
        while (ok && done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            ok = n > 0;
            if (ok)
                done += static_cast<std::size_t>(n);
        }
    }
    ::close(fd);
    if (!ok)
        return ReadResult::Unreadable;
    document = TIniDocument::Parse(bytes);
    return ReadResult::Read;
}

const TIniDocument& TIniFile::Current() const
{
    if (cacheStamp && *cacheStamp == StampOnDisk())
        return cache;
    TIniDocument fresh;
    Stamp stamp;
    // A file that cannot be read keeps what was read before.
    if (ReadDocument(fresh, stamp) != ReadResult::Unreadable) {
        cache = std::move(fresh);
        cacheStamp = stamp;
    }
    return cache;
}

void TIniFile::Update(const std::function<void(TIniDocument&)>& edit)
{
    TIniDocument fresh;
    Stamp stamp;
    // A file that exists but cannot be read must not be replaced by the edited keys alone.
    if (ReadDocument(fresh, stamp) != ReadResult::Unreadable) {
        edit(fresh);
        if (ReplaceFileContents(path, fresh.Serialize())) {
            cache = std::move(fresh);
            cacheStamp = StampOnDisk();
            return;
        }
    }
    Current();
    edit(cache);
    Fail(TextId::TxtIniAccessFailed);
}
