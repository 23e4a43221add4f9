#include "support/BenchmarkWindow.h"

#include "core/logdata/LogAnalysis.h"
#include "core/settings/IniSettings.h"
#include "ui/analysis/Childform.h"
#include "ui/analysis/GraphPanel.h"
#include "ui/analysis/ValueSelector.h"

#include <QCheckBox>
#include <QScrollArea>

#include <cstdlib>

void UseOffscreenUnlessChosen()
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

int ShowEveryValue(TLogAnalysis& analysis)
{
    int shown = 0;
    auto* panel = dynamic_cast<TValueListPanel*>(analysis.ValuePanel());
    for (TGraphPanel* row : RowsOf(*panel->List())) {
        if (!row->PlotBox->isEnabled())
            continue;
        row->PlotBox->click();
        ++shown;
    }
    return shown;
}

TBenchmarkWindow::TBenchmarkWindow(const TBenchmarkLogs& logs)
{
    area.resize(1280, 900);
    area.show();
    window = new TChildform;
    area.addSubWindow(window);
    window->showMaximized();
    loaded = LoadLogFiles(
        window->AnalysisSet(), FindLogFiles(logs.LogDirectory()), logs.From(), logs.To());
    window->FinishLoad();
}

TBenchmarkWindow::~TBenchmarkWindow()
{
    area.closeAllSubWindows();
    ReleaseIniSettings();
}
