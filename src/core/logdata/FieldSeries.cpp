#include "core/logdata/FieldSeries.h"

#include <algorithm>
#include <cmath>

TFieldSeries::TFieldSeries(TDrawingKind kind, bool stairs)
    : oneBarPerDay(kind == TDrawingKind::SumBars)
{
    style.kind = kind;
    style.stairs = stairs;
}

int TFieldSeries::AddNullPoint(double x)
{
    if (oneBarPerDay && !acceptNulls)
        return -1;
    const int index = points.AddNullPoint(x);
    NoteInsertion(index);
    return index;
}

void TFieldSeries::Clear()
{
    points.Clear();
    lastDay = -1;
    lastIndex = 0;
    hasLastBar = false;
    SearchIndex = 0;
}

// Keeps LastIndex on the last day's bar when a point is inserted in front of it.
void TFieldSeries::NoteInsertion(int index)
{
    if (hasLastBar && index <= lastIndex)
        ++lastIndex;
}

int TFieldSeries::AddDayBar(double x, double y)
{
    const double dayFloor = std::floor(x);
    const int day = static_cast<int>(dayFloor);
    const double middle = dayFloor + 0.5;
    if (!hasLastBar || day > lastDay) {
        const int index = points.AddPoint(middle, y);
        lastIndex = index;
        lastDay = day;
        hasLastBar = true;
        return index;
    }
    if (day == lastDay) {
        points.SetY(lastIndex, y);
        return lastIndex;
    }
    // A reading for an earlier day replaces that day's bar wherever it stands.
    if (const int existing = points.Locate(middle); existing >= 0) {
        points.SetY(existing, y);
        points.SetNull(existing, false);
        return existing;
    }
    const int index = points.AddPoint(middle, y);
    NoteInsertion(index);
    return index;
}

std::optional<TValueRange> TFieldSeries::ValueRange() const
{
    return ValueRangeOfPoints(0, points.Count());
}

std::optional<TValueRange> TFieldSeries::ValueRangeBetween(double fromX, double toX) const
{
    int first = points.LowerBound(fromX);
    int end = std::max(first, points.UpperBound(toX));
    // Bars stand alone; a line reaches into the window from a neighbour outside it when
    // it goes on to a point on the other side of that edge.
    if (style.kind != TDrawingKind::SumBars) {
        const int count = points.Count();
        const bool fromBefore = first > 0 && first < count;
        const bool toAfter = end > 0 && end < count;
        first -= fromBefore ? 1 : 0;
        end += toAfter ? 1 : 0;
    }
    return ValueRangeOfPoints(first, end);
}

std::optional<TValueRange> TFieldSeries::ValueRangeOfPoints(int first, int end) const
{
    const TStretchExtremes extremes = points.Extremes(first, end);
    std::optional<TValueRange> range;
    if (extremes.smallest < 0)
        return range;
    range = TValueRange{points.Y(extremes.smallest), points.Y(extremes.largest)};
    const double offset = style.offset;
    switch (style.kind) {
    case TDrawingKind::OffsetLine:
        range->smallest += offset;
        range->largest += offset;
        break;
    case TDrawingKind::OffsetArea:
        range->smallest = std::min(range->smallest + offset, offset);
        range->largest = std::max(range->largest + offset, offset);
        break;
    case TDrawingKind::SumBars:
        range->smallest = std::min(range->smallest, 0.0);
        range->largest = std::max(range->largest, 0.0);
        break;
    case TDrawingKind::Line:
    case TDrawingKind::SumLine:
        break;
    }
    return range;
}
