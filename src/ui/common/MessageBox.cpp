#include "ui/common/MessageBox.h"

#include <QMessageBox>

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

MessageResult ShowModalBox(const MessageRequest& request)
{
    const bool yesNo = request.buttons == MessageButtons::YesNo;
    QMessageBox box(ToQtIcon(request.icon), request.caption, request.text,
        yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, request.parent);
    const int answer = box.exec();
    if (!yesNo)
        return MessageResult::Ok;
    return answer == QMessageBox::Yes ? MessageResult::Yes : MessageResult::No;
}

MessagePresenter& CurrentPresenter()
{
    static MessagePresenter presenter;
    return presenter;
}

} // namespace

MessageResult ShowMessage(const MessageRequest& request)
{
    const MessagePresenter& presenter = CurrentPresenter();
    return presenter ? presenter(request) : ShowModalBox(request);
}

MessagePresenter SetMessagePresenter(MessagePresenter presenter)
{
    return std::exchange(CurrentPresenter(), std::move(presenter));
}
