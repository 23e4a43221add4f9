#include "samplegen/SampleOptions.h"

#include <charconv>
#include <sstream>

namespace {

bool ParseNumber(const std::string& text, long long& value)
{
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

// YYYY-MM-DD.
bool ParseDate(const std::string& text, CivilDate& date)
{
    long long y = 0, m = 0, d = 0;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    if (!ParseNumber(text.substr(0, 4), y) || !ParseNumber(text.substr(5, 2), m)
        || !ParseNumber(text.substr(8, 2), d))
        return false;
    if (!IsValidDate(static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)))
        return false;
    date = {static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
    return true;
}

bool ParseDevices(const std::string& text, std::vector<int>& devices)
{
    devices.clear();
    std::stringstream list(text);
    std::string item;
    while (std::getline(list, item, ',')) {
        long long bus = 0;
        if (!ParseNumber(item, bus) || bus < 0 || bus > 99)
            return false;
        devices.push_back(static_cast<int>(bus));
    }
    return !devices.empty();
}

bool ParseLayout(const std::string& text, TSampleLayout& layout)
{
    if (text == "flat")
        layout = TSampleLayout::Flat;
    else if (text == "nested")
        layout = TSampleLayout::Nested;
    else if (text == "mixed")
        layout = TSampleLayout::Mixed;
    else
        return false;
    return true;
}

} // namespace

std::string SampleUsage()
{
    return "usage: kalvex-samplegen OUTDIR [--from YYYY-MM-DD] [--to YYYY-MM-DD]\n"
           "                        [--interval MINUTES] [--seed N] [--devices 10,21,30]\n"
           "                        [--layout flat|nested|mixed] [--no-faults]\n"
           "Writes simulated day logs of a solar controller (bus 10 or 20), heating circuits\n"
           "(21-29) and fresh-water stations (30-39). Defaults: 2024-03-01 to 2024-04-30,\n"
           "every minute, seed 1, devices 10,21,30, month folders mixed with flat ones,\n"
           "with the odd missing day, power cut and failing sensor.\n";
}

TSampleCommandLine ParseSampleArguments(const std::vector<std::string>& args)
{
    TSampleCommandLine result;
    TSampleOptions& o = result.options;
    auto fail = [&](const std::string& message) {
        result.error = message;
        return result;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        long long number = 0;
        if (arg == "--no-faults") {
            o.faults = false;
        } else if (arg.rfind("--", 0) == 0 && !hasValue) {
            return fail(arg + " needs a value");
        } else if (arg == "--from") {
            if (!ParseDate(args[++i], o.from))
                return fail("--from needs a date YYYY-MM-DD");
        } else if (arg == "--to") {
            if (!ParseDate(args[++i], o.to))
                return fail("--to needs a date YYYY-MM-DD");
        } else if (arg == "--interval") {
            if (!ParseNumber(args[++i], number) || number < 1 || number > 1440)
                return fail("--interval needs minutes from 1 to 1440");
            o.intervalMinutes = static_cast<int>(number);
        } else if (arg == "--seed") {
            if (!ParseNumber(args[++i], number) || number < 0)
                return fail("--seed needs a whole number");
            o.seed = static_cast<std::uint64_t>(number);
        } else if (arg == "--devices") {
            if (!ParseDevices(args[++i], o.devices))
                return fail("--devices needs bus numbers separated by commas");
        } else if (arg == "--layout") {
            if (!ParseLayout(args[++i], o.layout))
                return fail("--layout is flat, nested or mixed");
        } else if (arg.rfind("--", 0) == 0 || !o.outputDir.empty()) {
            return fail("unexpected argument " + arg);
        } else {
            o.outputDir = arg;
        }
    }
    if (o.outputDir.empty())
        return fail("no output directory given");
    return result;
}
