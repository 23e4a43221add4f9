#pragma once
// A test that runs the whole program: its own settings folder, message boxes answered
// by the test, and the main window closed and the settings store released afterwards.

#include "support/GuiTestHelpers.h"
#include "ui/app/Mainform.h"

#include <gtest/gtest.h>

#include <memory>

class QAction;

class ProgramFixture : public testing::Test {
protected:
    void TearDown() override;

    // Closes the program as a user does; the next start reads the settings anew.
    void CloseProgram();
    void ClickToolButton(QAction* action);
    QString IniPath() const;
    QString IniText() const;

    TemporarySettingsLocation location;
    MessageRecorder boxes;
    std::unique_ptr<TMainform> form;
};
