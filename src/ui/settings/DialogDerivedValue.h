#pragma once
// The small dialog in which one derived value is defined: its name, unit and formula.
// The formula is checked as it is typed; what is wrong, and where, shows under it, and
// OK waits until everything is right.

#include "core/settings/DerivedValues.h"

#include <QDialog>

#include <string>
#include <vector>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

class TDialogDerivedValue : public QDialog {
public:
    // The device's measured values the formula may use and the names already taken
    // (the value being edited keeps its own name).
    TDialogDerivedValue(std::vector<std::string> measured, std::vector<std::string> taken,
        QWidget* parent = nullptr);

    void SetValue(const TDerivedValue& value);
    TDerivedValue Value() const;

    // What is wrong with the definition as typed; empty when it can be used.
    QString Problem() const;

    QLineEdit* EditName = nullptr;
    QLineEdit* EditUnit = nullptr;
    QLineEdit* EditFormula = nullptr;
    QLabel* LabelProblem = nullptr;
    QDialogButtonBox* Buttons = nullptr;

private:
    void Check();

    std::vector<std::string> measured;
    std::vector<std::string> taken;
};
