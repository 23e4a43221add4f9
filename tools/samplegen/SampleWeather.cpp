#include "samplegen/SampleWeather.h"

#include "core/base/DateTime.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double Latitude = 48.0 * std::numbers::pi / 180.0;
constexpr double TwoPi = 2.0 * std::numbers::pi;

} // namespace

TSampleWeather::TSampleWeather(std::uint64_t seed)
    : random(MixSeed(seed, 1))
{
    dayCloudiness = random.Uniform();
}

void TSampleWeather::BeginDay(int year, int month, int day)
{
    dayOfYear = DayNumber(EncodeDate(year, month, day)) - DayNumber(EncodeDate(year, 1, 1)) + 1;
    // Weather comes in spells: today's sky and warmth lean on yesterday's.
    dayCloudiness = std::clamp(0.6 * dayCloudiness + 0.4 * random.Uniform(), 0.0, 1.0);
    temperatureOffset = 0.7 * temperatureOffset + 2.2 * random.Normal();
    const double seasonal = 9.5 - 10.0 * std::cos(TwoPi * (dayOfYear - 15) / 365.0);
    dailyMean = seasonal + temperatureOffset;
    diurnalSwing = 2.5 + 5.0 * (1.0 - dayCloudiness);
}

double TSampleWeather::ClearSkyIrradiance(int minuteOfDay) const
{
    const double declination
        = 23.44 * std::numbers::pi / 180.0 * std::sin(TwoPi * (284 + dayOfYear) / 365.0);
    // Solar noon at 12:30 local time.
    const double hourAngle = TwoPi * (minuteOfDay / 60.0 - 12.5) / 24.0;
    const double sinElevation = std::sin(Latitude) * std::sin(declination)
        + std::cos(Latitude) * std::cos(declination) * std::cos(hourAngle);
    if (sinElevation <= 0.0)
        return 0.0;
    // A tilted collector catches low winter sun better than the flat ground would.
    return 1000.0 * std::pow(sinElevation, 0.6);
}

void TSampleWeather::StepMinute(int minuteOfDay)
{
    passingClouds = std::clamp(0.97 * passingClouds + 0.08 * random.Normal(), -0.5, 0.5);
    const double cover = std::clamp(dayCloudiness + passingClouds, 0.0, 1.0);
    irradiance = ClearSkyIrradiance(minuteOfDay) * (1.0 - 0.8 * cover);
    const double hour = minuteOfDay / 60.0;
    outside
        = dailyMean + diurnalSwing * std::sin(TwoPi * (hour - 9.0) / 24.0) + 0.15 * random.Normal();
}
