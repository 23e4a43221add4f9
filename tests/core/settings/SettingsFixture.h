#pragma once
// A settings location of its own for every test: the location variables point into a
// temporary directory, the single settings store and the language start fresh, and all
// of it is put back afterwards.

#include "core/base/LanguageTable.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>

class SettingsFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Sets or (with nullopt) removes an environment variable for this test.
    void SetVariable(const std::string& name, const std::optional<std::string>& value);

    std::string TempPath(const std::string& relative = {}) const;
    // Velmora/Kalvex.ini below the temporary directory, where LocalAppData points.
    std::string IniPath() const;
    void WriteIni(const std::string& bytes) const;
    std::string ReadIni() const;

private:
    QTemporaryDir temp;
    std::map<std::string, std::optional<std::string>> savedVariables;
    TextArray savedLanguage = TextArray::German;
};

// The call must fail with the given text of the current language.
void ExpectFailure(TextId text, const std::function<void()>& call);

// True when permission bits do not stop this process (it runs as root).
bool PermissionsAreIgnored();
