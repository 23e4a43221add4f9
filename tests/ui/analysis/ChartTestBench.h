#pragma once
// Two charts stacked as in the analysis window, with the chart view over them, and
// helpers to look at what they draw.

#include "core/logdata/FieldSeries.h"
#include "ui/analysis/ChartView.h"

#include <qcustomplot.h>

#include <QImage>
#include <QWidget>

#include <memory>

class TChartTestBench {
public:
    TChartTestBench(int width = 700, int height = 480);

    QWidget host;
    QCustomPlot* chart;
    QCustomPlot* chart2;
    std::unique_ptr<TChartView> view;

    // Repaints both charts and returns what the chart shows.
    QImage Render(QCustomPlot& plot);
};

// A series of the given kind with points (x, y); NaN values become null points.
std::unique_ptr<TFieldSeries> MakeSeries(TDrawingKind kind,
    std::initializer_list<std::pair<double, double>> points, TColor color = 255,
    TVerticalAxis axis = TVerticalAxis::Left);

// True when a pixel of the colour lies within `radius` pixels of (x, y).
bool ColourNear(const QImage& image, double x, double y, const QColor& colour, int radius = 2);
