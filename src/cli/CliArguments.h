#pragma once
// The command line of kalvex-cli.

#include "core/base/DateTime.h"
#include "core/settings/DerivedValues.h"

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// What both commands load: the log files below a directory for a period, in a language.
struct TLoadRequest {
    std::string directory;
    std::optional<TDateTime> from;
    std::optional<TDateTime> to;
    int languageCode = 2; // English (GB)
    int threads = 0; // files read at once; 0 = as many as the machine has cores
    // Derived values per device prefix, besides the stored ones (--formula).
    std::map<std::string, TDerivedValues> formulas;
};

struct TSeriesRequest {
    std::string prefix; // device prefix, e.g. "10"
    std::string field; // field name, e.g. "Ptag"
};

struct TDumpRequest : TLoadRequest {
    std::vector<TSeriesRequest> series;
};

struct TFollowRequest : TDumpRequest {
    int pollSeconds = 0; // how often the files' sizes are looked at; 0 = the settings' value
};

struct TReportRequest : TLoadRequest {
    std::string outDirectory;
    int spanTime = 3; // the entry of the time-window list: 0 "1 hour" … 3 "1 day" … 6 "1 year"
    std::optional<TDateTime> at;
    // Markers A and B, in the report's window.
    std::optional<std::pair<TDateTime, TDateTime>> between;
    bool each = false;
    std::string device; // a device prefix, "overview", or empty for the first device
    std::vector<std::string> show; // FIELD, or PREFIX:FIELD on the "Overview" tab
    std::string format = "jpg"; // jpg, bmp, png or pdf
};

struct TCliCommand {
    bool help = false;
    bool version = false;
    std::optional<TDumpRequest> dump;
    std::optional<TFollowRequest> follow;
    std::optional<TReportRequest> report;
    std::string error; // set when the arguments make no sense
};

// The arguments without the program name.
TCliCommand ParseCliArguments(const std::vector<std::string>& args);

std::string CliUsage();

// "YYYY-MM-DDThh:mm" of a date-time, as --at takes it.
std::string FormatCliDateTime(TDateTime t);
