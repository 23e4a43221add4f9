#include "ui/app/Mainform.h"
#include "ui/app/ProgramIdentity.h"
#include "ui/app/ProgramWindows.h"
#include "ui/common/ApplicationErrors.h"

#include <QFileInfo>
#include <QStringList>

// kalvex [DIR]: DIR is offered by the open dialog instead of the last used directory.
int main(int argc, char* argv[])
{
    TKalvexApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(ProgramDesktopId);
    QApplication::setWindowIcon(ProgramIcon());
    const QStringList arguments = QCoreApplication::arguments();
    // Made absolute: it is stored as the last used directory.
    const QString directory
        = arguments.size() > 1 ? QFileInfo(arguments.at(1)).absoluteFilePath() : QString();
    const auto mainform = CreateProgramWindows(directory);
    mainform->show();
    return app.exec();
}
