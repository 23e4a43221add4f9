#include "ui/analysis/SeriesGraph.h"

#include <cmath>

namespace {

bool IsGap(const QPointF& point)
{
    return std::isnan(point.x()) || std::isnan(point.y()) || std::isinf(point.y());
}

} // namespace

TSeriesGraph::TSeriesGraph(QCPAxis* keyAxis, QCPAxis* valueAxis)
    : QCPGraph(keyAxis, valueAxis)
{
}

void TSeriesGraph::drawLinePlot(QCPPainter* painter, const QVector<QPointF>& lines) const
{
    if (painter->pen().style() == Qt::NoPen || painter->pen().color().alpha() == 0)
        return;
    applyDefaultAntialiasingHint(painter);
    const int columns = keyAxis() && keyAxis()->axisRect() ? keyAxis()->axisRect()->width() : 0;
    if (lines.size() > 2 * columns)
        painter->setAntialiasing(false);
    QVector<QLineF> segments;
    segments.reserve(lines.size());
    for (int i = 1; i < lines.size(); ++i)
        if (!IsGap(lines[i - 1]) && !IsGap(lines[i]))
            segments.append(QLineF(lines[i - 1], lines[i]));
    painter->drawLines(segments);
}
