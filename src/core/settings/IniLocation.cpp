#include "core/settings/IniLocation.h"

#include "core/base/KalvexError.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sys/stat.h>

namespace {

std::optional<std::string> Variable(const char* name)
{
    const char* value = std::getenv(name);
    if (!value || !*value)
        return std::nullopt;
    return std::string(value);
}

std::string WithDelimiter(std::string path)
{
    if (path.back() != '/')
        path += '/';
    return path;
}

bool IsDirectory(const std::string& path)
{
    struct stat status { };
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// Creates the directory when it is missing; its parent must exist.
bool EnsureDirectory(const std::string& path, mode_t mode)
{
    if (IsDirectory(path))
        return true;
    return (::mkdir(path.c_str(), mode) == 0 || errno == EEXIST) && IsDirectory(path);
}

std::optional<std::string> ApplicationDataDirectory()
{
    if (auto local = Variable("LocalAppData"))
        return local;
    if (auto roaming = Variable("AppData"))
        return roaming;
    // The base directory standard ignores relative values, and has a missing one made.
    if (auto config = Variable("XDG_CONFIG_HOME"); config && config->front() == '/') {
        EnsureDirectory(*config, 0700);
        return config;
    }
    // A new account may not have ~/.config yet; it is the user's own, so make it.
    if (auto home = Variable("HOME")) {
        const std::string config = WithDelimiter(*home) + ".config";
        if (EnsureDirectory(config, 0700))
            return config;
    }
    return std::nullopt;
}

} // namespace

std::string LocateIniFile()
{
    const auto directory = ApplicationDataDirectory();
    if (!directory)
        Fail(TextId::TxtIniAccessFailed);
    const std::string folder = WithDelimiter(*directory) + "Velmora";
    if (!EnsureDirectory(folder, 0777))
        Fail(TextId::TxtIniAccessFailed);
    return folder + "/Kalvex.ini";
}

std::string ProgramDirectory()
{
    if (QCoreApplication::instance()) {
        const std::string directory = QCoreApplication::applicationDirPath().toStdString();
        return directory.empty() ? directory : WithDelimiter(directory);
    }
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || !executable.has_parent_path())
        return {};
    return WithDelimiter(QFile::decodeName(executable.parent_path().c_str()).toStdString());
}
