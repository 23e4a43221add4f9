// kalvex-screenshots SAMPLES OUTDIR LANG: pictures of the real program for the user
// manual. The program is started on the sample logs with a settings file of its own in
// the language LANG (1-7), and worked as a user works it: the open dialog, a day with the
// read-out, a month with markers A and B, the year's bars, the table and the settings
// dialog. Runs on any Qt platform; scripts/screenshots chooses the offscreen one.

#include "core/base/DateTime.h"
#include "core/loading/TimeWindow.h"
#include "core/logdata/LogAnalysis.h"
#include "core/settings/DeviceSettings.h"
#include "ui/analysis/ChartView.h"
#include "ui/analysis/Childform.h"
#include "ui/analysis/GraphPanel.h"
#include "ui/analysis/ValueReadout.h"
#include "ui/analysis/ValueSelector.h"
#include "ui/app/Mainform.h"
#include "ui/app/ProgramIdentity.h"
#include "ui/app/ProgramWindows.h"
#include "ui/common/ApplicationErrors.h"
#include "ui/open/DialogOpenAnalysis.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>

#include <qcustomplot.h>

#include <functional>
#include <iostream>
#include <stdexcept>

namespace {

// The time-window list's entries used here.
constexpr int SpanDay = 3;
constexpr int SpanMonth = 4;
constexpr int SpanYear = 6;

void WaitUntil(const std::function<bool()>& done, const char* what, int timeoutMs = 60000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            throw std::runtime_error(std::string("timed out waiting for ") + what);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

void Settle()
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 300)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Runs the action on the next modal dialog, once it is up and painted.
void OnNextModal(std::function<void(QWidget*)> action)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        QTimer::singleShot(400, modal, [modal, action] { action(modal); });
    });
    poll->start(50);
}

class TScreenshots {
public:
    TScreenshots(const QString& samples, const QString& outDir)
        : samples(samples)
        , outDir(outDir)
    {
    }

    void Run()
    {
        bool analysed = false;
        OnNextModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TDialogOpenAnalysis*>(modal);
            if (!dialog)
                throw std::runtime_error("the open dialog did not appear");
            Save(dialog, "open-dialog");
            dialog->ExecuteBtn->click();
            analysed = true;
        });
        form = CreateProgramWindows(samples);
        form->show();
        WaitUntil([&] { return analysed && !form->AnalysisWindows().isEmpty(); }, "the analysis");
        window = form->AnalysisWindows().first();
        WaitUntil([&] { return window->TabSetDevices->count() > 0; }, "the device tabs");
        window->showMaximized();
        Settle();

        DayWithReadout();
        MonthWithMarkers();
        YearBars();
        Table();
        SettingsDialog();
        form->close();
    }

