#include "core/logdata/SeriesSums.h"

#include "core/base/DateTime.h"

#include <algorithm>
#include <cmath>

double DayIntegral(TFieldSeries& series, int unitsPerDay, double dayStart)
{
    const TPointSeries& points = series.Points();
    const int n = points.Count();
    const double dayEnd = dayStart + 1.0;
    if (n == 0 || points.X(n - 1) < dayStart || points.X(0) > dayEnd)
        return 0.0;

    int& cursor = series.SearchIndex;
    if (cursor < 0 || cursor >= n)
        cursor = n / 2;
    while (cursor > 0 && dayStart < points.X(cursor))
        --cursor;
    while (cursor < n && points.X(cursor) < dayStart)
        ++cursor;

    const int half = unitsPerDay / 2;
    const int minutesPerUnit = 1440 / std::max(unitsPerDay, 24);
    double sum = 0.0;
    bool inStretch = false;
    double previousX = 0.0;
    double previousY = 0.0;
    for (; cursor < n && points.X(cursor) < dayEnd; ++cursor) {
        if (points.IsNull(cursor)) {
            inStretch = false;
            continue;
        }
        const double x = points.X(cursor);
        const double y = points.Y(cursor);
        if (inStretch)
            sum += (y + previousY) * (x - previousX) * half;
        else
            sum += y * (1.0 / minutesPerUnit);
        inStretch = true;
        previousX = x;
        previousY = y;
    }
    return sum;
}

namespace {

// The day sum's rule restricted to [from, to) inside one day: a stretch's first point
// counts its minute when it lies inside; a segment between two points of a stretch counts
// the part of its trapezoid that lies inside, so a run of equal readings stored as two
// points is cut where the span cuts it.
double ClippedDayIntegral(
    const TPointSeries& points, int unitsPerDay, double day, double from, double to)
{
    const double half = unitsPerDay / 2.0;
    const double minutesPerUnit = 1440.0 / std::max(unitsPerDay, 24);
    double sum = 0.0;
    bool inStretch = false;
    double previousX = 0.0;
    double previousY = 0.0;
    for (int i = points.LowerBound(day); i < points.Count() && points.X(i) < day + 1.0; ++i) {
        if (points.IsNull(i)) {
            inStretch = false;
            continue;
        }
        const double x = points.X(i);
        const double y = points.Y(i);
        if (!inStretch) {
            if (x >= from && x < to)
                sum += y / minutesPerUnit;
        } else if (x > previousX) {
            const double a = std::max(previousX, from);
            const double b = std::min(x, to);
            if (b > a) {
                const double slope = (y - previousY) / (x - previousX);
                const double ya = previousY + slope * (a - previousX);
                const double yb = previousY + slope * (b - previousX);
                sum += (ya + yb) * (b - a) * half;
            }
        }
        inStretch = true;
        previousX = x;
        previousY = y;
    }
    return sum;
}

} // namespace

double IntegralBetween(const TFieldSeries& series, int unitsPerDay, double from, double to)
{
    const TPointSeries& points = series.Points();
    if (points.IsEmpty() || !(to > from))
        return 0.0;
    // Day by day, so that a span from midnight to midnight gives exactly the day sums.
    double sum = 0.0;
    for (double day = std::floor(from); day < to; day += 1.0)
        sum += ClippedDayIntegral(
            points, unitsPerDay, day, std::max(from, day), std::min(to, day + 1.0));
    return sum;
}

void FillMonthlySums(const TFieldSeries& source, TFieldSeries& target)
{
    target.Clear();
    target.SetAcceptNulls(true);
    target.Style().color = source.Style().color;

    const TPointSeries& points = source.Points();
    const int n = points.Count();
    int i = 0;
    while (i < n) {
        if (points.IsNull(i)) {
            ++i;
            continue;
        }
        const double monthStart = FirstOfMonth(points.X(i));
        const double monthEnd = FirstOfNextMonth(points.X(i));
        double sum = points.Y(i);
        for (++i; i < n && points.X(i) < monthEnd; ++i) {
            if (!points.IsNull(i))
                sum += points.Y(i);
        }
        // Bars stand at the midday of a day: that of the day in the middle of the month.
        target.Points().AddPoint(std::floor((monthStart + monthEnd) / 2.0) + 0.5, sum);
    }
}
