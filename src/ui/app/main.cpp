#include "core/base/ProgramVersion.h"
#include "ui/app/Mainform.h"
#include "ui/app/ProgramIdentity.h"
#include "ui/app/ProgramWindows.h"
#include "ui/common/ApplicationErrors.h"

#include <QFileInfo>
#include <QStringList>

#include <cstring>
#include <iostream>

// kalvex [DIR]: DIR is offered by the open dialog instead of the last used directory.
int main(int argc, char* argv[])
{
    // Answered before the application starts, so it needs no display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "kalvex " << ProgramVersionText() << "\n";
        return 0;
    }
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
