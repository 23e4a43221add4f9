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
    TFormula formula(value.expression, FormulaNames());
    if (device.HasValue(value.name))
        throw TFormulaError(1, "the device has a value named " + value.name + " already");

    const std::string unit = BracketedUnit(value.unit);
    device.AddValue(value.name, unit, KindOther);
    const int index = FieldIndex(value.name);
    InsertField(index, unit, KindOther, false);
    derivedValues.push_back(value);
    std::vector<const TPointSeries*> inputs;
    for (const int input : formula.Inputs())
        inputs.push_back(&fields[input >= index ? input + 1 : input].series->Points());
    FillDerivedSeries(formula, inputs, fields[index].series->Points());
}

std::vector<std::string> TLogAnalysis::FormulaNames() const
{
    // Only what was read from the files may go in: the names of sums and of other
    // derived values stay unknown to the formula.
    if (!deviceSettings)
        return {};
    std::vector<std::string> measured(deviceSettings->ValueCount());
    for (int f = 0; f < CommonFieldCount(); ++f)
        if (!deviceSettings->IsSumValue(f) && !IsDerived(f))
            measured[f] = deviceSettings->GetValueName(f);
    return measured;
}

void TLogAnalysis::RefreshDerivedValues()
{
    for (const TDerivedValue& value : derivedValues) {
        const int index = FieldIndex(value.name);
        if (index < 0 || index >= FieldRecordCount())
            continue;
        // The formula was usable when it was added, and the names it uses stay.
        TFormula formula(value.expression, FormulaNames());
        std::vector<const TPointSeries*> inputs;
        for (const int input : formula.Inputs())
            inputs.push_back(&fields[input].series->Points());
        FillDerivedSeries(formula, inputs, fields[index].series->Points());
    }
}

bool TLogAnalysis::IsDerived(int field) const
{
    if (!deviceSettings || field < 0 || field >= deviceSettings->ValueCount())
        return false;
    const std::string& name = deviceSettings->GetValueName(field);
    return std::any_of(derivedValues.begin(), derivedValues.end(),
        [&](const TDerivedValue& value) { return value.name == name; });
}

void TLogAnalysis::RemoveDerivedValues()
{
    for (const TDerivedValue& value : derivedValues) {
        const std::string& name = value.name;
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
    derivedValues.clear();
}
