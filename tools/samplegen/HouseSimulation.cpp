#include "samplegen/HouseSimulation.h"

#include "core/base/DateTime.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double Step = 60.0; // seconds per simulated minute
// Heat carried by one litre per minute of water per kelvin, in W.
constexpr double WattPerFlowKelvin = 4186.0 / 60.0;
constexpr double LayerCapacity = 250.0 * 4186.0; // J/K, half of a 500 l store
constexpr double LayerLoss = 1.5; // W/K to the boiler room
constexpr double RoomTemperature = 18.0;

// Collector field: 10 m² of flat plates.
constexpr double CollectorArea = 10.0;
constexpr double OpticalEfficiency = 0.75;
constexpr double LossLinear = 4.0; // W/(m² K)
constexpr double LossQuadratic = 0.015; // W/(m² K²)
constexpr double CollectorCapacity = 40000.0; // J/K, absorber and fluid
constexpr double MaxSolarFlow = 12.0; // l/min at 100 %

constexpr double HeaterPower = 8000.0; // W
constexpr double RadiatorFlow = 12.0; // l/min

double Approach(double value, double target, double share)
{
    return value + (target - value) * share;
}

double RoundTo(double value, double step)
{
    return std::round(value / step) * step;
}

} // namespace

THouseSimulation::THouseSimulation(std::uint64_t seed)
    : random(MixSeed(seed, 2))
    , weather(seed)
{
    r.collector = 10.0;
    r.storeBottom = 30.0;
    r.storeTop = 48.0;
    r.heatingFlow = r.heatingReturn = 20.0;
    r.room = 20.0;
    r.circulationReturn = 25.0;
    r.stationSupply = 28.0;
    r.hotWater = 24.0;
    r.coldWater = 15.0;
    r.solarTotalEnergy = std::round(random.Uniform(2000.0, 5000.0));
}

void THouseSimulation::BeginDay(int year, int month, int day)
{
    weather.BeginDay(year, month, day);
    // Day 0 (30 December 1899) was a Saturday.
    const int weekday = DayNumber(EncodeDate(year, month, day)) % 7;
    taps.Plan(random, weekday == 0 || weekday == 1);
    r.solarDayEnergy = 0.0;
    const double season = 2.0 * std::numbers::pi * (weather.DayOfYear() - 45) / 365.0;
    mainsTemperature = 10.5 - 3.5 * std::cos(season);
}

void THouseSimulation::StepSolarCircuit(bool powerCut)
{
    const double lift = r.collector - r.storeBottom;
    if (powerCut)
        solarPumpOn = false;
    else if (!solarPumpOn && lift >= 7.0 && r.storeBottom < 85.0 && r.collector < 130.0)
        solarPumpOn = true;
    else if (solarPumpOn && (lift <= 3.0 || r.storeBottom >= 85.0 || r.collector >= 130.0))
        solarPumpOn = false;

    r.solarPump
        = solarPumpOn ? std::clamp(RoundTo(30.0 + (lift - 7.0) * 7.0, 5.0), 30.0, 100.0) : 0.0;
    r.solarFlow = solarPumpOn
        ? RoundTo(r.solarPump / 100.0 * MaxSolarFlow * (1.0 + 0.01 * random.Normal()), 0.1)
        : 0.0;

    // The collector's temperature follows sun, losses and the fluid carried away;
    // solved implicitly so that strong flows stay stable at one-minute steps.
    const double ambient = r.outside;
    const double g = weather.Irradiance();
    const double loss
        = CollectorArea * (LossLinear + LossQuadratic * std::abs(r.collector - ambient));
    const double carried = r.solarFlow * WattPerFlowKelvin;
    const double inertia = CollectorCapacity / Step;
    r.collector = (r.collector * inertia + CollectorArea * OpticalEfficiency * g + loss * ambient
                      + carried * r.storeBottom)
        / (inertia + loss + carried);

    solarGain = std::max(0.0, carried * (r.collector - r.storeBottom));
}

void THouseSimulation::ReportSolarPower()
{
    // The controller knows only its sensors: flow times the lift between the collector
    // and the store bottom, as they read after this minute, to the displayed tenth.
    const double lift = RoundTo(r.collector, 0.1) - RoundTo(r.storeBottom, 0.1);
    r.solarPower = std::max(0.0, std::round(r.solarFlow * WattPerFlowKelvin * lift));
    r.solarDayEnergy += r.solarPower / 60000.0;
    r.solarTotalEnergy += r.solarPower / 60000.0;
}

void THouseSimulation::StepBackupHeater(bool powerCut)
{
    if (powerCut)
        heaterOn = false;
    else if (r.storeTop < 45.0)
        heaterOn = true;
    else if (r.storeTop > 52.0)
        heaterOn = false;
    r.backupHeater = heaterOn ? 100.0 : 0.0;
    heaterGain = heaterOn ? HeaterPower : 0.0;
}

