#include "ui/analysis/ValueReadout.h"

#include "core/base/DateTime.h"
#include "core/base/Numbers.h"
#include "core/loading/AnalysisSet.h"
#include "core/logdata/LogAnalysis.h"
#include "core/logdata/ShownValues.h"
#include "ui/analysis/ChartView.h"
#include "ui/analysis/SeriesPlottable.h"

#include <QCursor>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include <qcustomplot.h>

#include <cmath>

namespace {

constexpr int PointerGap = 16;
const QString NoValue = QStringLiteral("\u2013");
const std::array<QColor, 2> MarkerColours{QColor(190, 30, 30), QColor(30, 60, 190)};
const std::array<QString, 2> MarkerNames{QStringLiteral("A"), QStringLiteral("B")};

QString TimeText(double t)
{
    return QString::fromStdString(FormatDateTime("dd.mm.yyyy hh:nn", t));
}

QString Amount(double value)
{
    return QString::fromStdString(FormatAmount(value));
}

// "1 d 02:30" or "02:30", with a minus sign when B lies before A.
QString DurationText(double days)
{
    const long long minutes = std::llround(std::abs(days) * MinutesPerDay);
    const long long whole = minutes / 1440;
    QString text = QStringLiteral("%1:%2")
                       .arg((minutes % 1440) / 60, 2, 10, QChar('0'))
                       .arg(minutes % 60, 2, 10, QChar('0'));
    if (whole > 0)
        text = QStringLiteral("%1 d ").arg(whole) + text;
    return days < 0 ? QStringLiteral("\u2212") + text : text;
}

QLabel* MakeBox(QWidget& overlay)
{
    auto* label = new QLabel(&overlay);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setTextFormat(Qt::RichText);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setMargin(3);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, QColor(255, 255, 238));
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->hide();
    return label;
}

QString Cell(const QString& text, const QString& attributes = {})
{
    return QStringLiteral("<td %1>%2</td>").arg(attributes, text);
}

} // namespace

TValueReadout::TValueReadout(
    TChartView& view, TAnalysisSet& analyses, QWidget& overlay, QObject* parent)
    : QObject(parent)
    , view(view)
    , analyses(analyses)
    , overlay(overlay)
{
    line = new QFrame(&overlay);
    line->setAttribute(Qt::WA_TransparentForMouseEvents);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, QColor(90, 90, 90));
    line->setPalette(palette);
    line->hide();
    box = MakeBox(overlay);
    markerBox = MakeBox(overlay);
    for (QCustomPlot* chart : {&view.Chart(), &view.Chart2()}) {
        chart->setMouseTracking(true);
        chart->installEventFilter(this);
    }
    connect(view.Chart().xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
        &TValueReadout::RefreshSoon);
}

void TValueReadout::RefreshSoon()
{
    // A move by key or slider changes the range several times; one refresh follows them.
    if (refreshPending)
        return;
    refreshPending = true;
    QMetaObject::invokeMethod(this, &TValueReadout::Refresh, Qt::QueuedConnection);
}

void TValueReadout::Refresh()
{
    refreshPending = false;
    UpdateMarkerBox();
    if (box->isVisible() && pointerChart)
        ShowAt(*pointerChart, pointer);
}

TValueReadout::~TValueReadout() = default;

