#pragma once
// Every message box of the program goes through ShowMessage, so that one place decides
// how a box appears; tests replace the presenter and answer without a modal loop.

#include <QString>

#include <functional>

class QWidget;

enum class MessageIcon { Error, Warning, Information, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageResult { Ok, Yes, No };

struct MessageRequest {
    QWidget* parent = nullptr;
    QString caption;
    QString text;
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
};

using MessagePresenter = std::function<MessageResult(const MessageRequest&)>;

MessageResult ShowMessage(const MessageRequest& request);

// Installs another presenter (an empty one restores the modal QMessageBox) and returns
// the one it replaces.
MessagePresenter SetMessagePresenter(MessagePresenter presenter);
