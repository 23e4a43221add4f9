#pragma once
// Creates the program's windows in their start-up order: the main window, then the
// dialogs it reuses for the whole run (about box, settings dialog, file error list,
// open-analysis dialog), which it owns.

#include <QString>

#include <memory>

class TMainform;

// A directory named on the command line is offered by the first "Open".
std::unique_ptr<TMainform> CreateProgramWindows(const QString& offeredDirectory = {});
