#pragma once
// A device's display settings: bus number and display name, and per measured value its
// entry name in the log, unit, label, colour and sum flag, plus the device-wide line
// width and the bars-or-lines choices. Values stand grouped by kind: inputs, other
// measured values, outputs.

#include "core/bus/BusVocabulary.h"
#include "core/bus/KindGroups.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// Colours are red + 256 × green + 65536 × blue.
using TColor = std::uint32_t;

extern const TColor DefaultPalette[20];

class TDeviceSettings {
public:
    // Line width and bars or lines as saved for the bus number in the settings store,
    // else the built-in defaults.
    TDeviceSettings(int number, std::string name, bool automaticName);
    // A copy without the other object's backup.
    TDeviceSettings(const TDeviceSettings& other);
    TDeviceSettings& operator=(const TDeviceSettings&) = delete;
    ~TDeviceSettings();

    // Makes this object equal to the source; this object's backup is dropped first
    // unless the source is that backup.
    void Assign(const TDeviceSettings& source);

    // Adds a value at the end of its kind's group, with its stored colour and label;
    // nothing when the entry name exists. Without a settings store the value takes its
    // built-in colour and label.
    void AddValue(const std::string& name, const std::string& unit, ValueKind kind);
    // Takes a value out (derived values, when their definitions change); the values behind
    // it move up. Nothing when the name is unknown.
    void RemoveValue(const std::string& name);
    bool HasValue(const std::string& name) const;
    bool IndexOfValue(const std::string& name, int& index) const;

    // Every index is checked: outside 0 … ValueCount − 1 fails with the
    // "Device setting: Access outside the valid range" text.
    const std::string& GetUnit(int index) const;
    const std::string& GetValueName(int index) const;
    const std::string& GetLabel(int index) const;
    void SetLabel(int index, const std::string& label);
    TColor GetColor(int index) const;
    void SetColor(int index, TColor color);
    bool IsSumValue(int index) const;
    void SetSumValue(int index, bool sum);
    ValueKind GetValueKind(int index) const;

    // Number of values of kind ≤ k.
    int CountUpTo(ValueKind kind) const;

    void SetLineWidth(unsigned width); // 0 is stored as 1
    int GetLineWidth() const { return lineWidth; }
    void SetOthersUseBars(bool bars) { othersUseBars = bars; }
    bool OthersUseBars() const { return othersUseBars; }
    void SetOutputsUseBars(bool bars) { outputsUseBars = bars; }
    bool OutputsUseBars() const { return outputsUseBars; }

    int GetNumber() const { return number; }
    const std::string& GetName() const { return name; }
    bool HasAutomaticName() const { return automaticName; }
    // An automatic name is generated anew in the current language (and stored).
    const std::string& GetDisplayName();

    int ValueCount() const { return values.Size(); }
    int InputCount() const { return values.Count(KindInput); }
    int OtherCount() const { return values.Count(KindOther); }
    int OutputCount() const { return values.Count(KindOutput); }

    void SaveBackup();
    void RestoreBackup();
    void DiscardBackup();
    const TDeviceSettings* GetBackup() const { return backup.get(); }

    // Puts sum labels made in any language into the current language.
    void RetranslateSumLabels();

private:
    struct Value {
        std::string unit;
        std::string name;
        TColor color = 0;
        std::string label;
        bool sum = false;
    };

    // Where a value stands within its kind's group. Values are only ever appended to their
    // group, so this never changes, and a name is found without a search of all values.
    struct Place {
        ValueKind kind;
        int position;
    };

    const Value& At(int index) const;
    Value& At(int index);

    int number;
    std::string name;
    bool automaticName;
    std::unique_ptr<TDeviceSettings> backup;
    TKindGroups<Value> values;
    std::unordered_map<std::string, Place> places; // by entry name
    int lineWidth = 2;
    bool othersUseBars = true;
    bool outputsUseBars = false;
};
