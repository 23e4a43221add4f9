// The analysis window's table view and the texts of its overview tables, and the hint
// of the header over the value lists.
#include "ui/analysis/Childform.h"

#include "ui/analysis/ChartView.h"
#include "ui/analysis/TableView.h"

#include <QComboBox>
#include <QHeaderView>

void TChildform::FillTable()
{
    if (!tableViewActive)
        return;
    TTableSource source;
    source.daily = analysisSet.DailyOverview();
    source.monthly = analysisSet.MonthlyOverview();
    source.analyses = &analysisSet.Analyses();
    source.currentAnalysis = analysisSet.CurrentAnalysis();
    source.overviewTab = overviewTabActive;
    source.spanTime = SpanTime->currentIndex();
    source.windowStart = chartView->WindowStart();
    tableView->FillTable(source);
}

void TChildform::RelabelOverviewGrids()
{
    analysisSet.RelabelOverviews();
    if (tableViewActive) {
        ShowTableView(false);
        ShowTableView(true);
    }
}

void TChildform::HeaderControlMouseMove(int x)
{
    QString hint;
    for (int i = 0; i < HeaderControl->count(); ++i) {
        const int left = HeaderControl->sectionViewportPosition(i);
        if (left <= x && x <= left + HeaderControl->sectionSize(i)) {
            hint = HeaderControl->model()->headerData(i, Qt::Horizontal).toString();
            break;
        }
    }
    HeaderControl->setToolTip(hint);
}
