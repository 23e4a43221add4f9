#pragma once
// The bus participants the generator can play, with the columns their logs carry and
// the way they write time stamps.

#include "samplegen/HouseSimulation.h"

#include <optional>
#include <string>
#include <vector>

// "DATE & TIME" with 2024-03-15 12:30, or "dd.mm.yy hh:mm" with 15.03.2024 12:30.
enum class TStampStyle { YearFirst, DayFirst };

struct TSampleColumn {
    std::string header; // UTF-8, written in Windows-1252
    double THouseReadings::*reading;
    int decimals; // 0 … 3
    bool sensor; // a temperature sensor, which now and then reads "Err"
};

struct TSampleDevice {
    int bus = 0;
    std::string nameCell; // empty: the header carries no device name
    std::vector<TSampleColumn> columns;
    std::string extension = ".csv";
    TStampStyle style = TStampStyle::YearFirst;
    // A firmware update switches the stamp style at some day of the period.
    bool styleChanges = false;
};

// None for bus numbers the generator has no participant for.
std::optional<TSampleDevice> SampleDeviceFor(int bus);
