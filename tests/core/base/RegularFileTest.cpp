#include "core/base/RegularFile.h"

#include <algorithm>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// The file whose reads fail once this many bytes of it were read; no file while 0.
ino_t failingInode = 0;
size_t failAfter = 0;
size_t delivered = 0;

} // namespace

// Every read of this program passes here: a disk that fails part-way through a file cannot
// be had otherwise. Reads of other files go on unchanged.
extern "C" ssize_t read(int fd, void* buffer, size_t count)
{
    struct stat info { };
    if (failingInode != 0 && ::fstat(fd, &info) == 0 && info.st_ino == failingInode) {
        if (delivered >= failAfter) {
            errno = EIO;
            return -1;
        }
        count = std::min(count, failAfter - delivered);
        const ssize_t n = ::syscall(SYS_read, fd, buffer, count);
        if (n > 0)
            delivered += static_cast<size_t>(n);
        return n;
    }
    return ::syscall(SYS_read, fd, buffer, count);
}

namespace {

TEST(RegularFile, AReadErrorPartWayIsAFailureNotAShorterText)
{
    // A non-blocking pipe that runs dry fails its next read (EAGAIN) after ten bytes.
    int pipeEnds[2];
    ASSERT_EQ(::pipe2(pipeEnds, O_NONBLOCK), 0);
    ASSERT_EQ(::write(pipeEnds[1], "0123456789", 10), 10);
    std::string bytes(100, '\0');
    EXPECT_FALSE(ReadDescriptor(pipeEnds[0], bytes));
    EXPECT_EQ(bytes, "0123456789");

    // Its end after the writer closed is an end, not a failure.
    ::close(pipeEnds[1]);
    bytes.assign(100, '\0');
    EXPECT_TRUE(ReadDescriptor(pipeEnds[0], bytes));
    EXPECT_EQ(bytes, "");
    ::close(pipeEnds[0]);
}

TEST(RegularFile, AWholeFileIsReadAndOthersAreMissingOrUnreadable)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("day.csv").toStdString();
    std::ofstream(path, std::ios::binary) << "a;b\r\n";
    const TFileRead file = ReadRegularFile(path, 100);
    EXPECT_EQ(file.status, TFileReadStatus::Read);
    EXPECT_TRUE(file.complete);
    EXPECT_EQ(file.bytes, "a;b\r\n");

    EXPECT_EQ(ReadRegularFile(path, 4).status, TFileReadStatus::Unreadable) << "too large";
    EXPECT_EQ(ReadRegularFile(dir.path().toStdString(), 100).status, TFileReadStatus::Unreadable);
    EXPECT_EQ(ReadRegularFile(path + "x", 100).status, TFileReadStatus::Missing);
}

TEST(RegularFile, AFileWhoseReadFailsPartWayIsUnreadableWithNoText)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("day.csv").toStdString();
    std::ofstream(path, std::ios::binary) << "DATE & TIME;T1[C]\r\n2024-05-10 00:00;20\r\n";
    struct stat info { };
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    failingInode = info.st_ino;
    failAfter = 20;
    delivered = 0;
    const TFileRead file = ReadRegularFile(path, 1000);
    failingInode = 0;
    EXPECT_EQ(delivered, 20u) << "the read did not fail part-way";
    EXPECT_EQ(file.status, TFileReadStatus::Unreadable);
    EXPECT_EQ(file.bytes, "");
    EXPECT_EQ(ReadRegularFile(path, 1000).status, TFileReadStatus::Read);
}

} // namespace
