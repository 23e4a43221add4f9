#pragma once
// Names of the per-device sections of the settings file and of their value keys.

#include <string>

inline std::string LabelsSection(const std::string& number)
{
    return "Labels:" + number;
}

inline std::string ColorsSection(const std::string& number)
{
    return "Colors:" + number;
}

inline std::string DeviceSection(const std::string& number)
{
    return "Dev:" + number;
}

// A value is stored under its entry name immediately followed by its unit.
inline std::string ValueKey(const std::string& name, const std::string& unit)
{
    return name + unit;
}
