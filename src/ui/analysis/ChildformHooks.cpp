// Where the frame of the analysis window calls into its navigation, chart, table,
// overview, value list, settings dialog, export and printing. Each function is the
// entry point that those parts of the window fill in; until then the frame works
// without them.
#include "ui/analysis/Childform.h"

#include "core/logdata/LogAnalysis.h"
#include "ui/analysis/ChartView.h"
#include "ui/analysis/SpreadsheetExport.h"
#include "ui/analysis/TimeNavigation.h"
#include "ui/common/ApplicationErrors.h"

#include <cmath>

void TChildform::SliderTimeChange(int)
{
    navigation->SliderTimeChange();
}

void TChildform::SpanTimeChange(int)
{
    navigation->SpanTimeChange();
}

void TChildform::UpdateYieldText()
{
    navigation->UpdateYieldText();
}

void TChildform::UpdateChartTitle()
{
    navigation->UpdateChartTitle();
}

void TChildform::OpenInExcel()
{
    const TLogAnalysis* analysis = analysisSet.CurrentAnalysis();
    if (!analysis)
        return;
    try {
        // The displayed day is the one the window starts in.
        spreadsheetExport->OpenDay(*analysis, std::trunc(chartView->WindowStart()));
    } catch (const std::exception&) {
        ReportCurrentException();
    }
}
