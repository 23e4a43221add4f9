// kalvex-cli: Kalvex's loading and totals for scripts, and the analysis window's charts,
// table and yields written without a display.

#include "cli/CliArguments.h"
#include "cli/CliDump.h"
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
    if (command.help) {
        std::cout << CliUsage();
        return 0;
    }
    if (command.dump)
        return RunDump(*command.dump, std::cout, std::cerr);
    if (command.report) {
        // The window is drawn offscreen: no display is needed, and a set DISPLAY or Qt
        // platform is not used. Qt sees none of the arguments, which are ours.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(DropQtNotes);
        int qtArgc = 1;
        TKalvexApplication app(qtArgc, argv);
        return RunReport(*command.report, std::cout, std::cerr);
    }
    std::cerr << "kalvex-cli: " << command.error << "\n" << CliUsage();
    return 2;
}
