#include "samplegen/SampleGenerator.h"

#include "samplegen/DayLogBuilder.h"
#include "samplegen/HouseSimulation.h"
#include "samplegen/SampleDevices.h"
#include "samplegen/SampleRandom.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

namespace {

// A stretch of minutes [start, end) of one day.
struct Stretch {
    int start = 0;
    int end = 0;
    bool Contains(int minute) const { return minute >= start && minute < end; }
};

struct Participant {
    explicit Participant(TSampleDevice d)
        : device(std::move(d))
        , log(device)
    {
    }
    TSampleDevice device;
    TDayLogBuilder log;
    int styleChangeDay = 0; // day number from which the other stamp style is written
    bool missingToday = false;
    int faultyColumn = -1; // sensor that reads "Err" during faultyStretch
    Stretch faultyStretch;
};

std::vector<int> SensorColumns(const TSampleDevice& device)
{
    std::vector<int> sensors;
    for (size_t i = 0; i < device.columns.size(); ++i) {
        if (device.columns[i].sensor)
            sensors.push_back(static_cast<int>(i));
    }
    return sensors;
}

void Validate(const TSampleOptions& o, TDateTime from, TDateTime to)
{
    if (o.outputDir.empty())
        throw std::invalid_argument("no output directory given");
    if (to < from)
        throw std::invalid_argument("the period ends before it starts");
    if (o.intervalMinutes < 1 || o.intervalMinutes > 1440)
        throw std::invalid_argument("the interval must lie between 1 and 1440 minutes");
    if (o.devices.empty())
        throw std::invalid_argument("no devices given");
}

TDateTime EncodeChecked(const CivilDate& date)
{
    TDateTime t = 0;
    if (!TryEncodeDate(date.year, date.month, date.day, t))
        throw std::invalid_argument("not a valid date");
    return t;
}

std::string FileName(const Participant& p, const CivilDate& date)
{
    char name[16];
    std::snprintf(name, sizeof name, "%02d%02d%02d%02d", p.device.bus % 100, date.year % 100,
        date.month, date.day);
    return name + p.device.extension;
}

std::filesystem::path FolderFor(const TSampleOptions& o, const CivilDate& date)
{
    std::filesystem::path folder(o.outputDir);
    const bool nested = o.layout == TSampleLayout::Nested
        || (o.layout == TSampleLayout::Mixed
            && (date.year * 12 + date.month + static_cast<int>(o.seed % 2)) % 2 == 1);
    if (nested) {
        char year[8], month[4];
        std::snprintf(year, sizeof year, "%04d", date.year);
        std::snprintf(month, sizeof month, "%02d", date.month);
        folder /= year;
        folder /= month;
    }
    return folder;
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

} // namespace

std::vector<std::string> GenerateSampleLogs(const TSampleOptions& o)
{
    const TDateTime from = EncodeChecked(o.from);
    const TDateTime to = EncodeChecked(o.to);
    Validate(o, from, to);

    TSampleRandom faults(MixSeed(o.seed, 3));
    std::vector<std::unique_ptr<Participant>> participants;
    const int days = DayNumber(to) - DayNumber(from) + 1;
    for (int bus : o.devices) {
        auto device = SampleDeviceFor(bus);
        if (!device)
            throw std::invalid_argument("no sample participant for bus number "
                + std::to_string(bus) + " (use 10, 20, 21-29 or 30-39)");
        auto p = std::make_unique<Participant>(std::move(*device));
        p->styleChangeDay = DayNumber(from) + faults.Between(days / 3, 2 * days / 3);
        participants.push_back(std::move(p));
    }

    THouseSimulation house(o.seed);
    std::vector<std::string> written;
    for (int dayNumber = DayNumber(from); dayNumber <= DayNumber(to); ++dayNumber) {
        const CivilDate date = DecodeDate(dayNumber);
        house.BeginDay(date.year, date.month, date.day);

        Stretch powerCut;
        if (o.faults && faults.Chance(1.0 / 45.0)) {
            powerCut.start = faults.Between(0, 1300);
            powerCut.end = powerCut.start + faults.Between(15, 120);
        }
        for (auto& p : participants) {
            p->missingToday = o.faults && faults.Chance(1.0 / 120.0);
            p->faultyColumn = -1;
            p->faultyStretch = {};
            const std::vector<int> sensors = SensorColumns(p->device);
            if (o.faults && !sensors.empty() && faults.Chance(1.0 / 40.0)) {
                p->faultyColumn = sensors[faults.Between(0, static_cast<int>(sensors.size()) - 1)];
                p->faultyStretch.start = faults.Between(0, 1400);
                p->faultyStretch.end = p->faultyStretch.start + faults.Between(20, 90);
            }
            TStampStyle style = p->device.style;
            if (p->device.styleChanges && dayNumber >= p->styleChangeDay)
                style = style == TStampStyle::YearFirst ? TStampStyle::DayFirst
                                                        : TStampStyle::YearFirst;
            p->log.Begin(style);
        }

        for (int minute = 0; minute < 1440; ++minute) {
            const bool cut = powerCut.Contains(minute);
            const THouseReadings& readings = house.StepMinute(minute, cut);
            if (cut || minute % o.intervalMinutes != 0)
                continue;
            for (auto& p : participants) {
                int failed = p->faultyStretch.Contains(minute) ? p->faultyColumn : -1;
                if (failed < 0 && o.faults && faults.Chance(1.0 / 25000.0)) {
                    const std::vector<int> sensors = SensorColumns(p->device);
                    if (!sensors.empty())
                        failed = sensors[faults.Between(0, static_cast<int>(sensors.size()) - 1)];
                }
                p->log.AddRecord(date.year, date.month, date.day, minute, readings, failed);
            }
        }

        for (auto& p : participants) {
            if (p->missingToday || !p->log.HasRecords())
                continue;
            const std::filesystem::path path = FolderFor(o, date) / FileName(*p, date);
            WriteFile(path, p->log.Bytes());
            written.push_back(path.string());
        }
    }
    return written;
}
