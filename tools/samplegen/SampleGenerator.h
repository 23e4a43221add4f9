#pragma once
// Writes realistic day logs of a simulated plant for a period: one file per participant
// and day, named by the bus prefix and the date, deterministic for a given seed.

#include "core/base/DateTime.h"

#include <cstdint>
#include <string>
#include <vector>

// Where the files go: all into the output directory, all into year/month folders below
// it, or month by month either way.
enum class TSampleLayout { Flat, Nested, Mixed };

struct TSampleOptions {
    std::string outputDir;
    CivilDate from{2024, 3, 1};
    CivilDate to{2024, 4, 30};
    int intervalMinutes = 1;
    std::uint64_t seed = 1;
    std::vector<int> devices{10, 21, 30};
    TSampleLayout layout = TSampleLayout::Mixed;
    // Missing day files, power cuts and failing sensors, as real plants have them.
    bool faults = true;
};

// Returns the paths written, day by day. Throws std::invalid_argument for options it
// cannot honour and std::runtime_error when a file cannot be written.
std::vector<std::string> GenerateSampleLogs(const TSampleOptions& options);
