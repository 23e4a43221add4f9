#pragma once
// One field's series: its points and everything a chart needs to draw them. Restyling
// changes only how the points are drawn; the points themselves are never copied.
//
// A series made for day sums keeps one bar per calendar day at the day's midday: a later
// reading of the same day replaces the earlier one (cumulative day counters), and null
// points are ignored until breaks between days are accepted.

#include "core/logdata/PointSeries.h"
#include "core/settings/DeviceSettings.h"

#include <cstdint>
#include <optional>
#include <string>

enum class TDrawingKind {
    Line, // plain line (inputs)
    OffsetLine, // line shifted by the offset; outputs draw it as stairs
    OffsetArea, // area shifted by the offset, filled down to the offset
    SumBars, // one bar per day (or month)
    SumLine, // the sums drawn as a line
};

enum class TVerticalAxis { Left, Right };

enum class TBarWidthMode {
    Automatic75Percent, // 75 % of the bar slot, sized by the chart
    Pixels, // fixed width in pixels (monthly bars: the plot width ÷ 36)
};

struct TSeriesStyle {
    TDrawingKind kind = TDrawingKind::Line;
    bool stairs = false;
    std::int32_t offset = 0; // in value units; the lanes of the output chart
    TColor color = 0;
    int penWidth = 1;
    std::string title;
    TVerticalAxis axis = TVerticalAxis::Left;
    TBarWidthMode barWidthMode = TBarWidthMode::Automatic75Percent;
    int barWidthPixels = 0; // used with TBarWidthMode::Pixels
};

struct TValueRange {
    double smallest = 0;
    double largest = 0;
};

class TFieldSeries {
public:
    // A series created as sum bars keeps the one-bar-per-day rule for its whole life,
    // whatever it is later drawn as.
    explicit TFieldSeries(TDrawingKind kind, bool stairs = false);

    const TPointSeries& Points() const { return points; }
    // Direct access adds and changes points without the day-bar rule.
    TPointSeries& Points() { return points; }

    bool KeepsOneBarPerDay() const { return oneBarPerDay; }

    // Adds a reading: a day-bar series by the day rule (returns the bar's index),
    // any other series in time order.
    int AddPoint(double x, double y) { return AddPoint(TPointTime(x), y); }
    int AddPoint(const TPointTime& t, double y)
    {
        return oneBarPerDay ? AddDayBar(t.x, y) : points.AddPoint(t, y);
    }
    // A day-bar series ignores null points (returns −1) unless it accepts them.
    int AddNullPoint(double x);
    // Removes every point; a day-bar series starts over with no last day.
    void Clear();

    int LastDay() const { return lastDay; }
    int LastIndex() const { return lastIndex; }
    bool AcceptNulls() const { return acceptNulls; }
    void SetAcceptNulls(bool accept) { acceptNulls = accept; }

    // Cursor of the day integral; kept between calls so consecutive days walk once.
    int SearchIndex = 0;

    const TSeriesStyle& Style() const { return style; }
    TSeriesStyle& Style() { return style; }

    // The values the chart's automatic scaling must see, null points left out: an offset
    // line is shifted by its offset, an offset area also takes in its base line (the
    // offset), bars take in their origin 0. None while there is no value.
    std::optional<TValueRange> ValueRange() const;
    // The same rules over what a chart showing the times fromX … toX draws: the points in
    // that window and, for lines, the nearest point on each side, whose line crosses into
    // the window (a run of equal values is stored as just its two ends).
    std::optional<TValueRange> ValueRangeBetween(double fromX, double toX) const;

private:
    std::optional<TValueRange> ValueRangeOfPoints(int first, int end) const;
    int AddDayBar(double x, double y);
    void NoteInsertion(int index);

    TPointSeries points;
    TSeriesStyle style;
    bool oneBarPerDay;
    int lastDay = -1;
    int lastIndex = 0;
    bool hasLastBar = false;
    bool acceptNulls = false;
};
