#pragma once
// Moving the analysis window through time: the time-window list, the slider, the jump
// buttons ("--", "++"), the scroll buttons ("-", "+", repeating every 25 ms while held,
// or on each space key) and the keys of the charts. After each move it brings the
// displays up to date that the move concerns: table, value axes, yield text, chart
// title and slider; a held scroll button only moves the window, slider and title.

#include "core/loading/TimeWindow.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class QComboBox;
class QKeyEvent;
class QSlider;
class QWidget;
class TAnalysisSet;
class TChartView;
class TChartZoom;
class TXPButton;

// What navigation asks of the analysis window.
class TNavigationHost {
public:
    virtual ~TNavigationHost() = default;
    virtual bool OverviewTabActive() const = 0;
    virtual void FillTable() = 0;
    virtual void UpdateValueAxes() = 0;
    virtual void RemoveAllSeries() = 0;
    virtual void BuildOverviewSelector() = 0;
    virtual void UpdateExcelAction() = 0;
};

struct TNavigationControls {
    QComboBox* SpanTime = nullptr;
    QSlider* SliderTime = nullptr;
    TXPButton* ButtonJumpLeft = nullptr;
    TXPButton* ButtonScrollLeft = nullptr;
    TXPButton* ButtonScrollRight = nullptr;
    TXPButton* ButtonJumpRight = nullptr;
};

class TTimeNavigation : public QObject {
    Q_OBJECT
public:
    static constexpr int ScrollIntervalMs = 25;

    TTimeNavigation(TAnalysisSet& analyses, TChartView& view, TChartZoom& zoom,
        TNavigationHost& host, const TNavigationControls& controls, QObject* parent = nullptr);
    ~TTimeNavigation() override;

    // The buttons' tooltips in the current language.
    void ApplyLanguage();

    int SpanEntry() const;
    TTimeSpan Window() const;

    // A new entry of the time-window list.
    void SpanTimeChange();
    // The slider was moved (by the user or by a button).
    void SliderTimeChange();
    void ButtonJumpClick(int step);
    void ButtonScrollClick(bool left);
    void ButtonScrollMouseDown(bool left);
    void ButtonScrollMouseUp();
    void ButtonScrollKeyDown(bool left);
    void ScrollStep(bool left);

    void ComputeRange(int kind);
    void ApplySpanTime(int kind);
    void SyncSlider();
    void UpdateYieldText();
    void UpdateChartTitle();
    const std::string& YieldText() const { return yieldText; }

    // The keys of the charts: Left and Right scroll one step, PageUp and PageDown jump,
    // Home and End go to the slider's first and last position. False for other keys.
    bool ChartKeyPress(const QKeyEvent& event);

    QTimer& ScrollTimer() { return scrollTimer; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Loaded() const;
    void ScrollTimerTick();
    void StopScrollTimer();
    void RefreshAfterMove(bool syncSlider);
    bool IsScrollButton(QObject* object, bool& left) const;

    TAnalysisSet& analyses;
    TChartView& view;
    TChartZoom& zoom;
    TNavigationHost& host;
    TNavigationControls controls;
    QTimer scrollTimer;
    QMetaObject::Connection tickHandler;
    std::string yieldText;
};
