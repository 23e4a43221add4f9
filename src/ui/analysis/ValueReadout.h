#pragma once
// The read-out under the pointer: moving over either chart draws a thin vertical line
// through both charts and a small box beside the pointer with the time and, for every
// value shown, its label in its colour and its value there. Shift+click sets marker A,
// a second one marker B (a third starts again, Esc clears both); with both set a second
// box compares them: times, values, differences, the time between them, and the energy
// or volume of each power and flow value from A to B.

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

#include <array>
#include <optional>
#include <vector>

class QCustomPlot;
class QCPItemStraightLine;
class QCPItemText;
class QFrame;
class QLabel;
class QWidget;
class TAnalysisSet;
class TChartView;
class TFieldSeries;
class TLogAnalysis;

class TValueReadout : public QObject {
    Q_OBJECT
public:
    // The line and the boxes are laid over the charts inside `overlay`, which holds both.
    TValueReadout(
        TChartView& view, TAnalysisSet& analyses, QWidget& overlay, QObject* parent = nullptr);
    ~TValueReadout() override;

    // The read-out at a chart position (pixels of that chart); hidden outside its plot area.
    void ShowAt(QCustomPlot& chart, QPoint position);
    void HideReadout();
    // The texts of the boxes (rich text).
    QString ReadoutText(double time);
    QString MarkerText();

    // Brings the boxes up to the values shown and the time window: the marker box, and the
    // read-out where the pointer last stood (the window may have moved under it by key).
    // Runs by itself when the time window changes, once the events queued with it are done.
    void Refresh();

    // Marker A, then B, then A again with B cleared.
    void SetMarker(double time);
    void ClearMarkers();
    std::optional<double> MarkerA() const { return markers[0]; }
    std::optional<double> MarkerB() const { return markers[1]; }

    QLabel* Box() const { return box; }
    QLabel* MarkerBox() const { return markerBox; }
    QFrame* Line() const { return line; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TShownValue {
        TLogAnalysis* analysis;
        int field;
        TFieldSeries* series;
    };
    std::vector<TShownValue> ShownValues() const;
    QString ValueText(const TShownValue& value, double time) const;
    QString Unit(const TShownValue& value) const;
    void UpdateMarkers();
    void UpdateMarkerBox();
    void RefreshSoon();
    void PlaceBox(QLabel* label, QPoint pointer);

    TChartView& view;
    TAnalysisSet& analyses;
    QWidget& overlay;
    QPointer<QFrame> line;
    QPointer<QLabel> box;
    QPointer<QLabel> markerBox;
    std::array<std::optional<double>, 2> markers;
    // A line on each chart per marker, and the marker's letter on the upper chart.
    std::array<std::array<QPointer<QCPItemStraightLine>, 2>, 2> markerLines;
    std::array<QPointer<QCPItemText>, 2> markerLetters;
    // Where the read-out was last asked for, in that chart's pixels.
    QPointer<QCustomPlot> pointerChart;
    QPoint pointer;
    bool refreshPending = false;
};