void THouseSimulation::StepHeatingCircuit(int minuteOfDay, bool powerCut)
{
    dampedOutside = Approach(dampedOutside, r.outside, 1.0 / 180.0);
    double setpoint = std::clamp(20.0 + 1.3 * (20.0 - dampedOutside), 22.0, 55.0);
    const bool night = minuteOfDay < 5 * 60 + 30 || minuteOfDay >= 22 * 60;
    if (night)
        setpoint = std::max(20.0, setpoint - 10.0);
    r.heatingSetpoint = RoundTo(setpoint, 0.5);

    const bool active = !powerCut && weather.DailyMeanOutside() < 15.0;
    // Rooms are kept at 21 °C by day and 18.5 °C by night while heating; otherwise they
    // drift with the weather.
    const double roomTarget
        = active ? (night ? 18.5 : 21.0) : std::clamp(dampedOutside + 6.0, 19.0, 27.0);
    r.room = Approach(r.room, roomTarget, 0.01);
    if (active) {
        r.heatingPump = 100.0;
        r.heatingMixer = std::clamp(
            std::round(r.heatingMixer + 1.5 * (r.heatingSetpoint - r.heatingFlow)), 0.0, 100.0);
        const double mixed
            = r.heatingReturn + r.heatingMixer / 100.0 * (r.storeTop - r.heatingReturn);
        r.heatingFlow = Approach(r.heatingFlow, mixed, 0.3);
        r.heatingReturn = 20.0 + (r.heatingFlow - 20.0) * 0.78;
        heatingDraw = RadiatorFlow * WattPerFlowKelvin * (r.heatingFlow - r.heatingReturn);
    } else {
        r.heatingPump = 0.0;
        r.heatingMixer = std::max(0.0, r.heatingMixer - 5.0);
        r.heatingFlow = Approach(r.heatingFlow, 20.0, 0.015);
        r.heatingReturn = Approach(r.heatingReturn, 20.0, 0.015);
        heatingDraw = 0.0;
    }
}

void THouseSimulation::StepFreshWaterStation(int minuteOfDay, bool powerCut)
{
    r.drawFlow = powerCut ? 0.0 : RoundTo(taps.FlowAt(minuteOfDay), 0.1);
    if (r.drawFlow > 0.0) {
        r.coldWater = Approach(r.coldWater, mainsTemperature, 0.7);
        r.stationSupply = Approach(r.stationSupply, r.storeTop - 0.5, 0.8);
        r.hotWater = Approach(r.hotWater, std::min(50.0, r.storeTop - 3.0), 0.8);
        r.stationPump = std::clamp(RoundTo(r.drawFlow / 15.0 * 100.0, 5.0), 10.0, 100.0);
    } else {
        r.coldWater = Approach(r.coldWater, 19.0, 0.02);
        r.stationSupply = Approach(r.stationSupply, 28.0, 0.03);
        r.hotWater = Approach(r.hotWater, 24.0, 0.04);
        r.stationPump = 0.0;
    }
    const double heated = r.drawFlow * WattPerFlowKelvin * std::max(0.0, r.hotWater - r.coldWater);
    r.drawPower = heated / 1000.0;
    stationDraw = heated;
}

void THouseSimulation::StepCirculation(int minuteOfDay, bool powerCut)
{
    // The hot-water circulation runs five minutes of every half hour from 6:00 to 22:00.
    const bool running
        = !powerCut && minuteOfDay >= 6 * 60 && minuteOfDay < 22 * 60 && minuteOfDay % 30 < 5;
    r.circulationPump = running ? 100.0 : 0.0;
    r.circulationReturn = running ? Approach(r.circulationReturn, r.hotWater - 5.0, 0.5)
                                  : Approach(r.circulationReturn, 25.0, 0.03);
}

void THouseSimulation::StepStore()
{
    // Consumers take water from the top and return it cooler into the bottom; the same
    // amount rises from the bottom layer to the top.
    auto exchange = [&](double watts, double returnTemperature, double& top, double& bottom) {
        const double drop = std::max(5.0, r.storeTop - returnTemperature);
        const double carried = watts / drop; // W/K
        top += carried * (r.storeBottom - r.storeTop);
        bottom += carried * (returnTemperature - r.storeBottom);
    };
    double top = heaterGain - LayerLoss * (r.storeTop - RoomTemperature);
    double bottom = solarGain - LayerLoss * (r.storeBottom - RoomTemperature);
    exchange(heatingDraw, r.heatingReturn, top, bottom);
    exchange(stationDraw, r.coldWater + 4.0, top, bottom);
    r.storeTop += top * Step / LayerCapacity;
    r.storeBottom += bottom * Step / LayerCapacity;
    // Warm water rises: a bottom layer warmer than the top mixes with it.
    if (r.storeBottom > r.storeTop)
        r.storeTop = r.storeBottom = (r.storeTop + r.storeBottom) / 2.0;
    const double conduction = 0.002 * (r.storeTop - r.storeBottom);
    r.storeTop -= conduction;
    r.storeBottom += conduction;
    r.storeMiddle = 0.45 * r.storeTop + 0.55 * r.storeBottom;
}

const THouseReadings& THouseSimulation::StepMinute(int minuteOfDay, bool powerCut)
{
    weather.StepMinute(minuteOfDay);
    r.outside = weather.Outside();
    r.irradiance = weather.Irradiance() / 1000.0;
    StepSolarCircuit(powerCut);
    StepBackupHeater(powerCut);
    StepHeatingCircuit(minuteOfDay, powerCut);
    StepFreshWaterStation(minuteOfDay, powerCut);
    StepCirculation(minuteOfDay, powerCut);
    StepStore();
    ReportSolarPower();
    return r;
}
