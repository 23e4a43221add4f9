#include "core/loading/AnalysisFixture.h"

#include <cstdio>

namespace {

std::string IsoDay(int year, int month, int day)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

} // namespace

std::string AnalysisFixture::DayFileName(const std::string& prefix, int year, int month, int day)
{
    char name[16];
    std::snprintf(name, sizeof name, "%02d%02d%02d", year % 100, month, day);
    return prefix + name + ".csv";
}

std::string AnalysisFixture::WriteEnergyDay(const std::string& prefix, int year, int month, int day,
    const std::string& dayTotal, const std::string& yearTotal)
{
    const std::string date = IsoDay(year, month, day);
    const std::string year0 = yearTotal.empty() ? "" : ";0,0";
    const std::string yearN = yearTotal.empty() ? "" : ";" + yearTotal;
    return WriteLog(DayFileName(prefix, year, month, day),
        {"DATE & TIME;T1[°C];P[kW];Qtag[kWh]" + std::string(yearTotal.empty() ? "" : ";Qjahr[kWh]"),
            date + " 00:00;20,0;1,0;0,0" + year0, date + " 12:00;25,0;2,0;" + dayTotal + yearN});
}

std::string AnalysisFixture::WriteTemperatureDay(
    const std::string& prefix, int year, int month, int day)
{
    const std::string date = IsoDay(year, month, day);
    return WriteLog(DayFileName(prefix, year, month, day),
        {"DATE & TIME;T1[°C];T2[°C];R1[%]", date + " 00:00;20,0;30,0;0",
            date + " 12:00;25,0;35,0;100"});
}

std::string AnalysisFixture::WriteGarbageDay(
    const std::string& prefix, int year, int month, int day)
{
    return WriteBytes(DayFileName(prefix, year, month, day),
        std::string("\x7f"
                    "ELF\0\1\2",
            7));
}
