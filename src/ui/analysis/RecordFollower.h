#pragma once
// "Follow new records" of an analysis window: while it is on, the core's follower reads
// what the loggers write into the window's analysis set, and after each change the window
// is brought up to date. The time window stays with the newest data when it showed them
// (the last day, or the month, quarter or year holding it); otherwise it stays where the
// user put it. A file that cannot be read is said once.

#include "core/loading/LogFollower.h"
#include "core/loading/TimeWindow.h"

#include <QString>

#include <functional>

class TAnalysisSet;

struct TRecordFollowerHost {
    // The time window shown, and a move of it (a time window holding the newest data).
    std::function<TTimeSpan()> window;
    std::function<void(double newest)> moveToNewest;
    // Everything that shows the analysis, after its data changed: range, slider, series,
    // table, value axes, yield line, chart title, caption, value lists.
    std::function<void()> refreshViews;
    std::function<void(const QString& message)> showProblem;
};

class TRecordFollower {
public:
    TRecordFollower(TAnalysisSet& analyses, int pollMilliseconds, TRecordFollowerHost host);

    // Off by default; on begins with the analysis' files as they are now.
    void SetEnabled(bool on);
    bool Enabled() const { return enabled; }
    // A new analysis was loaded into the window, or it was emptied.
    void AnalysisLoaded();
    void AnalysisCleared();

    // The follower itself, for a look at the files now (tests drive it so).
    TLogFollower& Follower() { return follower; }

private:
    void Apply();

    TAnalysisSet& analyses;
    TLogFollower follower;
    TRecordFollowerHost host;
    bool enabled = false;
    double newestBefore = 0; // the newest record before the latest change
};
