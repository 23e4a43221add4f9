#pragma once
// Sums over a field's points: the integral of a rate over one day, and month sums of a
// series of day values.

#include "core/logdata/FieldSeries.h"

// The integral of a rate over [dayStart, dayStart + 1) in the rate's own time unit, with
// unitsPerDay = 24 for rates per hour (kW gives kWh) and 1440 for rates per minute
// (l/min gives litres). A trapezoid sum in which the first point of every stretch
// between null points counts one minute's worth of its rate. Uses and moves the
// series' search cursor, so consecutive days in ascending order walk the points once.
double DayIntegral(TFieldSeries& series, int unitsPerDay, double dayStart);
// The same sum over [from, to): the day sums' rule within each day, with the segments
// between two readings cut at from and to. From midnight to midnight it is the sum of
// those days' integrals.
double IntegralBetween(const TFieldSeries& series, int unitsPerDay, double from, double to);

// Fills the target with one point per calendar month in the middle of the month: the sum
// of the source's non-null values in that month. The target is cleared first, accepts
// null points afterwards and takes the source's colour.
void FillMonthlySums(const TFieldSeries& source, TFieldSeries& target);
