// kalvex-report: the report command of kalvex-cli, which hands its arguments over. It is
// the part that draws, so it alone links the graphical libraries.

#include "cli/CliArguments.h"
#include "cli/CliReport.h"
#include "ui/common/ApplicationErrors.h"

#include <iostream>

namespace {

// Qt's notes about the desktop session it runs without (no runtime folder, no window
// manager hints) mean nothing to a report; its errors still reach stderr.
void DropQtNotes(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << qPrintable(qFormatLogMessage(type, context, message)) << "\n";
}

} // namespace

int main(int argc, char* argv[])
{
    const TCliCommand command = ParseCliArguments({argv + 1, argv + argc});
    if (!command.report) {
        std::cerr << "kalvex-report: run as kalvex-cli report\n" << CliUsage();
        return 2;
    }
    // The window is drawn offscreen: no display is needed, and a set DISPLAY or Qt
    // platform is not used. Qt sees none of the arguments, which are ours.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(DropQtNotes);
    int qtArgc = 1;
    TKalvexApplication app(qtArgc, argv);
    return RunReport(*command.report, std::cout, std::cerr);
}