bool TValueReadout::eventFilter(QObject* watched, QEvent* event)
{
    auto* chart = qobject_cast<QCustomPlot*>(watched);
    if (!chart)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove:
        ShowAt(*chart, static_cast<QMouseEvent*>(event)->position().toPoint());
        break;
    case QEvent::Leave:
        // Showing the line under the pointer makes the window system report a leave.
        if (!chart->rect().contains(chart->mapFromGlobal(QCursor::pos())))
            HideReadout();
        break;
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint p = mouse->position().toPoint();
        if (mouse->button() == Qt::LeftButton && mouse->modifiers() & Qt::ShiftModifier
            && chart->axisRect()->rect().contains(p)) {
            SetMarker(chart->xAxis->pixelToCoord(p.x()));
            return true;
        }
        break;
    }
    case QEvent::Hide:
    case QEvent::Show:
        // The table view takes the charts' place: the boxes go with the charts.
        if (chart == &view.Chart()) {
            HideReadout();
            UpdateMarkerBox();
        }
        break;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && markers[0]) {
            ClearMarkers();
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

std::vector<TValueReadout::TShownValue> TValueReadout::ShownValues() const
{
    std::vector<TShownValue> shown;
    for (const auto& analysis : analyses.Analyses()) {
        if (!analysis || !analysis->DeviceSettings())
            continue;
        for (int field = 0; field < analysis->FieldRecordCount(); ++field) {
            TFieldSeries* series = analysis->Series(field);
            if (series && (view.UpperTarget().Holds(*series) || view.LowerTarget().Holds(*series)))
                shown.push_back({analysis.get(), field, series});
        }
    }
    return shown;
}

QString TValueReadout::Unit(const TShownValue& value) const
{
    QString unit = QString::fromStdString(value.analysis->UnitOf(value.field));
    if (unit.startsWith('[') && unit.endsWith(']'))
        unit = unit.mid(1, unit.size() - 2);
    return unit;
}

QString TValueReadout::ValueText(const TShownValue& value, double time) const
{
    const std::optional<double> v = ShownValueAt(*value.analysis, value.field, time);
    return v ? Amount(*v) + ' ' + Unit(value) : NoValue;
}

namespace {

QString LabelCell(const TFieldSeries& series)
{
    return Cell(QString::fromStdString(series.Style().title).toHtmlEscaped(),
        QStringLiteral("style=\"color:%1\"").arg(ChartColor(series.Style().color).name()));
}

} // namespace

QString TValueReadout::ReadoutText(double time)
{
    QString text = QStringLiteral("<b>%1</b><table cellspacing=\"0\" cellpadding=\"1\">")
                       .arg(TimeText(time));
    for (const TShownValue& value : ShownValues())
        text += QStringLiteral("<tr>") + LabelCell(*value.series)
            + Cell(ValueText(value, time), QStringLiteral("align=\"right\"")) + "</tr>";
    return text + QStringLiteral("</table>");
}

QString TValueReadout::MarkerText()
{
    if (!markers[0] || !markers[1])
        return {};
    const double a = *markers[0];
    const double b = *markers[1];
    const QString right = QStringLiteral("align=\"right\" style=\"padding-left:8px\"");
    QString text = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"1\"><tr><td></td>");
    for (const QString& head : {MarkerNames[0], MarkerNames[1], QStringLiteral("B \u2212 A"),
             QStringLiteral("A \u2192 B")})
        text += Cell(QStringLiteral("<b>%1</b>").arg(head), right);
    text += QStringLiteral("</tr><tr><td></td>") + Cell(TimeText(a), right)
        + Cell(TimeText(b), right) + Cell(DurationText(b - a), right)
        + QStringLiteral("<td></td></tr>");
    for (const TShownValue& value : ShownValues()) {
        const TMarkerComparison m = CompareAtMarkers(*value.analysis, value.field, a, b);
        const QString unit = Unit(value);
        const auto withUnit = [](const std::optional<double>& v, const QString& unit) {
            return v ? Amount(*v) + ' ' + unit : NoValue;
        };
        QString amount;
        if (m.amount) {
            const QString amountUnit = QString::fromStdString(m.amountUnit);
            amount = withUnit(m.amount, amountUnit.mid(1, amountUnit.size() - 2));
        }
        text += QStringLiteral("<tr>") + LabelCell(*value.series)
            + Cell(withUnit(m.atStart, unit), right) + Cell(withUnit(m.atEnd, unit), right)
            + Cell(withUnit(m.change, unit), right) + Cell(amount, right) + QStringLiteral("</tr>");
    }
    return text + QStringLiteral("</table>");
}

