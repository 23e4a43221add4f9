#include "logdata/PointSeries.h"

#include <algorithm>

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
    if (xs.empty() || !(x < xs.back())) {
        xs.push_back(x);
        ys.push_back(y);
        nulls.push_back(null);
        return Count() - 1;
    }
    const auto at = std::upper_bound(xs.begin(), xs.end(), x) - xs.begin();
    xs.insert(xs.begin() + at, x);
    ys.insert(ys.begin() + at, y);
    nulls.insert(nulls.begin() + at, null);
    return static_cast<int>(at);
}

int TPointSeries::SetX(int i, double x)
{
    const bool inOrder = (i == 0 || !(x < xs[i - 1])) && (i + 1 == Count() || !(xs[i + 1] < x));
    if (inOrder) {
        xs[i] = x;
        return i;
    }
    const double y = ys[i];
    const bool null = nulls[i];
    xs.erase(xs.begin() + i);
    ys.erase(ys.begin() + i);
    nulls.erase(nulls.begin() + i);
    return Insert(x, y, null);
}

void TPointSeries::Clear()
{
    xs.clear();
    ys.clear();
    nulls.clear();
}

int TPointSeries::LowerBound(double x) const
{
    return static_cast<int>(std::lower_bound(xs.begin(), xs.end(), x) - xs.begin());
}

int TPointSeries::Locate(double x) const
{
    const int i = LowerBound(x);
    return i < Count() && xs[i] == x ? i : -1;
}

void TPointSeries::ShrinkToFit()
{
    xs.shrink_to_fit();
    ys.shrink_to_fit();
    nulls.shrink_to_fit();
}
