#pragma once
// The bytes of one day log of one participant: Windows-1252, ";" between cells,
// CR LF after every line.

#include "samplegen/HouseSimulation.h"
#include "samplegen/SampleDevices.h"

#include <string>

class TDayLogBuilder {
public:
    explicit TDayLogBuilder(const TSampleDevice& device);

    // Starts a new file with its header.
    void Begin(TStampStyle style);
    // failedColumn: index of a sensor column that reads "Err" in this record, or −1.
    void AddRecord(int year, int month, int day, int minuteOfDay, const THouseReadings& readings,
        int failedColumn);
    bool HasRecords() const { return records > 0; }
    const std::string& Bytes() const { return bytes; }

private:
    void AppendStamp(int year, int month, int day, int minuteOfDay);
    void AppendNumber(double value, int decimals);

    const TSampleDevice& device;
    std::string nameCell; // the device-name cell with its ";", in Windows-1252
    TStampStyle style = TStampStyle::YearFirst;
    std::string bytes;
    int records = 0;
};
