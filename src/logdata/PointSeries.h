#pragma once
// The points of one field: time (a date-time), value and a null flag, kept in ascending
// time. A null point marks a break: no line crosses it and it takes no part in sums.
// Stored as parallel arrays so a year of minute data stays small and scans stay fast.

#include <vector>

class TPointSeries {
public:
    int Count() const { return static_cast<int>(xs.size()); }
    bool IsEmpty() const { return xs.empty(); }

    // Index arguments are not checked; callers stay within 0 … Count() − 1.
    double X(int i) const { return xs[i]; }
    double Y(int i) const { return ys[i]; }
    bool IsNull(int i) const { return nulls[i]; }

    // A point with an earlier time than the last is inserted at its place, after any
    // points of the same time. Returns its index.
    int AddPoint(double x, double y);
    int AddNullPoint(double x, double y = 0.0);

    // Moving a point past its neighbours moves it to its place in the order.
    // Returns the point's new index.
    int SetX(int i, double x);
    void SetY(int i, double y) { ys[i] = y; }
    void SetNull(int i, bool null) { nulls[i] = null; }
    void Clear();

    // Index of the first point at exactly time x, −1 when there is none.
    int Locate(double x) const;
    // Index of the first point at or after time x (Count() when none).
    int LowerBound(double x) const;

    // Returns memory that growing left unused.
    void ShrinkToFit();

private:
    int Insert(double x, double y, bool null);

    std::vector<double> xs;
    std::vector<double> ys;
    std::vector<bool> nulls;
};
