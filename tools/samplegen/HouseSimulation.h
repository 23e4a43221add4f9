#pragma once
// A house with a solar-thermal plant, simulated minute by minute: flat-plate collectors
// feeding the bottom of a two-layer store, a backup heater on the top layer, a heating
// circuit with a weather-compensated mixer and a fresh-water station that heats tap
// water from the store. The readings are what the three bus participants measure.

#include "samplegen/SampleRandom.h"
#include "samplegen/SampleWeather.h"
#include "samplegen/TapSchedule.h"

#include <cstdint>

struct THouseReadings {
    // solar controller
    double collector = 0.0;
    double storeBottom = 0.0;
    double storeTop = 0.0;
    double storeMiddle = 0.0;
    double irradiance = 0.0; // kW/m²
    double solarFlow = 0.0; // l/min
    double solarPower = 0.0; // W
    double solarDayEnergy = 0.0; // kWh since midnight
    double solarTotalEnergy = 0.0; // kWh since the plant was commissioned
    double solarPump = 0.0; // %
    double backupHeater = 0.0; // %
    // heating circuit
    double outside = 0.0;
    double heatingFlow = 0.0;
    double heatingSetpoint = 0.0;
    double heatingReturn = 0.0;
    double heatingPump = 0.0; // %
    double heatingMixer = 0.0; // %
    double room = 0.0;
    // fresh-water station
    double stationSupply = 0.0;
    double hotWater = 0.0;
    double coldWater = 0.0;
    double drawFlow = 0.0; // l/min
    double drawPower = 0.0; // kW
    double stationPump = 0.0; // %
    double circulationReturn = 0.0;
    double circulationPump = 0.0; // %
};

class THouseSimulation {
public:
    explicit THouseSimulation(std::uint64_t seed);

    // Days must come in order, each followed by its minutes 0 … 1439.
    void BeginDay(int year, int month, int day);
    // During a power cut the controllers are down: pumps and heater stand still.
    const THouseReadings& StepMinute(int minuteOfDay, bool powerCut);

private:
    void StepSolarCircuit(bool powerCut);
    void StepBackupHeater(bool powerCut);
    void StepHeatingCircuit(int minuteOfDay, bool powerCut);
    void StepFreshWaterStation(int minuteOfDay, bool powerCut);
    void StepCirculation(int minuteOfDay, bool powerCut);
    void StepStore();
    void ReportSolarPower();

    TSampleRandom random;
    TSampleWeather weather;
    TTapSchedule taps;
    THouseReadings r;
    bool solarPumpOn = false;
    bool heaterOn = false;
    double dampedOutside = 10.0;
    double mainsTemperature = 10.0;
    // Heat moved this minute, in W: into the bottom layer by the collector, into the
    // top layer by the heater, and drawn from the top by the consumers together with
    // the temperature at which their water comes back into the bottom.
    double solarGain = 0.0;
    double heaterGain = 0.0;
    double heatingDraw = 0.0;
    double stationDraw = 0.0;
};
