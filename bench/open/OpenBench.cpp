// The open dialog as a user meets it, offscreen unless a platform is chosen: "Analyse"
// clicked on a year of three participants until the analysis window's chart is painted,
// and Esc pressed a third of the way into loading ten years of five participants until
// the dialog takes input again. The ten years are written first (about half a minute).

#include "core/settings/IniSettings.h"
#include "support/BenchmarkWindow.h"
#include "support/BenchmarkYear.h"
#include "ui/analysis/Childform.h"
#include "ui/app/Mainform.h"
#include "ui/app/ProgramWindows.h"
#include "ui/common/MessageBox.h"
#include "ui/common/UiText.h"
#include "ui/open/DialogOpenAnalysis.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <qcustomplot.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <iostream>

namespace {

using TClock = std::chrono::steady_clock;

TMainform* form = nullptr;
const TBenchmarkYear* year = nullptr;
// Written when first needed, so that the chart benchmark alone starts at once.
const TBenchmarkDecade& Decade()
{
    static const TBenchmarkDecade decade;
    return decade;
}
// What the last message box said, and when.
QString lastMessage;
TClock::time_point lastMessageAt;

double Seconds(TClock::time_point from, TClock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

// Runs the action on the open dialog once it is shown, and returns when it has run.
void OnOpenDialog(const std::function<void(TDialogOpenAnalysis&)>& action)
{
    bool done = false;
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [&] {
        auto* dialog = qobject_cast<TDialogOpenAnalysis*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll->deleteLater();
        action(*dialog);
        done = true;
    });
    poll->start(1);
    while (!done)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
}

// "Open" from the main window, with the action on its dialog.
void OpenWith(const std::function<void(TDialogOpenAnalysis&)>& action)
{
    QTimer::singleShot(0, form->ActionOpen, &QAction::trigger);
    OnOpenDialog(action);
}

void CloseAnalysisWindows()
{
    for (TChildform* window : form->AnalysisWindows())
        window->close();
    QApplication::processEvents();
}

// Notes the first paint of the chart that shows the loaded analysis.
class TFirstPaint : public QObject {
public:
    TFirstPaint(TChildform& window, const TDialogOpenAnalysis& dialog)
        : window(window)
        , dialog(dialog)
    {
        window.Chart->installEventFilter(this);
    }
    bool Seen() const { return seen; }
    TClock::time_point At() const { return at; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (seen || event->type() != QEvent::Paint || dialog.IsLoading()
            || window.AnalysisSet().DayList().Count() == 0)
            return false;
        // The paint itself is part of the measure.
        static_cast<QObject*>(watched)->event(event);
        at = TClock::now();
        seen = true;
        return true;
    }

private:
    TChildform& window;
    const TDialogOpenAnalysis& dialog;
    bool seen = false;
    TClock::time_point at;
};

void AnalyseToFirstChart(benchmark::State& state)
{
    for (auto _ : state) {
        std::unique_ptr<TFirstPaint> paint;
        TClock::time_point pressed;
        OpenWith([&](TDialogOpenAnalysis& dialog) {
            dialog.RootDir->setText(QString::fromStdString(year->LogDirectory()));
            dialog.UpdateFileList();
            paint = std::make_unique<TFirstPaint>(*form->AnalysisWindows().last(), dialog);
            pressed = TClock::now();
            QTest::mouseClick(dialog.ExecuteBtn, Qt::LeftButton);
        });
        while (!paint->Seen())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        state.SetIterationTime(Seconds(pressed, paint->At()));
        if (form->AnalysisWindows().size() != 1
            || form->AnalysisWindows().first()->AnalysisSet().DayList().Count() == 0)
            state.SkipWithError("no analysis window");
        paint.reset();
        CloseAnalysisWindows();
    }
}

BENCHMARK(AnalyseToFirstChart)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// Esc is queued once the progress bar passes a third, as a keyboard does it.
void EscDuringTenYears(benchmark::State& state)
{
    std::cout << Decade().FileCount() << " log files written\n";
    double toMessage = 0;
    double filesAtPress = 0;
    for (auto _ : state) {
        TClock::time_point pressed;
        TClock::time_point usable;
        bool escaped = false;
        OpenWith([&](TDialogOpenAnalysis& dialog) {
            dialog.RootDir->setText(QString::fromStdString(Decade().LogDirectory()));
            dialog.UpdateFileList();
            const QMetaObject::Connection watch = QObject::connect(
                dialog.Progress, &QProgressBar::valueChanged, &dialog, [&](int value) {
                    if (escaped || value * 3 < dialog.Progress->maximum())
                        return;
                    escaped = true;
                    filesAtPress += value;
                    pressed = TClock::now();
                    QCoreApplication::postEvent(
                        &dialog, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
                    QCoreApplication::postEvent(
                        &dialog, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier));
                });
            QTest::mouseClick(dialog.ExecuteBtn, Qt::LeftButton);
            usable = TClock::now();
            QObject::disconnect(watch);
            if (!escaped || lastMessage != UiText(TextId::TxtAbortedByUser)
                || !dialog.ExecuteBtn->isEnabled() || !dialog.isVisible())
                state.SkipWithError("the load was not aborted");
            toMessage += Seconds(pressed, lastMessageAt);
            QTest::mouseClick(dialog.CancelBtn, Qt::LeftButton);
        });
        state.SetIterationTime(Seconds(pressed, usable));
        CloseAnalysisWindows();
    }
    state.counters["to_message_ms"]
        = benchmark::Counter(toMessage * 1000, benchmark::Counter::kAvgIterations);
    state.counters["files_at_press"]
        = benchmark::Counter(filesAtPress, benchmark::Counter::kAvgIterations);
}

BENCHMARK(EscDuringTenYears)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    const TBenchmarkYear yearLogs;
    year = &yearLogs;
    // Boxes are answered at once; the one an abort shows is noted.
    SetMessagePresenter([](const MessageRequest& request) {
        lastMessage = request.text;
        lastMessageAt = TClock::now();
        return MessageResult::Ok;
    });
    std::unique_ptr<TMainform> program = CreateProgramWindows();
    form = program.get();
    form->resize(1280, 900);
    form->show();
    // The dialog that start-up opens by itself is closed.
    OnOpenDialog([](TDialogOpenAnalysis& dialog) { dialog.close(); });

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    program.reset();
    ReleaseIniSettings();
    return 0;
}
