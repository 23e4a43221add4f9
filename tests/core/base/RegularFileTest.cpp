#include "core/base/RegularFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <unistd.h>

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

} // namespace
