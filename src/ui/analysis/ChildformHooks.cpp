// Where the frame of the analysis window calls into its navigation, chart, table,
// overview, value list, settings dialog, export and printing. Each function is the
// entry point that those parts of the window fill in; until then the frame works
// without them.
#include "ui/analysis/Childform.h"

void TChildform::SliderTimeChange(int)
{
}

void TChildform::SpanTimeChange(int)
{
}

void TChildform::UpdateYieldText()
{
}

void TChildform::UpdateChartTitle()
{
}

void TChildform::OpenInExcel()
{
}
