// The analysis window's part in following new records: what the follower may ask of it.
#include "ui/analysis/Childform.h"

#include "core/loading/TimeWindow.h"
#include "core/logdata/LogAnalysis.h"
#include "core/settings/IniSettings.h"
#include "ui/analysis/ChartView.h"
#include "ui/analysis/RecordFollower.h"
#include "ui/common/MessageBox.h"
#include "ui/common/UiText.h"

#include <QComboBox>
#include <QSlider>

#include <cmath>

namespace {

int FollowPollMilliseconds()
{
    const TIniSettings* settings = ExistingIniSettings();
    return (settings ? settings->GetMainSettings() : MainSettings{}).FollowPollSeconds * 1000;
}

} // namespace

void TChildform::CreateRecordFollower()
{
    auto refresh = [this] {
        // The charts draw copies of the points: the shown series go on again, in order.
        for (const auto& analysis : analysisSet.Analyses())
            for (int f = 0; analysis && f < analysis->FieldRecordCount(); ++f) {
                TFieldSeries* series = analysis->Series(f);
                TChartTarget* chart
                    = analysis->FieldRecord(f)->kind == KindOutput ? LowerChart() : UpperChart();
                if (series && chart && analysis->IsShown(f)) {
                    chart->DetachSeries(*series);
                    chart->AttachSeries(*series);
                }
            }
        navigation->ComputeRange(PeriodKindOf(SpanTime->currentIndex()));
        navigation->SyncSlider();
        for (const auto& analysis : analysisSet.Analyses())
            if (analysis && analysis->ValuePanel())
                analysis->ValuePanel()->RefreshRows();
        FillTable();
        UpdateValueAxes();
        UpdateYieldText();
        UpdateChartTitle();
        UpdateCaption();
        UpdateExcelAction();
        chartView->RepaintNow();
    };
    auto moveToNewest = [this, refresh](double newest) {
        if (!IsHourEntry(SpanTime->currentIndex())) {
            SliderTime->setValue(SliderTime->maximum()); // the slider moves the window
            return;
        }
        const double start = chartView->WindowStart();
        const double end = chartView->WindowEnd();
        const double steps = std::ceil((newest - end) / (end - start));
        SetTimeWindow(end + steps * (end - start), start + steps * (end - start));
        refresh();
    };
    auto showProblem = [this](const QString& message) {
        ShowMessage(
            {this, UiText(TextId::TxtError), message, MessageIcon::Error, MessageButtons::Ok});
    };
    recordFollower = std::make_unique<TRecordFollower>(analysisSet, FollowPollMilliseconds(),
        TRecordFollowerHost{
            [this] { return navigation->Window(); }, moveToNewest, refresh, showProblem});
}
