#pragma once
// A log file as the reader sees it: read whole into memory and cut into lines (a line
// ends at CR LF, LF or CR). Only the header line is turned into UTF-8; the records are
// numbers and time stamps, which read the same in either encoding, so they stay views
// into the file's bytes.

#include <string>
#include <string_view>
#include <vector>

struct TLogFileText {
    std::string bytes; // the file as read
    std::string header; // the first non-empty line, in UTF-8
    std::vector<std::string_view> lines; // the lines after the header, into bytes
};

// Reads a regular file whole; false when it is missing, not a regular file or unreadable.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// The encoding rule of the log files: UTF-8 with a byte-order mark, or when the bytes
// are valid UTF-8 holding multi-byte sequences; Windows-1252 otherwise.
bool IsUtf8LogText(std::string_view bytes);

// Cuts the file into the header and the following lines. Leading empty lines are
// skipped; false when no non-empty line exists. The header is decoded as the whole file
// would be: UTF-8 with a byte-order mark or when the bytes are valid UTF-8 with
// multi-byte sequences, Windows-1252 otherwise.
bool SplitLogText(TLogFileText& text);

// Appends the lines of the bytes to the list.
void SplitLines(std::string_view bytes, std::vector<std::string_view>& lines);
