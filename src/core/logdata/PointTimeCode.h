#pragma once
// Point times in 32 bits. Log records are stamped in whole seconds, and a stamp's time is
// its day plus the seconds of the day over 86,400, so such a time is held as the seconds
// since the series' first day. A time is only held so when it reads back as the very same
// double; any other time is kept whole elsewhere. The lowest bit is left for the point's
// null flag, the next one says that the time is kept elsewhere.

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

namespace PointTimes {

constexpr std::uint32_t SecondsPerDay = 86400;

// The same quotient as the division; most records fall on whole minutes, whose quotients
// are worked out when the program is built, sparing a division per point.
inline double DayFraction(std::uint32_t second)
{
    static constexpr std::array<double, 1440> minutes = [] {
        std::array<double, 1440> fractions{};
        for (std::uint32_t m = 0; m < 1440; ++m)
            fractions[m] = static_cast<double>(m * 60) / static_cast<double>(SecondsPerDay);
        return fractions;
    }();
    return second % 60 == 0 ? minutes[second / 60]
                            : static_cast<double>(second) / static_cast<double>(SecondsPerDay);
}

} // namespace PointTimes

// A point's time and, when it is a whole second read back exactly, that second counted
// from day 0. Worked out once for a record and used for each of its values.
struct TPointTime {
    explicit TPointTime(double x)
        : x(x)
    {
        // Far beyond the dates the program reads, and not a number, stay as they are.
        if (!(std::fabs(x) < 1e8))
            return;
        const double day = std::floor(x);
        const auto ofDay = static_cast<std::uint32_t>((x - day) * PointTimes::SecondsPerDay + 0.5);
        if (ofDay >= PointTimes::SecondsPerDay
            || std::bit_cast<std::uint64_t>(day + PointTimes::DayFraction(ofDay))
                != std::bit_cast<std::uint64_t>(x))
            return;
        second = static_cast<std::int64_t>(day) * PointTimes::SecondsPerDay + ofDay;
        whole = true;
    }

    // The time of a stamp read as its day and a whole second of it: x is that day plus
    // DayFraction(secondOfDay), which reads back exactly, so nothing needs checking.
    TPointTime(double x, std::int64_t day, std::uint32_t secondOfDay)
        : x(x)
        , second(day * PointTimes::SecondsPerDay + secondOfDay)
        , whole(true)
    {
    }

    double x;
    std::int64_t second = 0;
    bool whole = false;
};

class TPointTimeCode {
public:
    static constexpr std::uint32_t NullBit = 1;
    static constexpr std::uint32_t ElsewhereBit = 2;
    static constexpr int FlagBits = 2;

    // Codes count from the day of x on; set before the first time is coded.
    void SetBaseDay(double x)
    {
        baseDay = std::fabs(x) < 1e8 ? std::floor(x) : 0.0;
        baseSecond = static_cast<std::int64_t>(baseDay) * PointTimes::SecondsPerDay;
    }

    double Decode(std::uint32_t code) const
    {
        const std::uint32_t seconds = code >> FlagBits;
        const std::uint32_t days = seconds / PointTimes::SecondsPerDay;
        return (baseDay + days)
            + PointTimes::DayFraction(seconds - days * PointTimes::SecondsPerDay);
    }

    // The code of the time with both flags clear; false when it has none.
    bool Encode(const TPointTime& t, std::uint32_t& code) const
    {
        const std::int64_t seconds = t.second - baseSecond;
        if (!t.whole || seconds < 0 || seconds > MaxSeconds)
            return false;
        code = static_cast<std::uint32_t>(seconds) << FlagBits;
        return true;
    }

private:
    static constexpr std::int64_t MaxSeconds = 0x3fffffff; // 34 years, and the flags

    double baseDay = 0;
    std::int64_t baseSecond = 0;
};
