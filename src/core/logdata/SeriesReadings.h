#pragma once
// Reading a field's series at a moment: what was logged then, and the total of a day or
// month bar.

#include "core/logdata/PointSeries.h"

#include <optional>

// The last reading at or before t: a logged value holds until the next reading. None
// before the first reading and inside a break: after a null point, and from the last
// reading before a break up to the break's null point.
std::optional<double> ReadingAt(const TPointSeries& points, double t);

// The first non-null value in [from, to): the total a bar of that day or month shows.
std::optional<double> TotalIn(const TPointSeries& points, double from, double to);
