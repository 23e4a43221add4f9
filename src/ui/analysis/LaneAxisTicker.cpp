#include "ui/analysis/LaneAxisTicker.h"

#include <cmath>
#include <cstdlib>

TLaneAxisTicker::TLaneAxisTicker()
{
    setTickStep(TickStep);
    setScaleStrategy(ssNone);
}

QString TLaneAxisTicker::LaneName(int k) const
{
    return k >= 0 && k < laneNames.size() ? laneNames.at(k) : QString();
}

QString TLaneAxisTicker::LabelAt(double value) const
{
    const double whole = std::round(value);
    if (std::abs(value - whole) > 1e-6 || std::abs(whole) > 1e9)
        return {};
    const long long v = static_cast<long long>(whole);
    // Lanes run downwards from the first one's middle at 50.
    if (v > 50 || (v - 50) % LaneHeight != 0)
        return {};
    return LaneName(static_cast<int>(std::llabs(v - 50) / LaneHeight));
}

QString TLaneAxisTicker::getTickLabel(double tick, const QLocale&, QChar, int)
{
    return LabelAt(tick);
}

int TLaneAxisTicker::getSubTickCount(double)
{
    return 1;
}
