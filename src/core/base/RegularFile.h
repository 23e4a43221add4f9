#pragma once
// Reading a regular file whole. The file is opened without blocking, so a named pipe in
// its place never stops the program.

#include <string>
#include <sys/stat.h>

enum class TFileReadStatus { Read, Missing, Unreadable };

struct TFileRead {
    TFileReadStatus status = TFileReadStatus::Unreadable;
    struct stat info { }; // of the file that was opened
    std::string bytes;
    bool complete = false; // false when the file shrank while it was read
};

// A file that is not regular, cannot be opened or read, or is larger than maxSize is
// unreadable; one that does not exist is missing.
TFileRead ReadRegularFile(const std::string& path, off_t maxSize);
