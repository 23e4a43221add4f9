#include "support/ProgramFixture.h"

#include "core/base/LanguageTable.h"
#include "core/settings/IniSettings.h"
#include "support/TestFiles.h"

#include <QTest>
#include <QToolBar>

void ProgramFixture::TearDown()
{
    CloseProgram();
    SelectLanguage(1);
}

void ProgramFixture::CloseProgram()
{
    if (form)
        form->close();
    form.reset();
    ReleaseIniSettings();
}

void ProgramFixture::ClickToolButton(QAction* action)
{
    QTest::mouseClick(form->ToolBar->widgetForAction(action), Qt::LeftButton);
}

QString ProgramFixture::IniPath() const
{
    return location.Path() + "/Velmora/Kalvex.ini";
}

QString ProgramFixture::IniText() const
{
    return QString::fromStdString(ReadTestFile(IniPath().toStdString()));
}
