#include "core/logdata/PointExtremes.h"

#include "core/logdata/PointSeries.h"

#include <algorithm>

namespace {

constexpr int BlockShift = 4;
constexpr int BlockPoints = 1 << BlockShift;

// Folds a candidate into the extremes; on equal values the earlier index stays.
void Take(const TPointSeries& points, TStretchExtremes& into, int smallest, int largest)
{
    if (smallest < 0)
        return;
    if (into.smallest < 0) {
        into.smallest = smallest;
        into.largest = largest;
        return;
    }
    if (points.Y(smallest) < points.Y(into.smallest))
        into.smallest = smallest;
    if (points.Y(largest) > points.Y(into.largest))
        into.largest = largest;
}

void TakePoints(const TPointSeries& points, TStretchExtremes& into, int first, int end)
{
    for (int i = first; i < end; ++i) {
        if (points.IsNull(i))
            into.hasNull = true;
        else
            Take(points, into, i, i);
    }
}

} // namespace

void TPointExtremes::Update(const TPointSeries& points)
{
    const int complete = points.Count() >> BlockShift;
    int from = validPoints >> BlockShift;
    if (from >= complete && !levels.empty() && levels[0].size() == static_cast<size_t>(complete))
        return;
    size_t levelCount = 0;
    while ((complete >> levelCount) > 0)
        ++levelCount;
    levels.resize(levelCount);
    for (size_t level = 0; level < levelCount; ++level, from >>= 1) {
        std::vector<TBlock>& blocks = levels[level];
        const int count = complete >> level;
        blocks.resize(static_cast<size_t>(count));
        for (int b = from; b < count; ++b) {
            TStretchExtremes e;
            if (level == 0) {
                TakePoints(points, e, b << BlockShift, (b + 1) << BlockShift);
            } else {
                for (const TBlock& part :
                    {levels[level - 1][2 * b], levels[level - 1][2 * b + 1]}) {
                    e.hasNull = e.hasNull || part.hasNull;
                    Take(points, e, part.smallest, part.largest);
                }
            }
            blocks[static_cast<size_t>(b)] = {e.smallest, e.largest, e.hasNull};
        }
    }
    validPoints = complete << BlockShift;
}

TStretchExtremes TPointExtremes::Of(const TPointSeries& points, int first, int end)
{
    TStretchExtremes e;
    int a = (first + BlockPoints - 1) >> BlockShift;
    int b = end >> BlockShift;
    if (a >= b) {
        TakePoints(points, e, first, end);
        return e;
    }
    Update(points);
    TakePoints(points, e, first, a << BlockShift);
    TakePoints(points, e, b << BlockShift, end);
    for (size_t level = 0; a < b; ++level, a >>= 1, b >>= 1) {
        const std::vector<TBlock>& blocks = levels[level];
        for (const int block : {a & 1 ? a++ : -1, b & 1 ? --b : -1}) {
            if (block < 0)
                continue;
            const TBlock& part = blocks[static_cast<size_t>(block)];
            e.hasNull = e.hasNull || part.hasNull;
            Take(points, e, part.smallest, part.largest);
        }
    }
    return e;
}
