#pragma once
// kalvex-cli dump: loads a log directory exactly as the open dialog does and describes
// the result as one JSON document.

#include "cli/CliArguments.h"

#include <iosfwd>

// Writes the document to `out` and returns 0; on failure writes the message to `err`
// and returns 1.
int RunDump(const TDumpRequest& request, std::ostream& out, std::ostream& err);
