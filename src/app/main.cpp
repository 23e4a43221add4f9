#include "app/ApplicationErrors.h"
#include "app/Mainform.h"
#include "app/ProgramWindows.h"

#include <QStringList>

// kalvex [DIR]: DIR is offered by the open dialog instead of the last used directory.
int main(int argc, char* argv[])
{
    TKalvexApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QString directory = arguments.size() > 1 ? arguments.at(1) : QString();
    const auto mainform = CreateProgramWindows(directory);
    mainform->show();
    return app.exec();
}
