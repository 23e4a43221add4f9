#include "FuzzSupport.h"

#include "core/base/LanguageTable.h"
#include "support/TestFiles.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

TFuzzFolder::TFuzzFolder()
{
    const char* base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/kalvex-fuzz-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    path = pattern;
    std::filesystem::create_directories(path + "/Velmora");
    ::setenv("LocalAppData", path.c_str(), 1);
    SelectLanguage(2);
}

TFuzzFolder::~TFuzzFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::string TFuzzFolder::Write(const std::string& name, std::string_view bytes) const
{
    const std::string file = path + "/" + name;
    WriteTestFile(file, bytes);
    return file;
}

void Require(bool holds, const char* what)
{
    if (holds)
        return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

std::string_view AsText(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}
