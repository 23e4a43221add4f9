// The analysis window's settings dialog: the devices and the window's settings go in, and
// what the user confirmed is shown at once and, when the user wishes, stored for future
// analyses.
#include "ui/analysis/Childform.h"

#include "core/logdata/LogAnalysis.h"
#include "ui/analysis/DerivedValueUpdate.h"
#include "ui/common/ApplicationErrors.h"
#include "ui/common/MessageBox.h"
#include "ui/common/UiText.h"
#include "ui/settings/DialogSettings.h"

#include <QHeaderView>
#include <QTabBar>

void TChildform::ActionOpenSettingsExecute()
{
    TDialogSettings* dialog = DialogSettings();
    if (!dialog)
        return;
    const int devices = analysisSet.DeviceCount();
    const int tab = TabSetDevices->count() > 0 ? TabSetDevices->currentIndex() : 0;
    for (int device = 0; device < devices; ++device) {
        TLogAnalysis* analysis = analysisSet.Analysis(device);
        if (!analysis || !analysis->DeviceSettings())
            continue;
        if (device == tab)
            dialog->AddDeviceAndSelect(*analysis->DeviceSettings());
        else
            dialog->AddDevice(*analysis->DeviceSettings());
        dialog->AddDerivedValues(*analysis->DeviceSettings(), analysisSet.DeviceList()[device],
            TDerivedValueUpdate::MeasuredNames(*analysis),
            TDerivedValueUpdate::TakenNames(*analysis));
    }

    const int sections = HeaderControl->count();
    if (sections > 0)
        childSettings.HeaderWidth0 = HeaderControl->sectionSize(0);
    if (sections > 1)
        childSettings.HeaderWidth1 = HeaderControl->sectionSize(1);
    if (sections > 2)
        childSettings.HeaderWidth2 = HeaderControl->sectionSize(2);
    dialog->SetWindowSettings(childSettings);
    if (dialog->exec() != QDialog::Accepted)
        return;

    ApplyChildSettings(dialog->GetWindowSettings());
    for (const auto& analysis : analysisSet.Analyses())
        if (analysis)
            analysis->ReapplyDisplaySettings();
    SelectDevice(tab);
    FillTable();

    TIniSettings* settings = ExistingIniSettings();
    if (settings && settings->HasIniFile()
        && ShowMessage({this, UiText(TextId::TxtQuestion) + QStringLiteral(":"),
               UiText(TextId::TxtSaveSettingsQuestion), MessageIcon::Question,
               MessageButtons::YesNo})
            == MessageResult::Yes) {
        try {
            settings->SetChildSettings(dialog->GetWindowSettings());
            for (const auto& analysis : analysisSet.Analyses())
                if (analysis && analysis->DeviceSettings())
                    settings->WriteDeviceSettings(*analysis->DeviceSettings());
        } catch (const std::exception&) {
            // The window shows the settings all the same; only storing them failed.
            ReportCurrentException();
        }
    }
    UpdateExcelAction();
    UpdateValueAxes();
}
