#pragma once
// kalvex-cli follow: loads a log directory as dump does, then prints one JSON line for
// every change the loggers bring, until SIGINT or SIGTERM.

#include "cli/CliArguments.h"

#include <iosfwd>

// Returns 0 after a signal ended it; on failure writes the message to `err` and returns
// 1 (nothing to load, a series the analysis lacks) or 2 (arguments that do not fit).
int RunFollow(const TFollowRequest& request, std::ostream& out, std::ostream& err);
