#include "ui/open/EscapeKeyWatch.h"

#include <QApplication>
#include <QKeyEvent>
#include <QThread>
#include <QWidget>

TEscapeKeyWatch::TEscapeKeyWatch(QWidget* watchedWindow)
    : QObject(watchedWindow)
    , window(watchedWindow)
{
}

TEscapeKeyWatch::~TEscapeKeyWatch()
{
    Stop();
}

void TEscapeKeyWatch::Start()
{
    down = false;
    pressed = false;
    qApp->installEventFilter(this);
}

void TEscapeKeyWatch::Stop()
{
    qApp->removeEventFilter(this);
}

bool TEscapeKeyWatch::Poll()
{
    const bool result = down || pressed;
    pressed = false;
    return result;
}

void TEscapeKeyWatch::Flush()
{
    QApplication::processEvents();
    while (Poll()) {
        QThread::msleep(10);
        QApplication::processEvents();
    }
}

bool TEscapeKeyWatch::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Escape)
        return false;
    auto* target = qobject_cast<QWidget*>(watched);
    if (!target || target->window() != window || !window->isActiveWindow()) {
        // A release elsewhere still ends a press that began here.
        if (type == QEvent::KeyRelease && !key->isAutoRepeat())
            down = false;
        return false;
    }
    if (type == QEvent::KeyPress) {
        down = true;
        pressed = true;
    } else if (!key->isAutoRepeat()) {
        down = false;
    }
    return true;
}
