#include "ui/common/CenterDialogHook.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

class TCenterDialogHook : public QObject {
public:
    explicit TCenterDialogHook(QWidget& dialog)
        : QObject(&dialog)
    {
        dialog.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* dialog = qobject_cast<QWidget*>(watched);
        if (dialog && event->type() == QEvent::Show) {
            QScreen* screen
                = dialog->screen() ? dialog->screen() : QGuiApplication::primaryScreen();
            if (screen) {
                const QRect desktop = screen->availableGeometry();
                const QSize size = dialog->frameGeometry().size();
                dialog->move(desktop.left() + (desktop.width() - size.width()) / 2,
                    desktop.top() + (desktop.height() - size.height()) / 2);
            }
        }
        return false;
    }
};

} // namespace

void InstallCenterDialogHook(QWidget& dialog)
{
    new TCenterDialogHook(dialog);
}
