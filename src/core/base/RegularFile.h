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

// A file that is not regular, cannot be opened, fails to read part-way, or is larger than
// maxSize is unreadable; one that does not exist is missing.
TFileRead ReadRegularFile(const std::string& path, off_t maxSize);

// Reads up to bytes.size() bytes from the descriptor and shortens bytes to what was read;
// false when a read fails (bytes then hold what came before the failure).
bool ReadDescriptor(int fd, std::string& bytes);
