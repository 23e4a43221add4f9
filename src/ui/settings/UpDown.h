#pragma once
// An up-down control bound to a one-line edit: its arrows (and the Up and Down keys in
// the edit) step the number in the edit within a range, without wrapping. The edit stays
// free text; what it holds is read afresh at every step.

#include <QWidget>

class QLineEdit;
class QToolButton;

class TUpDown : public QWidget {
public:
    TUpDown(QLineEdit& edit, int minimum, int maximum, QWidget* parent = nullptr);

    // Moves the edit's number by the step (clamped to the range); a text that is no
    // number steps from the last number this control wrote.
    void Step(int step);

    QToolButton* ButtonUp = nullptr;
    QToolButton* ButtonDown = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit& edit;
    int minimum;
    int maximum;
    int position;
};
