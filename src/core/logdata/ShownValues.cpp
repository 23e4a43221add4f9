#include "core/logdata/ShownValues.h"

#include "core/base/DateTime.h"
#include "core/bus/BusVocabulary.h"
#include "core/logdata/LogAnalysis.h"
#include "core/logdata/SeriesReadings.h"
#include "core/logdata/SeriesSums.h"
#include "core/settings/DeviceSettings.h"

#include <algorithm>
#include <cmath>

namespace {

bool IsSumField(const TLogAnalysis& analysis, int field)
{
    const TDeviceSettings* settings = analysis.DeviceSettings();
    return settings && field < settings->ValueCount() && settings->IsSumValue(field);
}

// A value read from the files, not a sum derived from one.
bool IsMeasured(const TLogAnalysis& analysis, int field)
{
    const TDeviceSettings* settings = analysis.DeviceSettings();
    return settings && field < settings->ValueCount() && !settings->IsSumValue(field);
}

} // namespace

std::optional<double> ShownValueAt(const TLogAnalysis& analysis, int field, double t)
{
    const TFieldSeries* series = analysis.Series(field);
    if (!series)
        return std::nullopt;
    const TPointSeries& points = series->Points();
    if (!IsSumField(analysis, field))
        return ReadingAt(points, t);
    // A day-sum field shows its month sums in a year window.
    if (analysis.MonthlyBars() && analysis.PairIndex(field) > field)
        return TotalIn(points, FirstOfMonth(t), FirstOfNextMonth(t));
    const double day = std::floor(t);
    return TotalIn(points, day, day + 1);
}

TMarkerComparison CompareAtMarkers(const TLogAnalysis& analysis, int field, double a, double b)
{
    TMarkerComparison comparison;
    comparison.atStart = ShownValueAt(analysis, field, a);
    comparison.atEnd = ShownValueAt(analysis, field, b);
    if (comparison.atStart && comparison.atEnd)
        comparison.change = *comparison.atEnd - *comparison.atStart;
    const TFieldSeries* series = analysis.Series(field);
    const auto rate = RateAmountOf(analysis.UnitOf(field));
    if (series && rate && IsMeasured(analysis, field)) {
        comparison.amount
            = IntegralBetween(*series, rate->unitsPerDay, std::min(a, b), std::max(a, b));
        comparison.amountUnit = rate->unit;
    }
    return comparison;
}
