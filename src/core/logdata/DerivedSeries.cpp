#include "core/logdata/DerivedSeries.h"

#include <cmath>
#include <limits>

namespace {

// What a moment brings: a break before its readings (a gap's null point stands at the
// first record after the gap) or after them (a file ends with one at its last record).
struct TMoment {
    bool breakBefore = false;
    bool breakAfter = false;
};

// The moments to evaluate, in batches: what each input holds there.
struct TBatch {
    std::vector<double> times;
    std::vector<std::vector<double>> values;
    std::vector<char> valid;
    std::vector<TMoment> moments;
    void Clear()
    {
        times.clear();
        for (auto& column : values)
            column.clear();
        valid.clear();
        moments.clear();
    }
};

constexpr size_t BatchRows = 4096;

class TInputWalk {
public:
    explicit TInputWalk(const std::vector<const TPointSeries*>& inputs)
        : inputs(inputs)
        , next(inputs.size(), 0)
        , held(inputs.size(), std::numeric_limits<double>::quiet_NaN())
        , holding(inputs.size(), false)
        , readAt(inputs.size(), false)
    {
    }

    // The next moment any input has a point; false when all are used up.
    bool NextMoment(double& t) const
    {
        bool any = false;
        for (size_t k = 0; k < inputs.size(); ++k)
            if (next[k] < inputs[k]->Count() && (!any || inputs[k]->X(next[k]) < t)) {
                t = inputs[k]->X(next[k]);
                any = true;
            }
        return any;
    }

    // Takes every point at t.
    TMoment Take(double t)
    {
        TMoment moment;
        for (size_t k = 0; k < inputs.size(); ++k) {
            const TPointSeries& points = *inputs[k];
            bool nullSeen = false;
            readAt[k] = false;
            for (; next[k] < points.Count() && points.X(next[k]) == t; ++next[k]) {
                if (points.IsNull(next[k])) {
                    nullSeen = true;
                    holding[k] = false;
                    continue;
                }
                moment.breakBefore |= nullSeen && !readAt[k];
                nullSeen = false;
                held[k] = points.Y(next[k]);
                holding[k] = readAt[k] = true;
            }
            if (nullSeen)
                (readAt[k] ? moment.breakAfter : moment.breakBefore) = true;
        }
        return moment;
    }

    // Every input has a reading at t: one taken there, or one held from before that is
    // not on its way into a break.
    bool AllRead(double t) const
    {
        for (size_t k = 0; k < inputs.size(); ++k) {
            if (readAt[k])
                continue;
            const TPointSeries& points = *inputs[k];
            const int n = next[k];
            if (!holding[k] || (n < points.Count() && points.IsNull(n) && points.X(n) > t))
                return false;
        }
        return true;
    }

    double Held(size_t k) const { return held[k]; }

private:
    const std::vector<const TPointSeries*>& inputs;
    std::vector<int> next;
    std::vector<double> held;
    std::vector<bool> holding;
    std::vector<bool> readAt;
};

void Flush(TFormula& formula, TBatch& batch, std::vector<double>& results, TPointSeries& target,
    bool& continues)
{
    results.resize(batch.times.size());
    formula.Evaluate(batch.values, results);
    for (size_t row = 0; row < batch.times.size(); ++row) {
        const double t = batch.times[row];
        const TMoment& moment = batch.moments[row];
        const bool value = batch.valid[row] && std::isfinite(results[row]);
        if ((moment.breakBefore || !value) && continues) {
            target.AddNullPoint(t);
            continues = false;
        }
        if (value) {
            const TPointTime time(t);
            if (!continues || !target.StretchRun(time, results[row]))
                target.AddPoint(time, results[row]);
            continues = true;
        }
        if (moment.breakAfter && continues) {
            target.AddNullPoint(t);
            continues = false;
        }
    }
    batch.Clear();
}

} // namespace

void FillDerivedSeries(
    TFormula& formula, const std::vector<const TPointSeries*>& inputs, TPointSeries& target)
{
    target.Clear();
    if (inputs.empty())
        return;
    TInputWalk walk(inputs);
    TBatch batch;
    batch.values.resize(inputs.size());
    std::vector<double> results;
    bool continues = false;
    double t = 0;
    while (walk.NextMoment(t)) {
        const TMoment moment = walk.Take(t);
        const bool valid = walk.AllRead(t);
        batch.times.push_back(t);
        for (size_t k = 0; k < inputs.size(); ++k)
            batch.values[k].push_back(valid ? walk.Held(k) : 0.0);
        batch.valid.push_back(valid);
        batch.moments.push_back(moment);
        if (batch.times.size() == BatchRows)
            Flush(formula, batch, results, target, continues);
    }
    Flush(formula, batch, results, target, continues);
}
