#pragma once
// Sun and outside air over a year at a central European site: seasonal and daily
// shapes, with cloudy and clear spells that follow each other from the seed.

#include "samplegen/SampleRandom.h"

#include <cstdint>

class TSampleWeather {
public:
    explicit TSampleWeather(std::uint64_t seed);

    // Draws the day's cloudiness and temperature offset; days must come in order.
    void BeginDay(int year, int month, int day);
    // Advances the passing clouds by one minute; call once per minute of the day.
    void StepMinute(int minuteOfDay);

    // Global irradiance on the collector plane in W/m².
    double Irradiance() const { return irradiance; }
    double Outside() const { return outside; }
    // The day's mean outside temperature, which decides about heating.
    double DailyMeanOutside() const { return dailyMean; }
    // 1 = 1 January.
    int DayOfYear() const { return dayOfYear; }

private:
    double ClearSkyIrradiance(int minuteOfDay) const;

    TSampleRandom random;
    int dayOfYear = 1;
    double dayCloudiness = 0.5;
    double passingClouds = 0.0;
    double temperatureOffset = 0.0;
    double dailyMean = 10.0;
    double diurnalSwing = 5.0;
    double irradiance = 0.0;
    double outside = 10.0;
};
