#pragma once
// Where the values of a log file's records go, column by column: straight into the
// device's series, or into lists of points read ahead of the device. The lists take the
// series' rules for runs themselves, so that the device later only appends them; files of
// one device can so be read on several threads while the device takes them in date order.

#include "core/base/DateTime.h"
#include "core/logdata/FieldSeries.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A point read ahead: the record whose time it has, the column it belongs to, its value.
// The column and the null flag share a word, written whole.
struct TAheadPoint {
    static constexpr std::uint32_t NullBit = std::uint32_t(1) << 31;

    double y;
    std::uint32_t record;
    std::uint32_t columnAndNull;

    std::size_t Column() const { return columnAndNull & ~NullBit; }
    bool Null() const { return (columnAndNull & NullBit) != 0; }
};

// The points of a file's columns, read ahead, in the order the series take them, and the
// times of the records they came from. The last record's time closes every series with a
// break when the records ended readable.
struct TAheadPoints {
    std::vector<TPointTime> records;
    std::vector<TAheadPoint> points;
    bool complete = false;
    TDateTime end = 0;
};

// Into lists of points, as into series that start empty: a column counted as day bars
// keeps every value, any other stretches its runs. Record times must ascend (as a file's
// do), or the points are no good: a series would not stretch a run over a time going back.
class TReadAheadSink {
public:
    TReadAheadSink(const std::vector<bool>& bars, std::size_t records)
    {
        columns.reserve(bars.size());
        for (const bool bar : bars)
            columns.push_back({.bar = bar});
        points.records.reserve(records);
        // Each record adds at most a point per column, and a break only after a gap; so
        // the list is never copied on growing. The pages not written are never touched.
        points.points.reserve(records * columns.size());
    }

    void Begin() { }
    void Record(const TPointTime& time)
    {
        if (!points.records.empty() && !(points.records.back().x <= time.x))
            timesAscend = false;
        record = static_cast<std::uint32_t>(points.records.size());
        points.records.push_back(time);
    }
    void Gap(std::size_t column, TDateTime) { Add(column, 0.0, true); }
    void Value(std::size_t column, const TPointTime&, double value, bool continues)
    {
        // As the series does: the last two points hold the value and neither is a break.
        const TColumn& state = columns[column];
        if (continues && state.runOfTwo && state.y == value)
            points.points[state.last].record = record;
        else
            Add(column, value, false);
    }
    void End(TDateTime last)
    {
        points.complete = true;
        points.end = last;
    }
    void Finish() { }
    void OutOfMemory() { usable = false; }

    bool Usable() const { return usable && timesAscend; }
    TAheadPoints TakePoints() { return std::move(points); }

private:
    struct TColumn {
        bool bar = false;
        bool hasPoint = false;
        bool lastNull = false;
        // The last two points hold y and neither is a break; day bars never stretch.
        bool runOfTwo = false;
        double y = 0;
        std::uint32_t last = 0; // index of the column's last point
    };

    // The point at the latest record read. Inlined: it runs for about every third value.
    [[gnu::always_inline]] void Add(std::size_t column, double y, bool null)
    {
        TColumn& state = columns[column];
        state.runOfTwo = !state.bar && !null && state.hasPoint && !state.lastNull && state.y == y;
        state.hasPoint = true;
        state.lastNull = null;
        state.y = y;
        state.last = static_cast<std::uint32_t>(points.points.size());
        const std::uint32_t word
            = static_cast<std::uint32_t>(column) | (null ? TAheadPoint::NullBit : 0);
        points.points.push_back({y, record, word});
    }

    std::vector<TColumn> columns;
    TAheadPoints points;
    std::uint32_t record = 0; // the index of the latest record
    bool usable = true;
    bool timesAscend = true;
};

// Into nothing: only the records' times are kept.
class TRecordTimesSink {
public:
    explicit TRecordTimesSink(std::size_t records) { times.reserve(records); }

    void Begin() { }
    void Record(const TPointTime& time) { times.push_back(time.x); }
    void Gap(std::size_t, TDateTime) { }
    void Value(std::size_t, const TPointTime&, double, bool) { }
    void End(TDateTime) { }
    void Finish() { }
    void OutOfMemory() { }

    std::vector<double> TakeTimes() { return std::move(times); }

private:
    std::vector<double> times;
};

// Into the device's series; none for a column not read.
class TSeriesSink {
public:
    // The records' times go into the list too, when one is given.
    explicit TSeriesSink(std::vector<TFieldSeries*> series, std::vector<double>* times = nullptr)
        : series(std::move(series))
        , times(times)
    {
    }

    // A day that was read before (a copy of its file) goes into place in one pass.
    void Begin();
    void Record(const TPointTime& time)
    {
        if (times)
            times->push_back(time.x);
    }
    void Gap(std::size_t column, TDateTime t) { series[column]->AddNullPoint(t); }
    void Value(std::size_t column, const TPointTime& time, double value, bool continues)
    {
        TFieldSeries& target = *series[column];
        // A run of equal values keeps its first and its latest point. Day bars keep their
        // own rule (one bar per day), and a run is only stretched forward in time.
        if (!continues || target.KeepsOneBarPerDay() || !target.Points().StretchRun(time, value))
            target.AddPoint(time, value);
    }
    // The break after the last record, in every series that holds points.
    void End(TDateTime last);
    void Finish();
    // Out of memory: the file counts as loaded with what was read, as after a bad record.
    void OutOfMemory() { }

    // Whether points read ahead come out the same when appended as they stand: every
    // column as read ahead, no series twice, and no run that the series' last point could
    // continue. `bars` says which columns were read ahead as day bars.
    bool CanAppend(const std::vector<bool>& bars) const;
    void Append(const TAheadPoints& points);

private:
    std::vector<TFieldSeries*> series;
    std::vector<double>* times;
};
