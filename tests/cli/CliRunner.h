#pragma once
// Running kalvex-cli as a user does, and reading back what the generated logs hold.

#include <QString>
#include <QStringList>

#include "core/base/DateTime.h"

#include <string>
#include <vector>

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// The built program with the arguments, its settings file in `settingsDir` (never the
// user's), without a display: DISPLAY and WAYLAND_DISPLAY are unset, then `environment`
// ("NAME=value") is added.
CliRun RunCli(
    const QStringList& args, const QString& settingsDir, const QStringList& environment = {});
// The same with the program at another place, such as a link to it or a copy.
CliRun RunProgram(const QString& program, const QStringList& args, const QString& settingsDir,
    const QStringList& environment = {});

// The day total a generated solar log ends with: the last record's "Qtag[kWh]" cell.
double LastDayTotal(const std::string& path);

// Logs of a solar controller (bus 10) and a fresh-water station (30) every ten minutes,
// without faults, into the folder; the paths written, day by day.
std::vector<std::string> GenerateCliLogs(const QString& folder, CivilDate from, CivilDate to);
