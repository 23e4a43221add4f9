#pragma once
// The copy of a day log that an English spreadsheet reads: commas between the cells and
// decimal points in the numbers. Simply turning ";" into "," would mix the decimal
// commas of the values with the separators, so each cell is rewritten on its own.

#include <string>
#include <string_view>

// The log file's name without folder and extension, followed by "c.csv".
std::string CommaCopyFileName(const std::string& logFile);

// A number with a decimal comma gets a decimal point; any other cell holding a comma or
// a double quote is quoted, its quotes doubled; everything else stays as it is.
std::string CommaCell(std::string_view cell);

// The cells of a log line joined by commas.
std::string CommaLine(std::string_view line);

// Writes the copy of the whole log file, every line of whatever length, each ended by
// CR LF, the bytes of the text left in their encoding. Fails with "Could not create
// file" when the log cannot be read or the copy cannot be written.
void WriteCommaCopy(const std::string& logFile, const std::string& copyFile);

// Where a log's time stamps stand, so a spreadsheet can read them as date-times.
struct TLogTimeColumn {
    int column = 0; // 1-based; 0 when the header names no time-stamp column
    bool dayFirst = false; // "dd.mm.yy hh:mm"; otherwise year first ("DATE & TIME")
};

// From the header, the first non-empty line of the log's bytes: the first cell, or the
// second after a device-name cell.
TLogTimeColumn FindTimeColumn(std::string_view bytes);
