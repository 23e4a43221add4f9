#include "ui/analysis/NavigationWindowFixture.h"
#include "support/LoadedWindow.h"

#include "core/base/LanguageTable.h"
#include "core/loading/LoadLogFiles.h"
#include "core/logdata/LogAnalysis.h"
#include "core/settings/IniSettings.h"
#include "samplegen/SampleGenerator.h"
#include "ui/analysis/ChartView.h"
#include "ui/analysis/GraphPanel.h"
#include "ui/analysis/ValueSelector.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMouseEvent>
#include <QScrollArea>
#include <QTest>

#include <qcustomplot.h>

void NavigationWindowFixture::SetUp()
{
    SelectLanguage(2);
    for (const auto& [from, to] : {std::pair{CivilDate{2024, 3, 1}, CivilDate{2024, 3, 2}},
             std::pair{CivilDate{2024, 3, 5}, CivilDate{2024, 3, 5}}}) {
        TSampleOptions options;
        options.outputDir = samples.path().toStdString();
        options.from = from;
        options.to = to;
        options.devices = {10, 21};
        options.layout = TSampleLayout::Flat;
        options.faults = false;
        GenerateSampleLogs(options);
    }
    area.resize(1100, 760);
    area.show();
    TLoadResult result;
    child = OpenLoadedWindow(area, samples.path().toStdString(), At(3, 1), At(3, 5), result);
    ASSERT_TRUE(result.failures.empty());
    Repaint();
}

void NavigationWindowFixture::TearDown()
{
    area.closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ReleaseIniSettings();
    SelectLanguage(1);
}

TDateTime NavigationWindowFixture::At(int month, int day, int hour, int minute)
{
    return EncodeDate(2024, month, day) + hour / 24.0 + minute / 1440.0;
}

double NavigationWindowFixture::Start() const
{
    return child->ChartView().WindowStart();
}

double NavigationWindowFixture::End() const
{
    return child->ChartView().WindowEnd();
}

QString NavigationWindowFixture::Title() const
{
    return child->ChartTitle();
}

void NavigationWindowFixture::Choose(int entry)
{
    child->SpanTime->setCurrentIndex(entry);
    Repaint();
}

void NavigationWindowFixture::Tick(int device, const std::string& name)
{
    TLogAnalysis& analysis = *child->AnalysisSet().Analysis(device);
    int field = -1;
    ASSERT_TRUE(analysis.DeviceSettings()->IndexOfValue(name, field)) << name;
    auto* panel = dynamic_cast<TValueListPanel*>(analysis.ValuePanel());
    for (TGraphPanel* row : RowsOf(*panel->List()))
        if (row->ValueIndex() == field) {
            QTest::mouseClick(row->PlotBox, Qt::LeftButton, {}, QPoint(6, 8));
            return;
        }
    FAIL() << "no row for " << name;
}

void NavigationWindowFixture::Repaint()
{
    child->ChartView().RepaintNow();
}

QPoint NavigationWindowFixture::PixelAt(QCustomPlot* chart, double time, double value) const
{
    return QPoint(
        qRound(chart->xAxis->coordToPixel(time)), qRound(chart->yAxis->coordToPixel(value)));
}

void NavigationWindowFixture::Drag(QWidget* widget, QPoint from, QPoint to, Qt::MouseButton button,
    Qt::KeyboardModifiers modifiers)
{
    const QPointF global = widget->mapToGlobal(QPointF(from));
    QMouseEvent press(QEvent::MouseButtonPress, from, global, button, button, modifiers);
    QApplication::sendEvent(widget, &press);
    const QPoint middle = (from + to) / 2;
    for (const QPoint p : {middle, to}) {
        QMouseEvent move(
            QEvent::MouseMove, p, widget->mapToGlobal(QPointF(p)), Qt::NoButton, button, modifiers);
        QApplication::sendEvent(widget, &move);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, to, widget->mapToGlobal(QPointF(to)), button,
        Qt::NoButton, modifiers);
    QApplication::sendEvent(widget, &release);
}

void NavigationWindowFixture::Move(QWidget* widget, QPoint to)
{
    QMouseEvent move(QEvent::MouseMove, to, widget->mapToGlobal(QPointF(to)), Qt::NoButton,
        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}
