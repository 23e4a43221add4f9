#include "core/base/RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

bool ReadDescriptor(int fd, std::string& bytes)
{
    size_t done = 0;
    bool failed = false;
    while (!failed && done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0)
            break;
        failed = n < 0;
        if (!failed)
            done += static_cast<size_t>(n);
    }
    bytes.resize(done);
    return !failed;
}

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
        const size_t size = static_cast<size_t>(file.info.st_size);
        file.bytes.resize(size);
        // A read error part-way leaves no truncated text that could pass for the file.
        if (ReadDescriptor(fd, file.bytes)) {
            file.complete = file.bytes.size() == size;
            file.status = TFileReadStatus::Read;
        } else {
            file.bytes.clear();
        }
    }
    ::close(fd);
    return file;
}
