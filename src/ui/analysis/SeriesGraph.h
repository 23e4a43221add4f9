#pragma once
// A graph that draws its line as separate segments. A long polyline with a pen wider than
// one pixel makes the painter join every vertex with the next, which takes seconds for a
// year of minute values; segments take milliseconds and look the same. Lines with
// several points per pixel column (a reduced dense series) are drawn without smoothing,
// which would cost much there and show nothing.

#include <qcustomplot.h>

class TSeriesGraph : public QCPGraph {
    Q_OBJECT
public:
    TSeriesGraph(QCPAxis* keyAxis, QCPAxis* valueAxis);

protected:
    void drawLinePlot(QCPPainter* painter, const QVector<QPointF>& lines) const override;
};
