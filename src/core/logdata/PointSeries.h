#pragma once
// The points of one field: time (a date-time), value and a null flag, kept in ascending
// time. A null point marks a break: no line crosses it and it takes no part in sums.
// Times and values are kept in one block; long series get mappings of their own, which
// grow without copying. Null flags are kept as bits.

#include <vector>

class TPointSeries {
public:
    TPointSeries() = default;
    ~TPointSeries();
    TPointSeries(const TPointSeries&) = delete;
    TPointSeries& operator=(const TPointSeries&) = delete;

    int Count() const { return count; }
    bool IsEmpty() const { return count == 0; }

    // Index arguments are not checked; callers stay within 0 … Count() − 1.
    double X(int i) const { return points[i].x; }
    double Y(int i) const { return points[i].y; }
    bool IsNull(int i) const { return nulls[i]; }

    // A point with an earlier time than the last is inserted at its place, after any
    // points of the same time. Returns its index.
    int AddPoint(double x, double y)
    {
        // Readings mostly come in time order into room already there.
        if (count < capacity && (mergeFrom >= 0 || count == 0 || !(x < points[count - 1].x))) {
            points[count] = TPoint{x, y};
            nulls.push_back(false);
            return count++;
        }
        return Insert(x, y, false);
    }
    int AddNullPoint(double x, double y = 0.0);

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
        if ((i == 0 || !(x < points[i - 1].x)) && (i + 1 == count || !(points[i + 1].x < x))) {
            points[i].x = x;
            return i;
        }
        return MoveToX(i, x);
    }
    void SetY(int i, double y) { points[i].y = y; }
    void SetNull(int i, bool null) { nulls[i] = null; }
    void Clear();

    // Index of the first point at exactly time x, −1 when there is none.
    int Locate(double x) const;
    // Index of the first point at or after time x (Count() when none).
    int LowerBound(double x) const;

private:
    struct TPoint {
        double x;
        double y;
    };
    int Insert(double x, double y, bool null);
    int MoveToX(int i, double x);
    void Reserve(int wanted);
    void Remove(int i);
    void InsertEachInPlace(int from);

    TPoint* points = nullptr;
    int count = 0;
    int capacity = 0;
    int mergeFrom = -1; // the first point appended since BeginMerge, −1 outside a merge
    std::vector<bool> nulls;
};
