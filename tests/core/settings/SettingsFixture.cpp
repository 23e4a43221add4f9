#include "core/settings/SettingsFixture.h"

#include "core/settings/IniSettings.h"
#include "support/TestFiles.h"

#include "core/base/KalvexError.h"

#include <cstdlib>
#include <unistd.h>

namespace {

std::optional<std::string> Variable(const std::string& name)
{
    const char* value = std::getenv(name.c_str());
    return value ? std::optional<std::string>(value) : std::nullopt;
}

void PutVariable(const std::string& name, const std::optional<std::string>& value)
{
    if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
    else
        ::unsetenv(name.c_str());
}

} // namespace

void SettingsFixture::SetUp()
{
    ASSERT_TRUE(temp.isValid());
    savedLanguage = CurrentTextArray();
    ReleaseIniSettings();
    for (const char* name : {"LocalAppData", "AppData", "XDG_CONFIG_HOME", "HOME"})
        SetVariable(name, std::nullopt);
    SetVariable("LocalAppData", TempPath());
}

void SettingsFixture::TearDown()
{
    ReleaseIniSettings();
    for (const auto& [name, value] : savedVariables)
        PutVariable(name, value);
    SelectLanguage(static_cast<int>(savedLanguage) + 1);
}

void SettingsFixture::SetVariable(const std::string& name, const std::optional<std::string>& value)
{
    savedVariables.try_emplace(name, Variable(name));
    PutVariable(name, value);
}

std::string SettingsFixture::TempPath(const std::string& relative) const
{
    const std::string root = temp.path().toStdString();
    return relative.empty() ? root : root + "/" + relative;
}

std::string SettingsFixture::IniPath() const
{
    return TempPath("Velmora/Kalvex.ini");
}

void SettingsFixture::WriteIni(const std::string& bytes) const
{
    WriteTestFile(IniPath(), bytes);
}

std::string SettingsFixture::ReadIni() const
{
    return ReadTestFile(IniPath());
}

void ExpectFailure(TextId text, const std::function<void()>& call)
{
    try {
        call();
        ADD_FAILURE() << "no failure was reported";
    } catch (const KalvexError& error) {
        EXPECT_EQ(error.what(), Text(text));
    }
}

bool PermissionsAreIgnored()
{
    return ::geteuid() == 0;
}
