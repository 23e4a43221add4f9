#include "ChartTestBench.h"

#include <QVBoxLayout>

#include <cmath>

TChartTestBench::TChartTestBench(int width, int height)
{
    auto* layout = new QVBoxLayout(&host);
    layout->setContentsMargins(0, 0, 0, 0);
    chart = new QCustomPlot(&host);
    chart2 = new QCustomPlot(&host);
    chart2->setFixedHeight(120);
    layout->addWidget(chart, 1);
    layout->addWidget(chart2);
    host.resize(width, height);
    host.show();
    view = std::make_unique<TChartView>(*chart, *chart2);
}

QImage TChartTestBench::Render(QCustomPlot& plot)
{
    view->RepaintNow();
    return plot.toPixmap(plot.width(), plot.height()).toImage();
}

std::unique_ptr<TFieldSeries> MakeSeries(TDrawingKind kind,
    std::initializer_list<std::pair<double, double>> points, TColor color, TVerticalAxis axis)
{
    auto series = std::make_unique<TFieldSeries>(kind);
    for (const auto& [x, y] : points) {
        if (std::isnan(y))
            series->AddNullPoint(x);
        else
            series->AddPoint(x, y);
    }
    series->Style().color = color;
    series->Style().axis = axis;
    series->Style().penWidth = 2;
    return series;
}

bool ColourNear(const QImage& image, double x, double y, const QColor& colour, int radius)
{
    const int cx = static_cast<int>(std::lround(x));
    const int cy = static_cast<int>(std::lround(y));
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const QPoint p(cx + dx, cy + dy);
            if (image.valid(p) && image.pixelColor(p).rgb() == colour.rgb())
                return true;
        }
    return false;
}
