// The settings dialog in the running program: made once at start-up and opened for the
// active analysis window from the menu entry Settings ▸ "Current window".
#include "samplegen/SampleGenerator.h"
#include "support/ProgramFixture.h"
#include "ui/analysis/Childform.h"
#include "ui/app/ProgramWindows.h"
#include "ui/open/DialogOpenAnalysis.h"
#include "ui/settings/DialogSettings.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

class ProgramSettingsTest : public ProgramFixture { };

TEST_F(ProgramSettingsTest, CurrentWindowOpensTheOneDialogForTheActiveAnalysis)
{
    QTemporaryDir samples;
    TSampleOptions options;
    options.outputDir = samples.path().toStdString();
    options.from = {2024, 3, 1};
    options.to = {2024, 3, 1};
    options.intervalMinutes = 30;
    options.devices = {10, 30};
    options.layout = TSampleLayout::Flat;
    options.faults = false;
    GenerateSampleLogs(options);

    bool analysed = false;
    WhenModalAppears([&](QWidget* modal) {
        QTest::mouseClick(qobject_cast<TDialogOpenAnalysis*>(modal)->ExecuteBtn, Qt::LeftButton);
        analysed = true;
    });
    form = CreateProgramWindows(samples.path());
    ASSERT_TRUE(DialogSettings());
    EXPECT_EQ(DialogSettings()->parent(), form.get());
    form->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return analysed; }, 20000));
    QTest::qWait(0);
    ASSERT_TRUE(form->ActiveAnalysisWindow());
    ASSERT_TRUE(form->ActionWindowSettings->isEnabled());

    int devices = -1;
    WhenModalAppears([&](QWidget* modal) {
        EXPECT_EQ(modal, DialogSettings());
        devices = DialogSettings()->Tree->topLevelItemCount();
        QTest::mouseClick(DialogSettings()->CancelBtn, Qt::LeftButton);
    });
    form->ActionWindowSettings->trigger();
    EXPECT_EQ(devices, 2);
    EXPECT_TRUE(boxes.shown.empty());
    CloseProgram();
    EXPECT_EQ(DialogSettings(), nullptr);
}

} // namespace
