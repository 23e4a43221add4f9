#pragma once
// The fixed look of the analysis window's two charts: fonts, colours, walls, margins,
// axes and mouse behaviour. Applied once when the charts are set up.

class QCustomPlot;
class QFont;
class QColor;

// The font of every text on the charts.
QFont ChartFont();
// The colour around the plot area (the windows' background).
QColor ChartBackground();

// The upper chart: inputs on the left axis, other measured values on the right one;
// rectangle zoom with the left mouse button, no panning.
void ApplyUpperChartLook(QCustomPlot& chart);
// The lower chart: outputs in lanes on the left axis; the right axis only keeps the
// room of the upper chart's right axis (its texts are drawn in the background colour,
// so they never show); no zoom.
void ApplyLowerChartLook(QCustomPlot& chart);
