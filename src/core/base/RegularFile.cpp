#include "core/base/RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

TFileRead ReadRegularFile(const std::string& path, off_t maxSize)
{
    TFileRead file;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        file.status = errno == ENOENT ? TFileReadStatus::Missing : TFileReadStatus::Unreadable;
        return file;
    }
    if (::fstat(fd, &file.info) == 0 && S_ISREG(file.info.st_mode)
        && file.info.st_size <= maxSize) {
        file.bytes.resize(static_cast<size_t>(file.info.st_size));
        size_t done = 0;
        bool ok = true;
        while (ok && done < file.bytes.size()) {
            const ssize_t n = ::read(fd, file.bytes.data() + done, file.bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            ok = n > 0;
            if (ok)
                done += static_cast<size_t>(n);
        }
        file.complete = done == file.bytes.size();
        file.bytes.resize(done);
        file.status = TFileReadStatus::Read;
    }
    ::close(fd);
    return file;
}
