// kalvex-cli: Kalvex's loading and totals for scripts, without a window.

#include "cli/CliArguments.h"
#include "cli/CliDump.h"

#include <iostream>

int main(int argc, char* argv[])
{
    const TCliCommand command = ParseCliArguments({argv + 1, argv + argc});
    if (command.help) {
        std::cout << CliUsage();
        return 0;
    }
    if (!command.dump) {
        std::cerr << "kalvex-cli: " << command.error << "\n" << CliUsage();
        return 2;
    }
    return RunDump(*command.dump, std::cout, std::cerr);
}
