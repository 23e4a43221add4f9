// kalvex-cli: Kalvex's loading and totals for scripts, and the analysis window's charts,
// table and yields written without a display.

#include "cli/CliArguments.h"
#include "cli/CliDump.h"
#include "cli/CliFollow.h"
#include "cli/ReportHandOff.h"
#include "core/base/ProgramVersion.h"

#include <iostream>

int main(int argc, char* argv[])
{
    const TCliCommand command = ParseCliArguments({argv + 1, argv + argc});
    if (command.help) {
        std::cout << CliUsage();
        return 0;
    }
    if (command.version) {
        std::cout << "kalvex-cli " << ProgramVersionText() << "\n";
        return 0;
    }
    if (command.dump)
        return RunDump(*command.dump, std::cout, std::cerr);
    if (command.follow)
        return RunFollow(*command.follow, std::cout, std::cerr);
    if (command.report)
        return HandOverReport(argv, KALVEX_REPORT_FROM_BIN, std::cerr);
    std::cerr << "kalvex-cli: " << command.error << "\n" << CliUsage();
    return 2;
}
