#pragma once
// The files of one report set in a folder: the chart picture (chart.jpg or the chosen
// format), the table view's cells as table.csv and what the window shows as report.json.

#include <nlohmann/json.hpp>

#include <QString>

#include <string>

struct TTableContent;
class TReportWindow;

// One line per row, the cells as shown separated by ";"; a cell holding ";", a quote or
// a line break is quoted, its quotes doubled. UTF-8.
std::string TableCsv(const TTableContent& table);

// A JSON document as the report writes it: indented, ending in a line break; bytes that
// are no UTF-8 (in file names) become U+FFFD.
std::string ReportJsonText(const nlohmann::ordered_json& document);

// Replaces the file with the text; a file that cannot be written raises "Could not create
// file" with its name.
void WriteReportFile(const QString& path, const std::string& text);

// Makes the folder when it is missing and writes the set into it, each file replaced
// whole; returns the description that went into report.json.
nlohmann::ordered_json WriteReportSet(
    TReportWindow& window, const QString& folder, const std::string& format);
