// Day and month sums derived after all files of a device were read.

#include "core/logdata/LogAnalysis.h"

#include "core/bus/BusVocabulary.h"
#include "core/logdata/SeriesSums.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr double Midday = 0.5;

// Power in kW sums to kWh over 24 hours, flow in l/min to litres over 1440 minutes;
// 0 for fields that are not summed.
int UnitsPerDay(const std::string& name)
{
    if (name.starts_with('P'))
        return 24;
    if (name.starts_with('V'))
        return 1440;
    return 0;
}

bool Contains(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

void TLogAnalysis::UpdateSumsOfDay(TDateTime dayDate)
{
    if (!deviceSettings)
        return;
    const TDeviceSettings& device = *deviceSettings;
    for (int f = device.InputCount(); f < device.CountUpTo(KindOther); ++f) {
        const std::string& name = device.GetValueName(f);
        const int unitsPerDay = UnitsPerDay(name);
        const int daySum = FieldIndex(name + "tag");
        if (unitsPerDay == 0 || device.IsSumValue(f) || IsDerived(f) || daySum < 0
            || daySum >= FieldRecordCount() || f >= FieldRecordCount())
            continue;
        // A logged day sum keeps what the file gave; one computed here follows the rate.
        TFieldSeries& sums = *fields[daySum].series;
        const bool made
            = std::find(madeDaySums.begin(), madeDaySums.end(), name + "tag") != madeDaySums.end();
        if (!made && sums.Points().Locate(dayDate + Midday) >= 0)
            continue;
        TFieldSeries& rate = *fields[f].series;
        rate.SearchIndex = rate.Points().LowerBound(dayDate);
        sums.AddPoint(dayDate + Midday, DayIntegral(rate, unitsPerDay, dayDate));
    }
    for (int f = 0; f < FieldRecordCount(); ++f) {
        const int month = fields[f].pairIndex;
        if (month > f && Contains(device.GetValueName(f), "tag"))
            FillMonthlySums(*fields[f].series, *fields[month].series);
    }
}

void TLogAnalysis::BuildSums()
{
    if (!deviceSettings)
        return;
    TDeviceSettings& device = *deviceSettings;

    struct Completion {
        int source;
        int daySum;
        int unitsPerDay;
    };
    std::vector<Completion> completions;
    std::vector<std::pair<int, int>> daySumsToMake; // source, units per day
    const int firstOther = device.InputCount();
    const int endOther = firstOther + device.OtherCount();
    for (int f = firstOther; f < endOther; ++f) {
        const std::string name = device.GetValueName(f);
        const int unitsPerDay = UnitsPerDay(name);
        if (unitsPerDay == 0)
            continue;
        const int daySum = FieldIndex(name + "tag");
        if (daySum >= 0)
            completions.push_back({f, daySum, unitsPerDay});
        if (Contains(name, "tag") || Contains(name, "jahr")) {
            device.SetSumValue(f, true);
            continue;
        }
        if (daySum < 0)
            daySumsToMake.emplace_back(f, unitsPerDay);
    }

    for (const Completion& c : completions) {
        if (c.source < FieldRecordCount() && c.daySum < FieldRecordCount())
            CompleteDaySums(c.source, c.daySum, c.unitsPerDay);
    }
    for (const auto& [source, unitsPerDay] : daySumsToMake)
        MakeDaySum(source, unitsPerDay);

    // Labels and breaks of the day and year sums of the measured values.
    for (int f = device.InputCount(); f < device.CountUpTo(KindOther); ++f) {
        if (device.IsSumValue(f))
            continue;
        const std::string name = device.GetValueName(f);
        for (const char* suffix : {"tag", "jahr"}) {
            const int sum = FieldIndex(name + suffix);
            if (sum < 0)
                continue;
            if (std::string(suffix) == "tag" && sum < FieldRecordCount())
                BreakBarsBetweenDays(*fields[sum].series);
            if (device.GetLabel(sum) == device.GetValueName(sum))
                device.SetLabel(sum, DefaultSumLabel(name));
        }
    }

    std::vector<std::string> daySumNames;
    for (int d = device.InputCount(); d < device.CountUpTo(KindOther); ++d) {
        if (Contains(device.GetValueName(d), "tag"))
            daySumNames.push_back(device.GetValueName(d));
    }
    for (const std::string& name : daySumNames)
        MakeMonthSum(FieldIndex(name));
}

void TLogAnalysis::CompleteDaySums(int source, int daySum, int unitsPerDay)
{
    TFieldSeries& rate = *fields[source].series;
    TFieldSeries& sums = *fields[daySum].series;
    for (const TDay& day : days) {
        if (sums.Points().Locate(day.dayDate + Midday) < 0)
            sums.AddPoint(day.dayDate + Midday, DayIntegral(rate, unitsPerDay, day.dayDate));
    }
    fields[daySum].unit = SumUnit(fields[daySum].unit);
}

void TLogAnalysis::MakeDaySum(int source, int unitsPerDay)
{
    if (source >= FieldRecordCount())
        return;
    TDeviceSettings& device = *deviceSettings;
    const std::string unit = SumUnit(UnitOf(source));
    const int countBefore = device.ValueCount();
    device.AddValue(device.GetValueName(source) + "tag", unit, KindOther);
    if (device.ValueCount() == countBefore)
        return;
    // The new field gets its record and unit even without days, so that field i of the
    // settings, the records and the units stays the same field.
    const int index = FieldIndex(device.GetValueName(source) + "tag");
    InsertField(index, unit, KindOther, true);
    device.SetSumValue(index, true);
    madeDaySums.push_back(device.GetValueName(index));
    TFieldSeries& rate = *fields[source].series;
    TFieldSeries& sums = *fields[index].series;
    for (const TDay& day : days)
        sums.AddPoint(day.dayDate + Midday, DayIntegral(rate, unitsPerDay, day.dayDate));
}

void TLogAnalysis::BreakBarsBetweenDays(TFieldSeries& bars)
{
    if (!bars.KeepsOneBarPerDay())
        return;
    bars.SetAcceptNulls(true);
    // From the end, so that each inserted null point leaves the pairs before it alone.
    for (int i = bars.Points().Count() - 1; i > 0; --i) {
        const double later = bars.Points().X(i);
        if (later - bars.Points().X(i - 1) > 1.0)
            bars.AddNullPoint(later - 1.0);
    }
}

void TLogAnalysis::MakeMonthSum(int daySum)
{
    if (daySum < 0 || daySum >= FieldRecordCount())
        return;
    TDeviceSettings& device = *deviceSettings;
    const std::string name = device.GetValueName(daySum);
    const std::string monthName = name.substr(0, name.find("tag")) + "monat";
    const std::string unit = UnitOf(daySum);
    const int countBefore = device.ValueCount();
    device.AddValue(monthName, unit, KindOther);
    if (device.ValueCount() == countBefore)
        return; // a logged field of that name keeps its own data
    const int month = FieldIndex(monthName);
    InsertField(month, unit, KindOther, true);
    device.SetSumValue(month, true);
    // A label the user gave the month sum is kept, as for the day sums.
    if (device.GetLabel(month) == monthName)
        device.SetLabel(month, device.GetLabel(daySum));
    if (!days.empty())
        FillMonthlySums(*fields[daySum].series, *fields[month].series);
    fieldsPaired = true;
    fields[daySum].pairIndex = month;
    fields[month].pairIndex = daySum;
}
