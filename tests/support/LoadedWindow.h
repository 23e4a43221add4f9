#pragma once
// An analysis window as the window tests use it: new, maximised in the area, with the log
// files below a directory loaded for the period and finished, as the open dialog leaves it.

#include "core/base/DateTime.h"
#include "core/loading/LoadLogFiles.h"

#include <string>

class QMdiArea;
class TChildform;

TChildform* OpenLoadedWindow(QMdiArea& area, const std::string& directory, TDateTime from,
    TDateTime to, TLoadResult& result);
