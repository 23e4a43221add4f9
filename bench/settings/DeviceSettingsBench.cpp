// Loading a year of logs adds every column of every file to its device's settings, so
// reading the stored labels and colours must not read the settings file each time.

#include "core/settings/DeviceSettings.h"
#include "core/settings/IniSettings.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

constexpr int ValuesPerDevice = 40;

std::string ValueName(int value)
{
    return "T" + std::to_string(value);
}

// A well-used settings file: fifty devices with a stored label and colour per value.
void FillSettingsFile()
{
    TIniSettings& ini = GetIniSettings();
    for (int number = 0; number < 50; ++number) {
        TDeviceSettings device(number, "", true);
        for (int value = 0; value < ValuesPerDevice; ++value)
            device.AddValue(ValueName(value), "[°C]", KindInput);
        for (int value = 0; value < ValuesPerDevice; ++value)
            device.SetLabel(value, "Label " + std::to_string(value));
        ini.WriteDeviceSettings(device);
    }
}

// One log file's worth of columns for one device.
void AddAllValuesOfOneFile(benchmark::State& state)
{
    for (auto _ : state) {
        TDeviceSettings device(21, "", true);
        for (int value = 0; value < ValuesPerDevice; ++value)
            device.AddValue(ValueName(value), "[°C]", KindInput);
        benchmark::DoNotOptimize(device.GetColor(ValuesPerDevice - 1));
    }
    state.SetItemsProcessed(state.iterations() * ValuesPerDevice);
}

BENCHMARK(AddAllValuesOfOneFile);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    ::setenv("LocalAppData", folder.path().toLocal8Bit().constData(), 1);
    FillSettingsFile();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ReleaseIniSettings();
    return 0;
}
