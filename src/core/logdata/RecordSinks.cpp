#include "core/logdata/RecordSinks.h"

#include <algorithm>
#include <new>

void TSeriesSink::Begin()
{
    for (TFieldSeries* target : series) {
        if (target && !target->KeepsOneBarPerDay())
            target->Points().BeginMerge();
    }
}

void TSeriesSink::End(TDateTime last)
{
    for (TFieldSeries* target : series) {
        if (target && !target->Points().IsEmpty())
            target->AddNullPoint(last);
    }
}

void TSeriesSink::Finish()
{
    for (TFieldSeries* target : series) {
        if (target)
            target->Points().EndMerge();
    }
}

bool TSeriesSink::CanAppend(const std::vector<bool>& bars) const
{
    if (bars.size() != series.size())
        return false;
    std::vector<const TFieldSeries*> read;
    for (std::size_t column = 0; column < series.size(); ++column) {
        const TFieldSeries* target = series[column];
        if (!target)
            continue;
        if (target->KeepsOneBarPerDay() != bars[column])
            return false;
        // The file's second value would stretch a run begun by the series' last point; a
        // break there (as every readable file ends with) or no point at all leaves none.
        const TPointSeries& points = target->Points();
        if (!bars[column] && !points.IsEmpty() && !points.IsNull(points.Count() - 1))
            return false;
        read.push_back(target);
    }
    std::sort(read.begin(), read.end());
    return std::adjacent_find(read.begin(), read.end()) == read.end();
}

void TSeriesSink::Append(const TAheadPoints& points)
{
    Begin();
    try {
        for (const TAheadPoint& point : points.points) {
            TFieldSeries& target = *series[point.Column()];
            const TPointTime& time = points.records[point.record];
            if (point.Null())
                target.AddNullPoint(time.x);
            else
                target.AddPoint(time, point.y);
        }
        if (points.complete)
            End(points.end);
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    }
    Finish();
}
