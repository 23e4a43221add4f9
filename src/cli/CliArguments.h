#pragma once
// The command line of kalvex-cli.

#include "core/base/DateTime.h"

#include <optional>
#include <string>
#include <vector>

struct TSeriesRequest {
    std::string prefix; // device prefix, e.g. "10"
    std::string field; // field name, e.g. "Ptag"
};

struct TDumpRequest {
    std::string directory;
    std::optional<TDateTime> from;
    std::optional<TDateTime> to;
    int languageCode = 2; // English (GB)
    std::vector<TSeriesRequest> series;
    int threads = 0; // devices read at once; 0 = as many as the machine has cores
};

struct TCliCommand {
    bool help = false;
    std::optional<TDumpRequest> dump;
    std::string error; // set when the arguments make no sense
};

// The arguments without the program name.
TCliCommand ParseCliArguments(const std::vector<std::string>& args);

std::string CliUsage();
