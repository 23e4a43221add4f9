// Derived values: fields computed from the device's measured values by a formula.

#include "core/logdata/LogAnalysis.h"

#include "core/logdata/DerivedSeries.h"
#include "core/logdata/Formula.h"

#include <algorithm>

void TLogAnalysis::AddDerivedValue(const TDerivedValue& value)
{
    if (!deviceSettings)
        return;
    TDeviceSettings& device = *deviceSettings;
    // Only what was read from the files may go in: the names of sums and of other
    // derived values stay unknown to the formula.
    std::vector<std::string> measured(device.ValueCount());
    for (int f = 0; f < CommonFieldCount(); ++f)
        if (!device.IsSumValue(f) && !IsDerived(f))
            measured[f] = device.GetValueName(f);
    TFormula formula(value.expression, measured);
    if (device.HasValue(value.name))
        throw TFormulaError(1, "the device has a value named " + value.name + " already");

    const std::string unit = BracketedUnit(value.unit);
    device.AddValue(value.name, unit, KindOther);
    const int index = FieldIndex(value.name);
    InsertField(index, unit, KindOther, false);
    derivedNames.push_back(value.name);
    std::vector<const TPointSeries*> inputs;
    for (const int input : formula.Inputs())
        inputs.push_back(&fields[input >= index ? input + 1 : input].series->Points());
    FillDerivedSeries(formula, inputs, fields[index].series->Points());
}

bool TLogAnalysis::IsDerived(int field) const
{
    return deviceSettings && field >= 0 && field < deviceSettings->ValueCount()
        && std::find(derivedNames.begin(), derivedNames.end(), deviceSettings->GetValueName(field))
        != derivedNames.end();
}

void TLogAnalysis::RemoveDerivedValues()
{
    for (const std::string& name : derivedNames) {
        const int index = FieldIndex(name);
        if (index < 0 || index >= FieldRecordCount())
            continue;
        if (TFieldRecord& record = fields[index]; record.shown && record.series)
            if (TChartTarget* chart = ChartOf(record))
                chart->DetachSeries(*record.series);
        fields.Erase(index);
        deviceSettings->RemoveValue(name);
        if (fieldsPaired)
            fields.ForEach([index](TFieldRecord& other) {
                if (other.pairIndex > index)
                    --other.pairIndex;
            });
    }
    derivedNames.clear();
}
