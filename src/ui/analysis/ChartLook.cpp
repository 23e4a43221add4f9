#include "ui/analysis/ChartLook.h"

#include "ui/analysis/TurnedAxisTitle.h"

#include <qcustomplot.h>

namespace {

constexpr int AxisFontPoints = 8;

void ApplyCommonLook(QCustomPlot& chart)
{
    TurnTitleLikeLeftAxis(*chart.yAxis2);
    const QFont font = ChartFont();
    chart.setFont(font);
    chart.setBackground(ChartBackground());
    chart.axisRect()->setBackground(Qt::white);
    chart.legend->setVisible(false);
    chart.legend->setFont(font);
    chart.setInteractions(QCP::Interactions());
    chart.setNoAntialiasingOnDrag(true);
    for (QCPAxis* axis : chart.axisRect()->axes()) {
        axis->setTickLabelFont(font);
        axis->setLabelFont(font);
        axis->setTickLength(0, 2);
        axis->setSubTickLength(0, 1);
    }
    chart.xAxis->setVisible(true);
    chart.yAxis->setVisible(true);
}

} // namespace

QFont ChartFont()
{
    QFont font(QStringLiteral("Arial"), AxisFontPoints);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QColor ChartBackground()
{
    return Qt::white;
}

void ApplyUpperChartLook(QCustomPlot& chart)
{
    ApplyCommonLook(chart);
    chart.yAxis2->grid()->setVisible(false);
    chart.setSelectionRectMode(QCP::srmZoom);
    chart.axisRect()->setRangeZoomAxes({chart.xAxis}, {chart.yAxis, chart.yAxis2});
}

void ApplyLowerChartLook(QCustomPlot& chart)
{
    ApplyCommonLook(chart);
    chart.setSelectionRectMode(QCP::srmNone);

    QCPAxis* lanes = chart.yAxis;
    lanes->grid()->setPen(QPen(QColor(140, 140, 140), 0, Qt::DotLine));
    lanes->setNumberFormat(QStringLiteral("f"));
    lanes->setNumberPrecision(0);

    QCPAxis* room = chart.yAxis2;
    room->setTickLabelColor(ChartBackground());
    room->setLabelColor(ChartBackground());
    room->setNumberFormat(QStringLiteral("f"));
    room->setNumberPrecision(0);
    auto roomTicks = QSharedPointer<QCPAxisTickerFixed>::create();
    roomTicks->setTickStep(100);
    roomTicks->setScaleStrategy(QCPAxisTickerFixed::ssMultiples);
    room->setTicker(roomTicks);
    room->grid()->setVisible(false);
}
