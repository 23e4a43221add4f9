#pragma once
// Zooming the upper chart with the mouse: a rectangle dragged from left to right with the
// left button zooms in (never below one hour of time or 0.01 of value), dragged from
// right to left or a double-click undoes the zoom; dragging with the right button pans
// both value axes. The lower chart follows the upper chart's time axis throughout.

#include <QObject>
#include <QPoint>

#include <functional>
#include <string>

#include <qcustomplot.h>

class TChartView;

// The time axis as it was before the first zoom.
struct TCHARTZOOMCACHE {
    bool Zoomed = false;
    bool ExactDateTime = true;
    std::string DateTimeFormat;
    double Increment = 0;
};

class TChartZoom : public QObject {
    Q_OBJECT
public:
    // spanEntry: the selected time-window entry; updateValueAxes: runs after an undo.
    TChartZoom(TChartView& view, std::function<int()> spanEntry,
        std::function<void()> updateValueAxes, QObject* parent = nullptr);
    ~TChartZoom() override;

    const TCHARTZOOMCACHE& Cache() const { return cache; }
    bool Zoomed() const { return cache.Zoomed; }

    // After the rectangle zoom set the axes: minimum spans and the time labels.
    void ChartZoom();
    // The undo gesture: the axes and time labels as before the zoom, value axes anew.
    void ChartUndoZoom();
    // What navigation asks for before it moves the window: undoes a zoom in force.
    void UndoZoom();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ChartMouseDown(const QMouseEvent& event);
    void ChartMouseMove(const QMouseEvent& event);
    void ChartMouseUp();
    bool LeftRelease(const QMouseEvent& event);

    TChartView& view;
    QCustomPlot& chart;
    std::function<int()> spanEntry;
    std::function<void()> updateValueAxes;
    TCHARTZOOMCACHE cache;
    // The axes when the left button went down, and as they were before the first zoom.
    QCPRange pressTime, pressLeft, pressRight;
    QCPRange savedTime, savedLeft, savedRight;
    QPoint pressPos;
    bool rightDragging = false;
    double grabLeft = 0;
    double grabRight = 0;
};