void TValueReadout::ShowAt(QCustomPlot& chart, QPoint position)
{
    const QRect plot = chart.axisRect()->rect();
    if (!plot.contains(position)) {
        HideReadout();
        return;
    }
    pointerChart = &chart;
    pointer = position;
    const double time = chart.xAxis->pixelToCoord(position.x());
    QCustomPlot& upper = view.Chart();
    QCustomPlot& lower = view.Chart2();
    const int x = chart.mapTo(&overlay, position).x();
    const int top = upper.mapTo(&overlay, QPoint(0, upper.axisRect()->rect().top())).y();
    const int bottom = lower.mapTo(&overlay, QPoint(0, lower.axisRect()->rect().bottom())).y();
    line->setGeometry(x, top, 1, std::max(bottom - top, 1));
    line->show();
    line->raise();
    box->setText(ReadoutText(time));
    box->adjustSize();
    PlaceBox(box, chart.mapTo(&overlay, position));
    box->show();
    box->raise();
}

void TValueReadout::PlaceBox(QLabel* label, QPoint pointer)
{
    // Beside the pointer, never under it: right and below, else left or above.
    QPoint at = pointer + QPoint(PointerGap, PointerGap);
    if (at.x() + label->width() > overlay.width())
        at.setX(pointer.x() - PointerGap - label->width());
    if (at.y() + label->height() > overlay.height())
        at.setY(pointer.y() - PointerGap - label->height());
    label->move(std::max(at.x(), 0), std::max(at.y(), 0));
}

void TValueReadout::HideReadout()
{
    line->hide();
    box->hide();
}

void TValueReadout::SetMarker(double time)
{
    if (!markers[0] || markers[1]) {
        markers = {time, std::nullopt};
    } else {
        markers[1] = time;
    }
    UpdateMarkers();
}

void TValueReadout::ClearMarkers()
{
    markers = {};
    UpdateMarkers();
}

void TValueReadout::UpdateMarkers()
{
    QCustomPlot* charts[2] = {&view.Chart(), &view.Chart2()};
    for (int m = 0; m < 2; ++m) {
        for (int c = 0; c < 2; ++c) {
            QPointer<QCPItemStraightLine>& item = markerLines[m][c];
            if (item)
                charts[c]->removeItem(item);
            if (!markers[m])
                continue;
            item = new QCPItemStraightLine(charts[c]);
            item->setPen(QPen(MarkerColours[m], 1, Qt::DashLine));
            item->point1->setCoords(*markers[m], 0);
            item->point2->setCoords(*markers[m], 1);
        }
        if (markerLetters[m])
            charts[0]->removeItem(markerLetters[m]);
        if (markers[m]) {
            auto* letter = new QCPItemText(charts[0]);
            letter->position->setTypeX(QCPItemPosition::ptPlotCoords);
            letter->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
            letter->position->setCoords(*markers[m], 0);
            letter->setPositionAlignment(Qt::AlignHCenter | Qt::AlignTop);
            letter->setText(MarkerNames[m]);
            letter->setColor(MarkerColours[m]);
            letter->setFont(view.Chart().font());
            markerLetters[m] = letter;
        }
        charts[0]->replot(QCustomPlot::rpQueuedReplot);
        charts[1]->replot(QCustomPlot::rpQueuedReplot);
    }
    UpdateMarkerBox();
}

void TValueReadout::UpdateMarkerBox()
{
    const QString text = MarkerText();
    markerBox->setVisible(!text.isEmpty() && view.Chart().isVisible());
    if (text.isEmpty())
        return;
    markerBox->setText(text);
    markerBox->adjustSize();
    QCustomPlot& upper = view.Chart();
    markerBox->move(upper.mapTo(&overlay, upper.axisRect()->rect().topLeft() + QPoint(8, 8)));
    markerBox->raise();
}
