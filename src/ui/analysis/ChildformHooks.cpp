// Where the frame of the analysis window calls into its navigation, chart, table,
// overview, value list, settings dialog, export and printing. Each function is the
// entry point that those parts of the window fill in; until then the frame works
// without them.
#include "ui/analysis/Childform.h"

#include "ui/analysis/TimeNavigation.h"

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
}
