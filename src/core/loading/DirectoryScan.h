#pragma once
// Finding the log files below a directory, and choosing among them by date and device.

#include "core/base/DateTime.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TLogFileEntry {
    std::string path; // the scanned directory joined with the names below it
    std::int32_t dateKey = 0; // FileDateKey of the name
};

using TLogFileList = std::vector<TLogFileEntry>;

// Appends every log file of the directory and of `depth` levels of subdirectories below
// it, the subdirectories' files before the directory's own: regular files (or links to
// them) whose name ends in ".csv" in any case and has a date key, hidden ones (names
// beginning with ".") too. Hidden directories are passed over, as are directories that
// cannot be read; a directory reached a second time (through a symbolic link) is not
// searched again.
void ScanDirectory(const std::string& directory, TLogFileList& list, int depth);

// Ascending date key, its two-digit year placed as for the dates of the names (so 1999
// comes before 2000); equal keys by path, so that every scan gives the same order.
void SortByDateKey(TLogFileList& list);
void SortByDateKey(TLogFileList& list, int currentYear);

struct TFileDates {
    TDateTime first = 0;
    TDateTime last = 0;
};

// The dates that the first and the last entry carry in their names. Entries at either
// end whose names carry no valid date are removed for good, until one with a date is
// found; none when the list runs empty.
std::optional<TFileDates> TrimToDatedEnds(TLogFileList& list);
std::optional<TFileDates> TrimToDatedEnds(TLogFileList& list, int currentYear);

// Keeps the entries whose date digits lie within the period (both days included).
void KeepPeriod(TLogFileList& list, TDateTime from, TDateTime to);
void KeepPeriod(TLogFileList& list, TDateTime from, TDateTime to, int currentYear);

// The distinct device prefixes of the entries in ascending order: the device order of an
// analysis.
std::vector<std::string> DeviceListOf(const TLogFileList& list);
