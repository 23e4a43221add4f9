#include "support/GuiTestHelpers.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

MessageRecorder::MessageRecorder()
{
    previous = SetMessagePresenter([this](const MessageRequest& request) {
        shown.push_back(request);
        if (onShow)
            onShow(request);
        if (!answers.empty()) {
            const MessageResult answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return request.buttons == MessageButtons::YesNo ? MessageResult::No : MessageResult::Ok;
    });
}

MessageRecorder::~MessageRecorder()
{
    SetMessagePresenter(std::move(previous));
}

QStringList MessageRecorder::Texts() const
{
    QStringList texts;
    for (const MessageRequest& request : shown)
        texts << request.text;
    return texts;
}

void WhenModalAppears(std::function<void(QWidget*)> action, QWidget* notThis, int timeoutMs)
{
    auto* poll = new QTimer(qApp);
    auto remaining = std::make_shared<int>(timeoutMs / 10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, remaining, action, notThis]() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != notThis && modal->isVisible()) {
            poll->stop();
            poll->deleteLater();
            action(modal);
            return;
        }
        if (--*remaining <= 0) {
            poll->stop();
            poll->deleteLater();
            ADD_FAILURE() << "no modal dialog appeared";
            // Whatever modal loop is running must not keep the test waiting.
            if (modal)
                modal->close();
        }
    });
    poll->start(10);
}

void PostEscPressAndRelease(QWidget* receiver)
{
    QCoreApplication::postEvent(
        receiver, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    QCoreApplication::postEvent(
        receiver, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier));
}

TemporarySettingsLocation::TemporarySettingsLocation()
    : previousLocal(qgetenv("LocalAppData"))
    , hadLocal(qEnvironmentVariableIsSet("LocalAppData"))
{
    qputenv("LocalAppData", dir.path().toLocal8Bit());
}

TemporarySettingsLocation::~TemporarySettingsLocation()
{
    if (hadLocal)
        qputenv("LocalAppData", previousLocal);
    else
        qunsetenv("LocalAppData");
}
