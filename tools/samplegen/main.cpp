// kalvex-samplegen: writes simulated day logs for trying out and measuring Kalvex.

#include "samplegen/SampleOptions.h"

#include <exception>
#include <iostream>

int main(int argc, char* argv[])
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << SampleUsage();
        return 0;
    }
    const TSampleCommandLine command = ParseSampleArguments(args);
    if (!command.error.empty()) {
        std::cerr << "kalvex-samplegen: " << command.error << "\n" << SampleUsage();
        return 2;
    }
    try {
        const auto files = GenerateSampleLogs(command.options);
        std::cout << "wrote " << files.size() << " log files below " << command.options.outputDir
                  << "\n";
    } catch (const std::exception& e) {
        std::cerr << "kalvex-samplegen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
