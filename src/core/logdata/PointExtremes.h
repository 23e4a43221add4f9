#pragma once
// The smallest and largest values of stretches of a point series, answered from levels of
// blocks (16 points, then 32, 64 …) so that a stretch of any length costs a few blocks: a
// chart of a year draws, and fits its axes to, the extremes of hundreds of points per
// pixel column and must not walk every point at each repaint. The levels are built when
// first asked and kept next to the points; a change of points invalidates them from its
// index on, points appended at the end only extend them.
// Like the points, not for use from several threads at once.

#include <vector>

class TPointSeries;

// Indices of the smallest and largest non-null value of a stretch (−1 when it has none),
// and whether a null point lies in it.
struct TStretchExtremes {
    int smallest = -1;
    int largest = -1;
    bool hasNull = false;
};

class TPointExtremes {
public:
    // Points from index `from` on may have changed.
    void Invalidate(int from)
    {
        if (from < validPoints)
            validPoints = from;
    }
    // The extremes of points first … end − 1 of `points`, the series this belongs to.
    TStretchExtremes Of(const TPointSeries& points, int first, int end);

private:
    struct TBlock {
        int smallest;
        int largest;
        bool hasNull;
    };

    void Update(const TPointSeries& points);

    std::vector<std::vector<TBlock>> levels; // complete blocks only
    int validPoints = 0; // the points the blocks hold are unchanged up to here
};
