#include "core/logdata/SeriesSums.h"

#include "core/base/DateTime.h"

#include <algorithm>
#include <cmath>

double DayIntegral(TFieldSeries& series, int unitsPerDay, double dayStart)
{
    return IntegralBetween(series, unitsPerDay, dayStart, dayStart + 1.0);
}

double IntegralBetween(TFieldSeries& series, int unitsPerDay, double from, double to)
{
    const TPointSeries& points = series.Points();
    const int n = points.Count();
    if (n == 0 || points.X(n - 1) < from || points.X(0) > to)
        return 0.0;

    int& cursor = series.SearchIndex;
    if (cursor < 0 || cursor >= n)
        cursor = n / 2;
    while (cursor > 0 && from < points.X(cursor))
        --cursor;
    while (cursor < n && points.X(cursor) < from)
        ++cursor;

    const int half = unitsPerDay / 2;
    const int minutesPerUnit = 1440 / std::max(unitsPerDay, 24);
    double sum = 0.0;
    bool inStretch = false;
    double previousX = 0.0;
    double previousY = 0.0;
    for (; cursor < n && points.X(cursor) < to; ++cursor) {
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
