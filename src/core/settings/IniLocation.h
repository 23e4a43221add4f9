#pragma once
// Where the settings file lives, and the program's own directory as the default for the
// last used directory.

#include <string>

// The per-user application-data directory is "LocalAppData", else "AppData", else
// $XDG_CONFIG_HOME, else $HOME/.config (each when set and not empty); the file is
// Velmora/Kalvex.ini in it. The folder Velmora is created when missing (one level only).
// No usable directory fails with the "Access to INI file failed" text.
std::string LocateIniFile();

// The directory of the program's executable, ending in "/"; empty when it cannot be told.
std::string ProgramDirectory();
