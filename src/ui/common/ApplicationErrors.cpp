#include "ui/common/ApplicationErrors.h"

#include "core/base/LanguageTable.h"
#include "ui/common/MessageBox.h"

#include <exception>
#include <new>

namespace {

ApplicationErrorHandler& CurrentHandler()
{
    static ApplicationErrorHandler handler;
    return handler;
}

const void*& CurrentOwner()
{
    static const void* owner = nullptr;
    return owner;
}

void ShowPlainErrorBox(const QString& message)
{
    ShowMessage({nullptr, QString::fromStdString(Text(TextId::TxtError)), message,
        MessageIcon::Error, MessageButtons::Ok});
}

} // namespace

ApplicationErrorHandler SetApplicationErrorHandler(
    ApplicationErrorHandler handler, const void* owner)
{
    CurrentOwner() = owner;
    return std::exchange(CurrentHandler(), std::move(handler));
}

void ClearApplicationErrorHandler(const void* owner)
{
    if (CurrentOwner() != owner)
        return;
    CurrentOwner() = nullptr;
    CurrentHandler() = {};
}

void ReportApplicationError(const QString& message)
{
    // Copied, so a handler that replaces itself while it runs stays alive until it returns.
    const ApplicationErrorHandler handler = CurrentHandler();
    if (handler)
        handler(message);
    else
        ShowPlainErrorBox(message);
}

void ReportCurrentException()
{
    try {
        throw;
    } catch (const std::bad_alloc&) {
        // The library's own text would mean nothing to a user.
        ReportApplicationError(QString::fromStdString(Text(TextId::TxtDataStructureMemory)));
    } catch (const std::exception& error) {
        ReportApplicationError(QString::fromUtf8(error.what()));
    }
}

TKalvexApplication::TKalvexApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool TKalvexApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception&) {
        ReportCurrentException();
    }
    return false;
}