private:
    void Save(QWidget* widget, const char* name)
    {
        Settle();
        const QString path = outDir + '/' + QString::fromLatin1(name) + QStringLiteral(".png");
        if (!widget->grab().save(path))
            throw std::runtime_error("cannot write " + path.toStdString());
        std::cout << path.toStdString() << "\n";
    }

    TLogAnalysis& Solar() { return *window->AnalysisSet().Analysis(0); }

    // Ticks or unticks a value of the solar controller as a click on its box does.
    void Show(const char* field, bool shown = true)
    {
        int index = -1;
        if (!Solar().DeviceSettings()->IndexOfValue(field, index))
            throw std::runtime_error(std::string("the solar controller has no ") + field);
        auto* panel = dynamic_cast<TValueListPanel*>(Solar().ValuePanel());
        for (TGraphPanel* row : RowsOf(*panel->List()))
            if (row->ValueIndex() == index && row->PlotBox->isChecked() != shown)
                row->PlotBox->click();
    }

    void ChooseWindow(int entry, TDateTime at)
    {
        window->SpanTime->setCurrentIndex(entry);
        const TAnalysisSet& set = window->AnalysisSet();
        const TSliderState state
            = SliderStateFor(entry, at, {set.RangeStart(), set.RangeEnd()}, set.DayList());
        window->SliderTime->setValue(state.position);
        Settle();
        window->ChartView().RepaintNow();
    }

    QPoint PixelAt(QCustomPlot* chart, TDateTime time) const
    {
        return QPoint(qRound(chart->xAxis->coordToPixel(time)),
            qRound(chart->yAxis->coordToPixel(chart->yAxis->range().center())));
    }

    void Mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
        Qt::KeyboardModifiers modifiers)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? button : Qt::NoButton;
        QMouseEvent event(type, at, widget->mapToGlobal(QPointF(at)), button, held, modifiers);
        QApplication::sendEvent(widget, &event);
    }

    void ShiftClick(TDateTime time)
    {
        const QPoint at = PixelAt(window->Chart, time);
        Mouse(window->Chart, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::ShiftModifier);
        Mouse(window->Chart, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::ShiftModifier);
    }

    void DayWithReadout()
    {
        window->TabSetDevices->setCurrentIndex(0);
        ChooseWindow(SpanDay, Day(6, 14));
        for (const char* field : {"T1", "T2", "R1"})
            Show(field);
        Settle();
        window->ChartView().RepaintNow();
        Mouse(window->Chart, QEvent::MouseMove, PixelAt(window->Chart, Day(6, 14) + 13.5 / 24),
            Qt::NoButton, Qt::NoModifier);
        Save(form.get(), "day-readout");
        window->Readout().HideReadout();
    }

    void MonthWithMarkers()
    {
        Show("R1", false);
        Show("P");
        ChooseWindow(SpanMonth, Day(6, 1));
        ShiftClick(Day(6, 8) + 0.5);
        ShiftClick(Day(6, 22) + 0.5);
        Save(form.get(), "month-markers");
        window->Readout().ClearMarkers();
    }

    void YearBars()
    {
        for (const char* field : {"T1", "T2", "P"})
            Show(field, false);
        ChooseWindow(SpanYear, Day(6, 1));
        Show("Ptag");
        Settle();
        window->ChartView().RepaintNow();
        Save(form.get(), "year-bars");
    }

    void Table()
    {
        form->ActionViewList->trigger();
        Save(form.get(), "table");
        form->ActionViewChart->trigger();
    }

    void SettingsDialog()
    {
        bool shown = false;
        OnNextModal([&](QWidget* modal) {
            Save(modal, "settings");
            modal->close();
            shown = true;
        });
        form->ActionWindowSettings->trigger();
        WaitUntil([&] { return shown; }, "the settings dialog");
    }

    TDateTime Day(int month, int day) const
    {
        TDateTime date = 0;
        TryEncodeDate(year, month, day, date);
        return date;
    }

    QString samples;
    QString outDir;
    int year = 2024;
    std::unique_ptr<TMainform> form;
    TChildform* window = nullptr;
};

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::cerr << "usage: kalvex-screenshots SAMPLES OUTDIR LANGUAGE-CODE\n";
        return 2;
    }
    // A settings file of its own, in the language asked for, never the user's.
    QTemporaryDir settings;
    qputenv("LocalAppData", settings.path().toLocal8Bit());
    QDir(settings.path()).mkpath(QStringLiteral("Velmora"));
    QFile ini(settings.path() + QStringLiteral("/Velmora/Kalvex.ini"));
    if (!ini.open(QIODevice::WriteOnly))
        return 1;
    // With the derived value the manual uses as its example.
    ini.write("[Main]\r\nLanguage=" + QByteArray(argv[3])
        + "\r\n[Derived:10]\r\nCount=1\r\nName1=dT\r\nUnit1=[K]\r\nFormula1=T1 - T2\r\n");
    ini.close();

    TKalvexApplication app(argc, argv);
    QApplication::setWindowIcon(ProgramIcon());
    QDir().mkpath(QString::fromLocal8Bit(argv[2]));
    try {
        TScreenshots shots(QDir::cleanPath(QDir(QString::fromLocal8Bit(argv[1])).absolutePath()),
            QString::fromLocal8Bit(argv[2]));
        shots.Run();
    } catch (const std::exception& e) {
        std::cerr << "kalvex-screenshots: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
