#include "core/logdata/PointSeries.h"

#include "core/logdata/PointBlocks.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

void TPointSeries::Reserve(int wanted)
{
    if (wanted <= capacity)
        return;
    const int grown = static_cast<int>(
        std::min<size_t>(BlockCapacity(static_cast<size_t>(wanted), sizeof(double)),
            std::numeric_limits<int>::max()));
    // A block that grew before the other failed keeps its room for the next attempt.
    ys.Grow(grown, count);
    codes.Grow(grown, count);
    capacity = grown;
}

std::uint32_t TPointSeries::CodeAt(int i, const TPointTime& t)
{
    const std::uint32_t null = codes[i] & TPointTimeCode::NullBit;
    std::uint32_t code = 0;
    if (times.Encode(t, code))
        return code | null;
    const std::uint32_t old = codes[i];
    size_t place = 0;
    if (old & TPointTimeCode::ElsewhereBit) {
        place = old >> TPointTimeCode::FlagBits;
        elsewhere[place] = t.x;
    } else {
        if (elsewhere.size()
            > (std::numeric_limits<std::uint32_t>::max() >> TPointTimeCode::FlagBits))
            throw std::bad_alloc();
        place = elsewhere.size();
        elsewhere.push_back(t.x);
    }
    return static_cast<std::uint32_t>(place << TPointTimeCode::FlagBits)
        | TPointTimeCode::ElsewhereBit | null;
}

void TPointSeries::MovePoints(int to, int from, int n)
{
    extremes.Invalidate(std::min(to, from));
    std::memmove(ys.Data() + to, ys.Data() + from, static_cast<size_t>(n) * sizeof(double));
    std::memmove(
        codes.Data() + to, codes.Data() + from, static_cast<size_t>(n) * sizeof(std::uint32_t));
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
    if (count == capacity) {
        if (capacity > std::numeric_limits<int>::max() / 2)
            throw std::bad_alloc();
        Reserve(std::max(16, capacity * 2));
    }
    if (count == 0)
        StartAt(t.x);
    // The code is made before anything moves, so that running out of memory for a time
    // kept elsewhere changes nothing. Slot `count` is free and holds no place elsewhere.
    codes[count] = null ? TPointTimeCode::NullBit : 0;
    const TEntry entry{y, CodeAt(count, t)};
    int at = count;
    if (mergeFrom < 0 && count > 0 && t.x < X(count - 1)) {
        at = UpperBound(t.x, count);
        MovePoints(at + 1, at, count - at);
    }
    Place(at, entry);
    ++count;
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
        const int at = UpperBound(X(i), i);
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
    extremes.Invalidate(0);
    elsewhere.clear();
}

void TPointSeries::RemoveBetween(double from, double to)
{
    const int first = LowerBound(from);
    const int end = std::max(first, LowerBound(to));
    // Times kept elsewhere stay in their list: nothing refers to them any more, and a day
    // read again reuses no more than it leaves.
    MovePoints(first, end, count - end);
    count -= end - first;
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
