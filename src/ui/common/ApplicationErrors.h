#pragma once
// The one road of errors that nobody else handles: exceptions escaping event handlers,
// failures that a loop reports and goes on after, and the reader's warnings. The main
// window installs its error display; until then a plain error box shows the text.

#include <QApplication>
#include <QString>

#include <functional>

using ApplicationErrorHandler = std::function<void(const QString& message)>;

// Returns the handler it replaces. The owner, if given, may clear it later.
ApplicationErrorHandler SetApplicationErrorHandler(
    ApplicationErrorHandler handler, const void* owner = nullptr);
// Clears the handler only when the owner installed the current one.
void ClearApplicationErrorHandler(const void* owner);

void ReportApplicationError(const QString& message);

// Reports the exception in flight; to be called inside a catch block.
void ReportCurrentException();

// Runs a command of a slot or event handler; what it raises goes to the error display and
// the program goes on. Nothing may unwind through Qt's event dispatch: Qt is not
// exception-safe there and leaks the event's data each time.
template <typename Command> void RunGuarded(Command&& command)
{
    try {
        command();
    } catch (const std::exception&) {
        ReportCurrentException();
    }
}

// The function as a slot (taking none of the signal's arguments) that runs it guarded.
template <typename Function> auto Guarded(Function function)
{
    return [function = std::move(function)] { RunGuarded(function); };
}

// The last resort for what escapes a handler nonetheless: reported, so the program goes on.
class TKalvexApplication : public QApplication {
public:
    TKalvexApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
