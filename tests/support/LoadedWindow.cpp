#include "support/LoadedWindow.h"

#include "ui/analysis/Childform.h"

#include <QMdiArea>

TChildform* OpenLoadedWindow(
    QMdiArea& area, const std::string& directory, TDateTime from, TDateTime to, TLoadResult& result)
{
    auto* window = new TChildform;
    area.addSubWindow(window);
    window->showMaximized();
    result = LoadLogFiles(window->AnalysisSet(), FindLogFiles(directory), from, to);
    window->FinishLoad();
    return window;
}
