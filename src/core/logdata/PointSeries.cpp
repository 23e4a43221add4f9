#include "core/logdata/PointSeries.h"

#include "core/logdata/PointBlocks.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

namespace {

template <typename T> void Move(TPointBlock<T>& block, int to, int from, int n)
{
    std::memmove(block.Data() + to, block.Data() + from, static_cast<size_t>(n) * sizeof(T));
}

} // namespace

void TPointSeries::Reserve(int wanted)
{
    if (wanted <= capacity)
        return;
    const int grown = static_cast<int>(
        std::min<size_t>(BlockCapacity(static_cast<size_t>(wanted), sizeof(double)),
            std::numeric_limits<int>::max()));
    // A block that grew before another failed keeps its room for the next attempt.
    ys.Grow(grown, count);
    codes.Grow(grown, count);
    if (wide)
        xs.Grow(grown, count);
    capacity = grown;
}

void TPointSeries::MakeWide()
{
    if (wide)
        return;
    xs.Grow(capacity, 0);
    for (int i = 0; i < count; ++i) {
        xs[i] = times.Decode(codes[i]);
        codes[i] &= TPointTimeCode::NullBit;
    }
    wide = true;
}

void TPointSeries::StoreX(int i, const TPointTime& t)
{
    std::uint32_t code = 0;
    if (!wide && times.Encode(t, code)) {
        codes[i] = code | (codes[i] & TPointTimeCode::NullBit);
        return;
    }
    MakeWide();
    xs[i] = t.x;
}

void TPointSeries::Place(int i, const TEntry& entry)
{
    ys[i] = entry.y;
    codes[i] = entry.null ? TPointTimeCode::NullBit : 0;
    StoreX(i, TPointTime(entry.x));
}

void TPointSeries::MovePoints(int to, int from, int n)
{
    Move(ys, to, from, n);
    Move(codes, to, from, n);
    if (wide)
        Move(xs, to, from, n);
}

int TPointSeries::UpperBound(double x, int end) const
{
    int first = 0;
    int length = end;
    while (length > 0) {
        const int half = length / 2;
        if (x < X(first + half)) {
            length = half;
        } else {
            first += half + 1;
            length -= half + 1;
        }
    }
    return first;
}

int TPointSeries::AddNullPoint(double x, double y)
{
    return Insert(TPointTime(x), y, true);
}

int TPointSeries::Insert(const TPointTime& t, double y, bool null)
{
    const double x = t.x;
    if (count == capacity) {
        if (capacity > std::numeric_limits<int>::max() / 2)
            throw std::bad_alloc();
        Reserve(std::max(16, capacity * 2));
    }
    if (count == 0 && !wide)
        times.SetBaseDay(x);
    // Widened before anything moves, so that running out of memory there changes nothing.
    if (std::uint32_t code = 0; !wide && !times.Encode(t, code))
        MakeWide();
    int at = count;
    if (mergeFrom < 0 && count > 0 && x < X(count - 1)) {
        at = UpperBound(x, count);
        MovePoints(at + 1, at, count - at);
    }
    ++count;
    ys[at] = y;
    codes[at] = null ? TPointTimeCode::NullBit : 0;
    StoreX(at, t);
    return at;
}

void TPointSeries::BeginMerge()
{
    if (mergeFrom < 0)
        mergeFrom = count;
}

void TPointSeries::EndMerge()
{
    const int from = mergeFrom;
    mergeFrom = -1;
    if (from < 0 || from == 0 || from == count || !(X(from) < X(from - 1)))
        return;
    // Only the points later than the first appended one take part.
    const int start = UpperBound(X(from), from);
    std::vector<TEntry> merged;
    try {
        merged.reserve(static_cast<size_t>(count - start));
    } catch (const std::bad_alloc&) {
        InsertEachInPlace(from); // slow, but needs no memory
        return;
    }
    int a = start;
    int b = from;
    while (a < from || b < count) {
        // Equal times: the points that were there first stay first.
        const bool takeOld = b == count || (a < from && !(X(b) < X(a)));
        merged.push_back(Entry(takeOld ? a++ : b++));
    }
    for (int i = start; i < count; ++i)
        Place(i, merged[static_cast<size_t>(i - start)]);
}

void TPointSeries::InsertEachInPlace(int from)
{
    for (int i = from; i < count; ++i) {
        const TEntry moved = Entry(i);
        const int at = UpperBound(moved.x, i);
        MovePoints(at + 1, at, i - at);
        Place(at, moved);
    }
}

void TPointSeries::Remove(int i)
{
    MovePoints(i, i + 1, count - i - 1);
    --count;
}

int TPointSeries::MoveToX(int i, double x)
{
    const double y = ys[i];
    const bool null = IsNull(i);
    Remove(i);
    return Insert(TPointTime(x), y, null);
}

void TPointSeries::Clear()
{
    count = 0;
    xs.Release();
    wide = false;
}

int TPointSeries::LowerBound(double x) const
{
    int first = 0;
    int length = count;
    while (length > 0) {
        const int half = length / 2;
        if (X(first + half) < x) {
            first += half + 1;
            length -= half + 1;
        } else {
            length = half;
        }
    }
    return first;
}

int TPointSeries::Locate(double x) const
{
    const int i = LowerBound(x);
    return i < count && X(i) == x ? i : -1;
}
