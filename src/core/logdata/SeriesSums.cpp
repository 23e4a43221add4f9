#include "core/logdata/SeriesSums.h"

#include "core/base/DateTime.h"

#include <algorithm>
#include <cmath>

namespace {

// The day sum's rule over the points of one day from index i on (left past them), counting
// only what lies in [from, to): a stretch's first point counts one minute's worth of its
// rate, a segment between two points of a stretch its trapezoid, cut at from and to by
// its straight line, so a run of equal readings stored as two points is cut where the
// span cuts it. Whole segments are summed exactly as they always were.
double SumOfDay(
    const TPointSeries& points, int unitsPerDay, int& i, double dayEnd, double from, double to)
{
    const int half = unitsPerDay / 2;
    const int minutesPerUnit = 1440 / std::max(unitsPerDay, 24);
    const int n = points.Count();
    double sum = 0.0;
    bool inStretch = false;
    double previousX = 0.0;
    double previousY = 0.0;
    for (; i < n && points.X(i) < dayEnd; ++i) {
        if (points.IsNull(i)) {
            inStretch = false;
            continue;
        }
        const double x = points.X(i);
        const double y = points.Y(i);
        if (!inStretch) {
            if (x >= from && x < to)
                sum += y * (1.0 / minutesPerUnit);
        } else if (const double a = std::max(previousX, from), b = std::min(x, to); b > a) {
            const auto on = [&](double t) {
                return previousY + (y - previousY) * (t - previousX) / (x - previousX);
            };
            const double ya = a == previousX ? previousY : on(a);
            const double yb = b == x ? y : on(b);
            sum += (yb + ya) * (b - a) * half;
        }
        inStretch = true;
        previousX = x;
        previousY = y;
    }
    return sum;
}

} // namespace

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
    return SumOfDay(points, unitsPerDay, cursor, dayEnd, dayStart, dayEnd);
}

double IntegralBetween(const TFieldSeries& series, int unitsPerDay, double from, double to)
{
    const TPointSeries& points = series.Points();
    if (points.IsEmpty() || !(to > from))
        return 0.0;
    // Day by day, so that a span from midnight to midnight gives exactly the day sums.
    double sum = 0.0;
    for (double day = std::floor(from); day < to; day += 1.0) {
        int first = points.LowerBound(day);
        sum += SumOfDay(
            points, unitsPerDay, first, day + 1.0, std::max(from, day), std::min(to, day + 1.0));
    }
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
