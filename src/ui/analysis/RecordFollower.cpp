#include "ui/analysis/RecordFollower.h"

#include "core/loading/AnalysisSet.h"

TRecordFollower::TRecordFollower(
    TAnalysisSet& analyses, int pollMilliseconds, TRecordFollowerHost host)
    : analyses(analyses)
    , follower(analyses, pollMilliseconds)
    , host(std::move(host))
{
    follower.SetUpdateHandler([this](const std::vector<TLogFollower::TUpdate>&) { Apply(); });
    follower.SetProblemHandler([this](const std::string& path, const std::string& message) {
        // As the file error list gives them: the file, then what is wrong with it.
        this->host.showProblem(QString::fromStdString(path + "\n" + message));
    });
}

void TRecordFollower::SetEnabled(bool on)
{
    enabled = on;
    if (on && analyses.DayList().Count() > 0) {
        newestBefore = analyses.NewestRecordTime();
        follower.Start();
    } else {
        follower.Stop();
    }
}

void TRecordFollower::AnalysisLoaded()
{
    SetEnabled(enabled);
}

void TRecordFollower::AnalysisCleared()
{
    follower.Stop();
}

void TRecordFollower::Apply()
{
    const TTimeSpan shown = host.window();
    const bool atNewest = shown.start <= newestBefore && newestBefore <= shown.end;
    host.refreshViews();
    const double newest = analyses.NewestRecordTime();
    if (atNewest && newest > shown.end)
        host.moveToNewest(newest);
    newestBefore = newest;
}
