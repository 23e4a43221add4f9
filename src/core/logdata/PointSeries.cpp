#include "core/logdata/PointSeries.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <sys/mman.h>

namespace {

constexpr size_t HugePage = size_t(2) << 20;
// Blocks of at least this many bytes are mappings of their own.
constexpr size_t MappedFrom = size_t(1) << 20;

bool IsMapped(size_t bytes)
{
    return bytes >= MappedFrom;
}

size_t RoundUpToHugePage(size_t bytes)
{
    return (bytes + HugePage - 1) / HugePage * HugePage;
}

// A mapping of whole huge pages at a huge-page boundary, so that a system that backs all
// memory with huge pages can do so here too. It is not asked to: a huge page is cleared
// whole when first touched, which leaves up to 2 MiB of every series unused, and where
// memory is handed out by a virtual machine's host those clears cost the most (ten years
// of five devices loaded in 5.0 s with small pages against 5.5 to 7.0 s with huge ones,
// and a year's peak memory fell from 103 MB to 84 MB).
void* MapBlock(size_t bytes)
{
    const size_t length = bytes + HugePage;
    void* raw = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        throw std::bad_alloc();
    const auto begin = reinterpret_cast<std::uintptr_t>(raw);
    const auto start = (begin + HugePage - 1) & ~(HugePage - 1);
    const auto end = start + bytes;
    if (start > begin)
        ::munmap(raw, start - begin);
    if (begin + length > end)
        ::munmap(reinterpret_cast<void*>(end), begin + length - end);
    return reinterpret_cast<void*>(start);
}

void FreeBlock(void* block, size_t bytes)
{
    if (!block)
        return;
    if (IsMapped(bytes))
        ::munmap(block, bytes);
    else
        std::free(block);
}

} // namespace

TPointSeries::~TPointSeries()
{
    FreeBlock(points, static_cast<size_t>(capacity) * sizeof(TPoint));
}

void TPointSeries::Reserve(int wanted)
{
    if (wanted <= capacity)
        return;
    const size_t oldBytes = static_cast<size_t>(capacity) * sizeof(TPoint);
    size_t newBytes = static_cast<size_t>(wanted) * sizeof(TPoint);
    void* block = nullptr;
    if (!IsMapped(newBytes)) {
        block = std::realloc(points, newBytes);
        if (!block)
            throw std::bad_alloc();
    } else if (IsMapped(oldBytes)) {
        newBytes = RoundUpToHugePage(newBytes);
        block = ::mremap(points, oldBytes, newBytes, MREMAP_MAYMOVE);
        if (block == MAP_FAILED)
            throw std::bad_alloc();
    } else {
        newBytes = RoundUpToHugePage(newBytes);
        block = MapBlock(newBytes);
        if (count > 0)
            std::memcpy(block, points, static_cast<size_t>(count) * sizeof(TPoint));
        FreeBlock(points, oldBytes);
    }
    points = static_cast<TPoint*>(block);
    capacity = static_cast<int>(newBytes / sizeof(TPoint));
}

int TPointSeries::AddNullPoint(double x, double y)
{
    return Insert(x, y, true);
}

int TPointSeries::Insert(double x, double y, bool null)
{
    if (count == capacity) {
        if (capacity > std::numeric_limits<int>::max() / 2)
            throw std::bad_alloc();
        Reserve(std::max(16, capacity * 2));
    }
    int at = count;
    if (mergeFrom < 0 && count > 0 && x < points[count - 1].x) {
        at = static_cast<int>(std::upper_bound(points, points + count, x,
                                  [](double v, const TPoint& q) { return v < q.x; })
            - points);
        std::memmove(
            points + at + 1, points + at, static_cast<size_t>(count - at) * sizeof(TPoint));
        nulls.insert(nulls.begin() + at, null);
    } else {
        nulls.push_back(null);
    }
    points[at] = TPoint{x, y};
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
    if (from < 0 || from == 0 || from == count || !(points[from].x < points[from - 1].x))
        return;
    // Only the points later than the first appended one take part.
    const int start = static_cast<int>(std::upper_bound(points, points + from, points[from].x,
                                           [](double v, const TPoint& q) { return v < q.x; })
        - points);
    struct TEntry {
        TPoint point;
        bool null;
    };
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
        const bool takeOld = b == count || (a < from && !(points[b].x < points[a].x));
        const int i = takeOld ? a++ : b++;
        merged.push_back({points[i], nulls[i]});
    }
    for (int i = start; i < count; ++i) {
        points[i] = merged[static_cast<size_t>(i - start)].point;
        nulls[i] = merged[static_cast<size_t>(i - start)].null;
    }
}

void TPointSeries::InsertEachInPlace(int from)
{
    for (int i = from; i < count; ++i) {
        const TPoint moved = points[i];
        const bool null = nulls[i];
        const int at = static_cast<int>(std::upper_bound(points, points + i, moved.x,
                                            [](double v, const TPoint& q) { return v < q.x; })
            - points);
        std::memmove(points + at + 1, points + at, static_cast<size_t>(i - at) * sizeof(TPoint));
        points[at] = moved;
        nulls.erase(nulls.begin() + i);
        nulls.insert(nulls.begin() + at, null);
    }
}

void TPointSeries::Remove(int i)
{
    std::memmove(points + i, points + i + 1, static_cast<size_t>(count - i - 1) * sizeof(TPoint));
    nulls.erase(nulls.begin() + i);
    --count;
}

int TPointSeries::MoveToX(int i, double x)
{
    const double y = points[i].y;
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
    return static_cast<int>(std::lower_bound(points, points + count, x,
                                [](const TPoint& q, double v) { return q.x < v; })
        - points);
}

int TPointSeries::Locate(double x) const
{
    const int i = LowerBound(x);
    return i < count && points[i].x == x ? i : -1;
}
