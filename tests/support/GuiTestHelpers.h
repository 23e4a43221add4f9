#pragma once
// Helpers for widget tests: answering message boxes without a modal loop, acting on a
// modal dialog once it is up, and a settings location of the test's own.

#include "ui/common/MessageBox.h"

#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <vector>

// Records every message box while it lives and answers them from a queue (Ok or No
// when the queue is empty).
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<MessageRequest> shown;
    std::deque<MessageResult> answers;
    // Runs while a box is "open", e.g. to see the state behind it.
    std::function<void(const MessageRequest&)> onShow;

    QStringList Texts() const;

private:
    MessagePresenter previous;
};

// Runs the action on the first modal widget (other than the one given) that becomes
// active within the timeout; a dialog that never shows fails the test but hangs nothing.
void WhenModalAppears(
    std::function<void(QWidget*)> action, QWidget* notThis = nullptr, int timeoutMs = 10000);

// Queues an Esc press and release for the widget, as a user's keyboard does.
void PostEscPressAndRelease(QWidget* receiver);

// Points the settings file into a temporary directory for the life of the object.
class TemporarySettingsLocation {
public:
    TemporarySettingsLocation();
    ~TemporarySettingsLocation();
    QString Path() const { return dir.path(); }

private:
    QTemporaryDir dir;
    QByteArray previousLocal;
    bool hadLocal;
};
