#include "ui/analysis/DerivedValueUpdate.h"

#include "core/loading/AnalysisSet.h"
#include "core/logdata/LogAnalysis.h"

TDerivedValueUpdate::TDerivedValueUpdate(TAnalysisSet& analyses, TDerivedValueHost host)
    : analyses(analyses)
    , host(std::move(host))
{
}

void TDerivedValueUpdate::Apply(const QStringList& prefixes)
{
    bool changed = false;
    for (int d = 0; d < analyses.DeviceCount(); ++d) {
        TLogAnalysis* analysis = analyses.Analysis(d);
        if (!analysis || !analysis->DeviceSettings()
            || !prefixes.contains(QString::fromStdString(analyses.DeviceList()[d])))
            continue;
        const TDeviceSettings& device = *analysis->DeviceSettings();
        std::vector<std::string> shown;
        for (int f = 0; f < device.ValueCount(); ++f)
            if (analysis->IsShown(f)) {
                shown.push_back(device.GetValueName(f));
                host.hideValue(*analysis, f);
            }
        analyses.ReapplyDerivedValues(d);
        host.rebuildValueList(d, *analysis);
        for (const std::string& name : shown)
            if (int f = -1; device.IndexOfValue(name, f))
                host.showValue(*analysis, f);
        changed = true;
    }
    if (changed)
        host.reselectTab();
}

std::vector<std::string> TDerivedValueUpdate::MeasuredNames(const TLogAnalysis& analysis)
{
    std::vector<std::string> names = analysis.FormulaNames();
    std::erase(names, std::string());
    return names;
}

std::vector<std::string> TDerivedValueUpdate::TakenNames(const TLogAnalysis& analysis)
{
    std::vector<std::string> names;
    const TDeviceSettings* device = analysis.DeviceSettings();
    for (int f = 0; device && f < device->ValueCount(); ++f)
        if (!analysis.IsDerived(f))
            names.push_back(device->GetValueName(f));
    return names;
}
