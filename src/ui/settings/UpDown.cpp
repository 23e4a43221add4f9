#include "ui/settings/UpDown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QToolButton* ArrowButton(Qt::ArrowType arrow, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    // The edit keeps the focus; the keyboard steps through the Up and Down keys there.
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    button->setFixedWidth(16);
    return button;
}

} // namespace

TUpDown::TUpDown(QLineEdit& edit, int minimum, int maximum, QWidget* parent)
    : QWidget(parent)
    , edit(edit)
    , minimum(minimum)
    , maximum(maximum)
    , position(minimum)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    ButtonUp = ArrowButton(Qt::UpArrow, this);
    ButtonDown = ArrowButton(Qt::DownArrow, this);
    column->addWidget(ButtonUp);
    column->addWidget(ButtonDown);
    setFixedHeight(edit.sizeHint().height());
    connect(ButtonUp, &QToolButton::clicked, this, [this] { Step(1); });
    connect(ButtonDown, &QToolButton::clicked, this, [this] { Step(-1); });
    edit.installEventFilter(this);
}

void TUpDown::Step(int step)
{
    bool isNumber = false;
    const int typed = edit.text().trimmed().toInt(&isNumber);
    if (isNumber)
        position = std::clamp(typed, minimum, maximum);
    position = std::clamp(position + step, minimum, maximum);
    edit.setText(QString::number(position));
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &edit && event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
