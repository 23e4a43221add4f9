#include "cli/ReportHandOff.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>

namespace {

constexpr const char* ReportTool = "kalvex-report";

// The program's own file, links resolved; argv[0] may be a bare name found on PATH.
std::filesystem::path OwnFile()
{
    std::error_code error;
    std::filesystem::path own = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : own;
}

} // namespace

int HandOverReport(char* argv[], const char* fromBin, std::ostream& err)
{
    const std::filesystem::path own = OwnFile();
    if (own.empty()) {
        err << "kalvex-cli: cannot find where kalvex-cli lies, so not its " << ReportTool
            << " either\n";
        return 1;
    }
    const std::string tool = (own.parent_path() / fromBin / ReportTool).lexically_normal().string();
    argv[0] = const_cast<char*>(tool.c_str());
    execv(tool.c_str(), argv);
    err << "kalvex-cli: cannot run " << tool << ": " << std::strerror(errno) << "\n";
    return 1;
}
