#pragma once
// kalvex-cli report runs kalvex-report in its place: only that tool links the graphical
// libraries, so a dump starts without them.

#include <iosfwd>

// Replaces this process by kalvex-report with the same arguments, found at `fromBin`
// relative to the folder of this program. Returns only when it could not be started:
// then the message is in `err` and the result is the exit status.
int HandOverReport(char* argv[], const char* fromBin, std::ostream& err);
