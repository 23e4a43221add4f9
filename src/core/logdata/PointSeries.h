#pragma once
// The points of one field: time (a date-time), value and a null flag, kept in ascending
// time. A null point marks a break: no line crosses it and it takes no part in sums.
// A year of minute records makes millions of points, so they are held in 12 bytes: the
// value, and the time as a 32-bit code that also carries the null flag. A time the code
// cannot hold exactly (an interval added to a stamp, milliseconds) is kept as a double in
// a list of its own, and the code says where.

#include "core/logdata/PointBlocks.h"
#include "core/logdata/PointExtremes.h"
#include "core/logdata/PointTimeCode.h"

#include <cstdint>
#include <vector>

class TPointSeries {
public:
    TPointSeries() = default;
    TPointSeries(const TPointSeries&) = delete;
    TPointSeries& operator=(const TPointSeries&) = delete;

    int Count() const { return count; }
    bool IsEmpty() const { return count == 0; }

    // Index arguments are not checked; callers stay within 0 … Count() − 1.
    double X(int i) const
    {
        const std::uint32_t code = codes[i];
        return code & TPointTimeCode::ElsewhereBit ? elsewhere[code >> TPointTimeCode::FlagBits]
                                                   : times.Decode(code);
    }
    double Y(int i) const { return ys[i]; }
    bool IsNull(int i) const { return (codes[i] & TPointTimeCode::NullBit) != 0; }

    // A point with an earlier time than the last is inserted at its place, after any
    // points of the same time. Returns its index.
    int AddPoint(double x, double y) { return AddPoint(TPointTime(x), y); }
    int AddPoint(const TPointTime& t, double y)
    {
        // Readings mostly come in time order into room already there.
        std::uint32_t code = 0;
        if (count < capacity && CodeFor(t, code)
            && (mergeFrom >= 0 || count == 0 || IsNotBeforeLast(code))) {
            ys[count] = y;
            codes[count] = code;
            return count++;
        }
        return Insert(t, y, false);
    }
    int AddNullPoint(double x, double y = 0.0);

    // When the last two points both hold y, are no breaks and are in time order, and the
    // time is not before the last, the last point moves to it: a run of equal values keeps
    // just its first and latest point. False, and nothing changed, otherwise.
    bool StretchRun(const TPointTime& t, double y)
    {
        const int n = count;
        if (n < 2 || ys[n - 1] != y || ys[n - 2] != y
            || ((codes[n - 1] | codes[n - 2]) & TPointTimeCode::NullBit))
            return false;
        std::uint32_t code = 0;
        if (!((codes[n - 1] | codes[n - 2]) & TPointTimeCode::ElsewhereBit)
            && times.Encode(t, code)) {
            if (!(codes[n - 2] <= codes[n - 1] && codes[n - 1] <= code))
                return false;
            codes[n - 1] = code;
            return true;
        }
        if (!(X(n - 2) <= X(n - 1) && X(n - 1) <= t.x))
            return false;
        StoreX(n - 1, t);
        return true;
    }

    // Between BeginMerge and EndMerge points are appended in the order given, also before
    // the last; each run so added must be in ascending time. EndMerge then puts them into
    // place in one pass over the points they go between (after points of the same time),
    // so that a day read a second time costs its own length, not the series' for each
    // point.
    void BeginMerge();
    void EndMerge();

    // Moving a point past its neighbours moves it to its place in the order.
    // Returns the point's new index.
    int SetX(int i, double x)
    {
        if ((i == 0 || !(x < X(i - 1))) && (i + 1 == count || !(X(i + 1) < x))) {
            StoreX(i, TPointTime(x));
            return i;
        }
        return MoveToX(i, x);
    }
    void SetY(int i, double y)
    {
        ys[i] = y;
        extremes.Invalidate(i);
    }
    void SetNull(int i, bool null)
    {
        codes[i] = null ? codes[i] | TPointTimeCode::NullBit : codes[i] & ~TPointTimeCode::NullBit;
        extremes.Invalidate(i);
    }
    void Clear();
    // Removes the points at times from … to, to excluded; the points after them move up.
    void RemoveBetween(double from, double to);

    // Index of the first point at exactly time x, −1 when there is none.
    int Locate(double x) const;
    // Index of the first point at or after time x (Count() when none).
    int LowerBound(double x) const;
    // Index of the first point after time x (Count() when none).
    int UpperBound(double x) const { return UpperBound(x, count); }

    // The smallest and largest value among points first … end − 1, from a cache kept
    // with the points.
    TStretchExtremes Extremes(int first, int end) const { return extremes.Of(*this, first, end); }

private:
    // A point as it is held.
    struct TEntry {
        double y;
        std::uint32_t code;
    };

    // The time code of x for a new point; the first point of a series sets the codes' day.
    bool CodeFor(const TPointTime& t, std::uint32_t& code)
    {
        if (count == 0)
            StartAt(t.x);
        return times.Encode(t, code);
    }
    // An empty series' codes count from the day of its first point.
    void StartAt(double x)
    {
        times.SetBaseDay(x);
        elsewhere.clear();
    }
    // For a code of seconds: whether its time is not before the last point's.
    bool IsNotBeforeLast(std::uint32_t code) const
    {
        const std::uint32_t last = codes[count - 1];
        return !(last & TPointTimeCode::ElsewhereBit)
            && !(code < (last & ~TPointTimeCode::NullBit));
    }
    // The code of t with point i's null flag. A time kept elsewhere reuses point i's place
    // there, when it has one.
    std::uint32_t CodeAt(int i, const TPointTime& t);
    void StoreX(int i, const TPointTime& t) { codes[i] = CodeAt(i, t); }
    TEntry Entry(int i) const { return {ys[i], codes[i]}; }
    void Place(int i, const TEntry& entry)
    {
        ys[i] = entry.y;
        codes[i] = entry.code;
        extremes.Invalidate(i);
    }
    // Moves `n` points from index `from` to index `to`, as memmove does.
    void MovePoints(int to, int from, int n);
    int UpperBound(double x, int end) const;
    int Insert(const TPointTime& t, double y, bool null);
    int MoveToX(int i, double x);
    void Reserve(int wanted);
    void Remove(int i);
    void InsertEachInPlace(int from);

    TPointBlock<double> ys;
    TPointBlock<std::uint32_t> codes;
    std::vector<double> elsewhere; // the times codes cannot hold, in no order
    int count = 0;
    int capacity = 0; // room in every block in use
    int mergeFrom = -1; // the first point appended since BeginMerge, −1 outside a merge
    TPointTimeCode times;
    mutable TPointExtremes extremes;
};
