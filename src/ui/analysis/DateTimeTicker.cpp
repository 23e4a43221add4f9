#include "ui/analysis/DateTimeTicker.h"

#include "core/base/DateTime.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double Minute = 1.0 / 1440.0;
constexpr double Week = 7.0;

// Steps that fall on round clock times and whole days.
constexpr std::array<double, 15> ReadableSteps
    = {Minute, 2 * Minute, 5 * Minute, 10 * Minute, 15 * Minute, 30 * Minute, 1.0 / 24, 2.0 / 24,
        3.0 / 24, 6.0 / 24, 12.0 / 24, 1.0, 2.0, Week, 2 * Week};

// Room between two labels, in pixels.
constexpr int LabelGap = 12;
// Used when the ticker knows no axis.
constexpr int DefaultLabelCount = 8;

// A date-time that gives the widest labels for most patterns (two-digit day, hour and
// minute, a long month name).
constexpr double WidestSample = 36873.99930555556; // 30 Dec 2000 23:59

} // namespace

TDateTimeTicker::TDateTimeTicker(QCPAxis* axis)
    : axis(axis)
{
}

int TDateTimeTicker::LabelsThatFit() const
{
    if (!axis || !axis->axisRect())
        return DefaultLabelCount;
    const QFontMetrics metrics(axis->tickLabelFont());
    const int labelWidth = metrics.horizontalAdvance(
                               QString::fromStdString(FormatDateTime(labelFormat, WidestSample)))
        + LabelGap;
    return std::max(1, axis->axisRect()->width() / std::max(labelWidth, 1));
}

double TDateTimeTicker::getTickStep(const QCPRange& range)
{
    const double span = range.size();
    const int fit = LabelsThatFit();
    if (increment > 0) {
        const double labels = span / increment;
        return labels <= fit ? increment : increment * std::ceil(labels / fit);
    }
    // Labels without a time of day would repeat within a day.
    const bool showsTime = labelFormat.find_first_of("hH") != std::string::npos;
    for (const double step : ReadableSteps)
        if ((showsTime || step >= 1.0) && span / step <= fit)
            return step;
    return Week * std::ceil(span / Week / fit);
}

int TDateTimeTicker::getSubTickCount(double tickStep)
{
    // Quarters of an hour, a day or a week where the step allows, else none.
    const double stepsInDays[] = {1.0 / 24, 1.0, Week};
    for (const double whole : stepsInDays)
        if (std::abs(tickStep - whole) < 1e-9)
            return 3;
    return tickStep >= 2 * Week ? 1 : 0;
}

QString TDateTimeTicker::getTickLabel(double tick, const QLocale&, QChar, int)
{
    return QString::fromStdString(FormatDateTime(labelFormat, tick));
}

QVector<double> TDateTimeTicker::createTickVector(double tickStep, const QCPRange& range)
{
    // Exact whole weeks start on Mondays (day 2 was Monday, 1 January 1900); every other
    // step counts from midnight.
    const double origin = exactDateTime && std::fmod(tickStep, Week) == 0 ? 2.0 : 0.0;
    // One tick beyond each end, so the minor ticks reach the edges; the axis trims them.
    QVector<double> ticks;
    const double first = std::floor((range.lower - origin) / tickStep);
    const double last = std::ceil((range.upper - origin) / tickStep);
    for (double k = first; k <= last; ++k)
        ticks.append(origin + k * tickStep);
    return ticks;
}
