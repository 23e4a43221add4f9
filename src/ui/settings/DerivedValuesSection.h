#pragma once
// The settings dialog's section "Derived values" for the device selected in the tree: its
// definitions, with Add, Edit and Remove. Edits stay in the dialog until OK writes the
// ones that changed into the settings store; Cancel forgets them.

#include "core/settings/DerivedValues.h"

#include <QGroupBox>
#include <QStringList>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;
class TDeviceSettings;
class TDialogDerivedValue;

class TDerivedValuesSection : public QGroupBox {
public:
    explicit TDerivedValuesSection(QWidget* parent = nullptr);

    // The device's prefix, the measured values its formulas may use and the names its
    // other values take; its stored definitions are read now.
    void AddDevice(const TDeviceSettings& device, const std::string& prefix,
        std::vector<std::string> measured, std::vector<std::string> taken);
    // Shows the definitions of the device (null: none selected, nothing to edit).
    void ShowDevice(const TDeviceSettings* device);
    // Writes the definitions that changed; the prefixes written.
    QStringList Commit();
    void Clear();
    void SetCaptions();

    // Runs the definition dialog; tests answer it themselves.
    std::function<bool(TDialogDerivedValue& dialog)> RunDialog;

    QListWidget* List = nullptr;
    QPushButton* ButtonAdd = nullptr;
    QPushButton* ButtonEdit = nullptr;
    QPushButton* ButtonRemove = nullptr;

private:
    struct TDevice {
        std::string prefix;
        std::vector<std::string> measured;
        std::vector<std::string> taken;
        TDerivedValues stored;
        TDerivedValues edited;
    };
    TDevice* Current();
    void Fill();
    void UpdateButtons();
    void AddClick();
    void EditClick();
    void RemoveClick();
    // The dialog for a definition; its result when confirmed.
    std::optional<TDerivedValue> Define(const TDevice& device, const TDerivedValue* value);

    std::map<const TDeviceSettings*, TDevice> devices;
    const TDeviceSettings* current = nullptr;
};
