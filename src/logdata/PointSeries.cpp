#include "logdata/PointSeries.h"

#include <algorithm>
#include <cstring>
#include <new>

void TPointSeries::Reserve(int wanted)
{
    if (wanted <= capacity)
        return;
    // Plain realloc: the points are trivially copyable, and large blocks are remapped
    // instead of copied.
    void* grown = std::realloc(points.get(), static_cast<size_t>(wanted) * sizeof(TPoint));
    if (!grown)
        throw std::bad_alloc();
    points.release();
    points.reset(static_cast<TPoint*>(grown));
    capacity = wanted;
}

int TPointSeries::AddPoint(double x, double y)
{
    return Insert(x, y, false);
}

int TPointSeries::AddNullPoint(double x, double y)
{
    return Insert(x, y, true);
}

int TPointSeries::Insert(double x, double y, bool null)
{
    if (count == capacity)
        Reserve(std::max(16, capacity + capacity / 2));
    TPoint* p = points.get();
    int at = count;
    if (count > 0 && x < p[count - 1].x) {
        at = static_cast<int>(std::upper_bound(p, p + count, x, [](double v, const TPoint& q) {
            return v < q.x;
        }) - p);
        std::memmove(p + at + 1, p + at, static_cast<size_t>(count - at) * sizeof(TPoint));
        nulls.insert(nulls.begin() + at, null);
    } else {
        nulls.push_back(null);
    }
    p[at] = TPoint{x, y};
    ++count;
    return at;
}

void TPointSeries::Remove(int i)
{
    TPoint* p = points.get();
    std::memmove(p + i, p + i + 1, static_cast<size_t>(count - i - 1) * sizeof(TPoint));
    nulls.erase(nulls.begin() + i);
    --count;
}

int TPointSeries::SetX(int i, double x)
{
    TPoint* p = points.get();
    const bool inOrder = (i == 0 || !(x < p[i - 1].x)) && (i + 1 == count || !(p[i + 1].x < x));
    if (inOrder) {
        p[i].x = x;
        return i;
    }
    const double y = p[i].y;
    const bool null = nulls[i];
    Remove(i);
    return Insert(x, y, null);
}

void TPointSeries::Clear()
{
    count = 0;
    nulls.clear();
}

int TPointSeries::LowerBound(double x) const
{
    const TPoint* p = points.get();
    return static_cast<int>(
        std::lower_bound(p, p + count, x, [](const TPoint& q, double v) { return q.x < v; }) - p);
}

int TPointSeries::Locate(double x) const
{
    const int i = LowerBound(x);
    return i < count && points.get()[i].x == x ? i : -1;
}

void TPointSeries::ShrinkToFit()
{
    if (count == capacity)
        return;
    if (count == 0) {
        points.reset();
    } else if (void* shrunk
        = std::realloc(points.get(), static_cast<size_t>(count) * sizeof(TPoint))) {
        points.release();
        points.reset(static_cast<TPoint*>(shrunk));
    } else {
        return; // keeping the larger block is harmless
    }
    capacity = count;
    nulls.shrink_to_fit();
}
