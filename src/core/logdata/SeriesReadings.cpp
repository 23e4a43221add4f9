#include "core/logdata/SeriesReadings.h"

std::optional<double> ReadingAt(const TPointSeries& points, double t)
{
    int last = points.LowerBound(t);
    while (last < points.Count() && points.X(last) == t)
        ++last;
    --last;
    if (last < 0 || points.IsNull(last))
        return std::nullopt;
    // A break's null point stands at the first reading after it: up to there the chart
    // draws no line from the last reading, and nothing holds.
    if (t > points.X(last) && last + 1 < points.Count() && points.IsNull(last + 1))
        return std::nullopt;
    return points.Y(last);
}

std::optional<double> TotalIn(const TPointSeries& points, double from, double to)
{
    for (int i = points.LowerBound(from); i < points.Count() && points.X(i) < to; ++i)
        if (!points.IsNull(i))
            return points.Y(i);
    return std::nullopt;
}
