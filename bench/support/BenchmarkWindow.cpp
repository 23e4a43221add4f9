#include "support/BenchmarkWindow.h"

#include "core/settings/IniSettings.h"
#include "ui/analysis/Childform.h"

#include <cstdlib>

void UseOffscreenUnlessChosen()
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

TBenchmarkWindow::TBenchmarkWindow(const TBenchmarkYear& year)
{
    area.resize(1280, 900);
    area.show();
    window = new TChildform;
    area.addSubWindow(window);
    window->showMaximized();
    loaded = LoadLogFiles(
        window->AnalysisSet(), FindLogFiles(year.LogDirectory()), year.From(), year.To());
    window->FinishLoad();
}

TBenchmarkWindow::~TBenchmarkWindow()
{
    area.closeAllSubWindows();
    ReleaseIniSettings();
}
