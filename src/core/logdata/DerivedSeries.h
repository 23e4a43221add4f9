#pragma once
// The points of a derived value: its formula evaluated at every moment one of its inputs
// has a point, from the readings the inputs hold then, so at every record where one of
// them changed. Where an input has no reading (before its first point, inside a break)
// or the result is not finite, the result has none; runs of equal results keep their
// first and last point, as the reader keeps runs of equal readings.

#include "core/logdata/Formula.h"
#include "core/logdata/PointSeries.h"

#include <vector>

// The inputs in the order of the formula's Inputs(); the target is cleared first.
void FillDerivedSeries(
    TFormula& formula, const std::vector<const TPointSeries*>& inputs, TPointSeries& target);
