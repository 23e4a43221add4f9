#include "samplegen/SampleDevices.h"

namespace {

using R = THouseReadings;

TSampleDevice SolarController(int bus)
{
    TSampleDevice d;
    d.bus = bus;
    d.columns = {
        {"T1[°C]", &R::collector, 1, true},
        {"T2[°C]", &R::storeBottom, 1, true},
        {"T3[°C]", &R::storeTop, 1, true},
        {"T4[°C]", &R::storeMiddle, 1, true},
        {"E[kW/m²]", &R::irradiance, 2, false},
        {"V'[l/min]", &R::solarFlow, 1, false},
        {"P[W]", &R::solarPower, 0, false},
        {"Qtag[kWh]", &R::solarDayEnergy, 2, false},
        {"Qges[kWh]", &R::solarTotalEnergy, 1, false},
        {"R1[%]", &R::solarPump, 0, false},
        {"R2[%]", &R::backupHeater, 0, false},
    };
    return d;
}

TSampleDevice HeatingCircuit(int bus)
{
    TSampleDevice d;
    d.bus = bus;
    d.nameCell = "Heizkreis " + std::to_string(bus - 20);
    d.style = TStampStyle::DayFirst;
    d.columns = {
        {"TA[°C]", &R::outside, 1, true},
        {"TV[°C]", &R::heatingFlow, 1, true},
        {"TVsoll[°C]", &R::heatingSetpoint, 1, false},
        {"TR[°C]", &R::heatingReturn, 1, true},
        {"TRaum[°C]", &R::room, 1, true},
        {"PU[%]", &R::heatingPump, 0, false},
        {"MI[%]", &R::heatingMixer, 0, false},
    };
    return d;
}

TSampleDevice FreshWaterStation(int bus)
{
    TSampleDevice d;
    d.bus = bus;
    d.extension = ".CSV";
    d.style = TStampStyle::DayFirst;
    d.styleChanges = true;
    d.columns = {
        {"T1[°C]", &R::stationSupply, 1, true},
        {"T2[°C]", &R::hotWater, 1, true},
        {"T3[°C]", &R::coldWater, 1, true},
        {"T4[°C]", &R::circulationReturn, 1, true},
        {"V'[l/min]", &R::drawFlow, 1, false},
        {"P[kW]", &R::drawPower, 2, false},
        {"R1[%]", &R::stationPump, 0, false},
        {"R2[%]", &R::circulationPump, 0, false},
    };
    return d;
}

} // namespace

std::optional<TSampleDevice> SampleDeviceFor(int bus)
{
    if (bus == 10 || bus == 20)
        return SolarController(bus);
    if (bus >= 21 && bus <= 29)
        return HeatingCircuit(bus);
    if (bus >= 30 && bus <= 39)
        return FreshWaterStation(bus);
    return std::nullopt;
}
