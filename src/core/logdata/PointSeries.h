#pragma once
// The points of one field: time (a date-time), value and a null flag, kept in ascending
// time. A null point marks a break: no line crosses it and it takes no part in sums.
// A year of minute records makes millions of points, so they are held in 12 bytes: the
// value, and the time as a 32-bit code that also carries the null flag. A series with a
// time the code cannot hold exactly keeps every time as a full double from then on.

#include "core/logdata/PointBlocks.h"
#include "core/logdata/PointTimeCode.h"

#include <cstdint>

class TPointSeries {
public:
    TPointSeries() = default;
    TPointSeries(const TPointSeries&) = delete;
    TPointSeries& operator=(const TPointSeries&) = delete;

    int Count() const { return count; }
    bool IsEmpty() const { return count == 0; }

    // Index arguments are not checked; callers stay within 0 … Count() − 1.
    double X(int i) const { return wide ? xs[i] : times.Decode(codes[i]); }
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
            && (mergeFrom >= 0 || count == 0 || !(code < LastTimeCode()))) {
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
        if (!wide && times.Encode(t, code)) {
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
    void SetY(int i, double y) { ys[i] = y; }
    void SetNull(int i, bool null)
    {
        codes[i] = null ? codes[i] | TPointTimeCode::NullBit : codes[i] & ~TPointTimeCode::NullBit;
    }
    void Clear();

    // Index of the first point at exactly time x, −1 when there is none.
    int Locate(double x) const;
    // Index of the first point at or after time x (Count() when none).
    int LowerBound(double x) const;

private:
    struct TEntry {
        double x;
        double y;
        bool null;
    };

    // The time code of x for a new point; the first point of a series sets the codes' day.
    bool CodeFor(const TPointTime& t, std::uint32_t& code)
    {
        if (wide)
            return false;
        if (count == 0)
            times.SetBaseDay(t.x);
        return times.Encode(t, code);
    }
    std::uint32_t LastTimeCode() const { return codes[count - 1] & ~TPointTimeCode::NullBit; }
    void StoreX(int i, const TPointTime& t);
    // From now on every time is a full double.
    void MakeWide();
    TEntry Entry(int i) const { return {X(i), ys[i], IsNull(i)}; }
    void Place(int i, const TEntry& entry);
    // Moves `n` points from index `from` to index `to`, as memmove does.
    void MovePoints(int to, int from, int n);
    int UpperBound(double x, int end) const;
    int Insert(const TPointTime& t, double y, bool null);
    int MoveToX(int i, double x);
    void Reserve(int wanted);
    void Remove(int i);
    void InsertEachInPlace(int from);

    TPointBlock<double> ys;
    TPointBlock<std::uint32_t> codes; // the time code, or only the null flag once wide
    TPointBlock<double> xs; // the times once wide
    int count = 0;
    int capacity = 0; // room in every block in use
    int mergeFrom = -1; // the first point appended since BeginMerge, −1 outside a merge
    bool wide = false;
    TPointTimeCode times;
};
