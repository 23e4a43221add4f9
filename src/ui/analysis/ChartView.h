#pragma once
// The analysis window's two stacked charts sharing one time axis: the upper one for the
// inputs (left axis) and the other measured values (right axis), the lower one for the
// outputs in lanes. Keeps both plot areas exactly aligned, both time axes on the same
// window, the placeholders that keep axes drawn without real series, the lane names and
// the value-axis scaling.

#include "ui/analysis/ChartSeriesTarget.h"

#include <QObject>
#include <QSize>
#include <QStringList>
#include <QTimer>

#include <array>
#include <memory>
#include <string>

class QCustomPlot;
class QCPGraph;
class QCPTextElement;
class QCPMarginGroup;
class QCPPainter;
class TDateTimeTicker;
class TLaneAxisTicker;

class TChartView : public QObject {
    Q_OBJECT
public:
    enum Placeholder { UpperLeft = 0, UpperRight = 1, LowerLeft = 2, LowerRight = 3 };

    // Sets both charts up; the time window is today.
    TChartView(QCustomPlot& chart, QCustomPlot& chart2, QObject* parent = nullptr);
    ~TChartView() override;

    QCustomPlot& Chart() const { return chart; }
    QCustomPlot& Chart2() const { return chart2; }
    TChartSeriesTarget& UpperTarget() { return upper; }
    TChartSeriesTarget& LowerTarget() { return lower; }

    // True when either chart draws a value.
    bool HasSeries() const { return upper.SeriesCount() + lower.SeriesCount() > 0; }
    // Takes every value off both charts (the series stay with their analyses).
    void RemoveAllSeries();

    // Axis titles: the upper chart's left and right axis and the lower chart's left axis.
    void SetAxisTitles(const QString& left, const QString& right, const QString& lowerLeft);

    // Attaches or detaches placeholders 0 (upper left), 3 (lower right) and 2 (lower
    // left); an attached placeholder keeps its axis and the grid drawn and sets the
    // axis title to " ". Placeholder 1 is never attached.
    void SetPlaceholders(bool upperLeft, bool lowerRight, bool lowerLeft);
    bool PlaceholderAttached(Placeholder which) const;

    // The lane names of the output chart in lane order; its left axis reaches down to
    // the last lane (−10 … 110 without lanes).
    void SetOutputLanes(const QStringList& names);
    QString OutputLaneName(int k) const;
    const QStringList& OutputLaneNames() const;

    // The upper chart's left axis: a fixed range (minimum and maximum in either order),
    // or fitted to the values shown in the time window.
    void SetFixedLeftRange(int axisMin, int axisMax);
    void ScaleValueAxes(bool dynamicScaling, int axisMin, int axisMax);

    // The time window of both charts, start … end in date-times.
    void SetTimeWindow(double end, double start);
    double WindowStart() const;
    double WindowEnd() const;
    // Label pattern and increment (days, 0 = automatic) of both time axes.
    void SetTimeLabelFormat(const std::string& pattern);
    std::string TimeLabelFormat() const;
    void SetTimeIncrement(double days);
    double TimeIncrement() const;
    void SetTimeExactDateTime(bool exact);
    bool TimeExactDateTime() const;

    // The upper chart's title (several lines allowed); empty hides it.
    void SetTitle(const QString& text);
    QString Title() const;
    // The lower chart's title, hidden on screen; pictures and printouts may show one.
    void SetLowerTitle(const QString& text);
    QString LowerTitle() const;

    // The room left and right of both charts, in percent of their width (1 on screen),
    // and above and below them, in percent of their height (1 on screen).
    void SetSideMargins(int percent);
    void SetVerticalMargins(int percent);

    // Draws one of the two charts laid out at the given size, margins included, with the
    // painter's origin as its top-left corner. The screen keeps showing what it showed;
    // the chart is laid out for the screen again at its next repaint.
    void DrawAtSize(QCustomPlot& plot, QCPPainter& painter, QSize size);

    // Repaints both charts now and again until their plot areas line up.
    void RepaintNow();

private:
    void FollowUpperTimeAxis(const QCPRange& range);
    void PrepareRepaint(QCustomPlot& plot);
    void NoteRepainted();
    void RepaintTimerTimer();
    void ApplyMargins();
    void UpdateMargins(QCustomPlot& plot);
    bool PlotAreasAligned() const;
    QCPGraph* MakePlaceholder(QCustomPlot& plot, QCPAxis* valueAxis);
    void SetPlaceholder(Placeholder which, bool attach);

    QCustomPlot& chart;
    QCustomPlot& chart2;
    TChartSeriesTarget upper;
    TChartSeriesTarget lower;
    QSharedPointer<TDateTimeTicker> timeTicker;
    QSharedPointer<TDateTimeTicker> timeTicker2;
    QSharedPointer<TLaneAxisTicker> laneTicker;
    QPointer<QCPTextElement> title;
    QPointer<QCPTextElement> lowerTitle;
    QPointer<QCPMarginGroup> marginGroup;
    std::array<QPointer<QCPGraph>, 4> placeholders;
    QTimer repaintTimer;
    bool repaintingForAlignment = false;
    int sideMarginPercent = 1;
    int verticalMarginPercent = 1;
};
