#pragma once
// kalvex-cli report: an analysis window, loaded as the open dialog loads it and never
// shown, driven through its tab, time window, value list and slider; its chart picture,
// table and title written into a folder, once or for every slider position.

#include "cli/CliArguments.h"

#include <iosfwd>

// Needs a QApplication. Writes the folder of every set made to `out`; returns 0 when
// done, 1 when there is nothing to load, an unknown device or value or a failure (the
// message in `err`), 2 for a request that makes no sense for the analysis (with the
// usage).
int RunReport(const TReportRequest& request, std::ostream& out, std::ostream& err);
