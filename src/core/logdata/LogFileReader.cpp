#include "core/logdata/LogFileReader.h"

#include "core/base/KalvexError.h"
#include "core/bus/BusVocabulary.h"
#include "core/logdata/LogCells.h"
#include "core/logdata/RecordCells.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <new>
#include <optional>

namespace {

constexpr std::string_view YearFirstHeader = "DATE & TIME";
constexpr std::string_view DayFirstHeader = "dd.mm.yy hh:mm";
constexpr std::string_view ErrorCell = "Err";

bool Contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

std::string_view Prefix(std::string_view text, size_t length)
{
    return text.substr(0, std::min(length, text.size()));
}

// The text before the first ";", the whole line when there is none.
std::string_view TimeStampCell(std::string_view line)
{
    return line.substr(0, line.find(';'));
}

double WholeMinutes(double days)
{
    return std::floor(days * MinutesPerDay + 0.5);
}

// Grows by half when full, so that adding one element after this cannot fail.
template <class T> void ReserveOneMore(std::vector<T>& list)
{
    if (list.size() == list.capacity())
        list.reserve(list.size() + list.size() / 2 + 4);
}

} // namespace

void TLogAnalysis::ReadLogFile(const std::string& path)
{
    TLogFileReader(path).ReadInto(*this);
}

TLogFileReader::TLogFileReader(std::string path)
    : path(std::move(path))
{
}

void TLogFileReader::FailInvalid() const
{
    Fail(TextId::TxtInvalidLogFile);
}

bool TLogFileReader::ConvertTimeStamp(std::string_view stamp, TDateTime& t)
{
    if (stamps.Parse(stamp, Order(), t))
        return true;
    pattern = pattern == TPattern::C ? TPattern::D : TPattern::C;
    return stamps.Parse(stamp, Order(), t);
}

void TLogFileReader::Prepare(bool readAhead)
{
    prepared = true;
    try {
        ReadText();
        ReadFileHeader();
    } catch (...) {
        textFailure = std::current_exception();
        return;
    }
    if (!readAhead)
        return;
    try {
        ReadAhead();
    } catch (...) {
        // Whatever stopped it, the device reads the records itself and meets it there.
        ahead.reset();
    }
}

void TLogFileReader::CheckText()
{
    if (!prepared)
        Prepare(false);
    if (textFailure)
        std::rethrow_exception(textFailure);
}

void TLogFileReader::ReadInto(TLogAnalysis& analysis)
{
    CheckText();
    ApplyHeader(analysis);
    TDay day(DayDate());
    const std::vector<double> known = KnownRecordTimes(analysis, day);
    // Room for the day and its file before anything of the file goes in: from here on
    // nothing fails, so a file either adds nothing or counts as loaded.
    ReserveOneMore(analysis.days);
    ReserveOneMore(analysis.files);
    std::string file = path;
    TSeriesSink sink(TargetSeries(), recordTimes);
    AddDayTotals();
    tookReadAhead = known.empty() && AheadFits(day, sink);
    if (tookReadAhead) {
        sink.Append(ahead->points);
        day = ahead->day;
        if (recordTimes)
            for (const TPointTime& time : ahead->points.records)
                recordTimes->push_back(time.x);
    } else {
        knownTimes = known.empty() ? nullptr : &known;
        ReadRecords(day, sink);
        knownTimes = nullptr;
    }
    analysis.days.push_back(day);
    analysis.files.push_back(std::move(file));
}

std::vector<double> TLogFileReader::KnownRecordTimes(const TLogAnalysis& analysis, const TDay& day)
{
    std::vector<double> known;
    const std::string* first = nullptr;
    for (size_t i = 0; i < analysis.days.size(); ++i) {
        if (analysis.days[i].dayDate != day.dayDate)
            continue;
        if (!first)
            first = &analysis.files[i];
        const std::vector<double> times = RecordTimesOf(analysis.files[i]);
        known.insert(known.end(), times.begin(), times.end());
    }
    if (known.empty())
        return known;
    std::sort(known.begin(), known.end());
    const std::vector<double> own = RecordTimes(day);
    const bool addsSome = std::any_of(own.begin(), own.end(),
        [&](double t) { return !std::binary_search(known.begin(), known.end(), t); });
    if (!own.empty() && !addsSome)
        Fail(TextId::TxtSameDayLoaded, "\n(" + *first + ")");
    return known;
}

std::vector<double> TLogFileReader::RecordTimesOf(const std::string& otherPath)
{
    // Read again rather than kept from its loading: files of a day found twice are rare,
    // and every other file would pay for keeping them.
    TLogFileReader other(otherPath);
    other.Prepare(false);
    if (other.textFailure || !other.header.valid || !other.header.stampValid)
        return {};
    try {
        other.pattern = other.header.pattern;
        other.HeaderTargets();
        return other.RecordTimes(TDay(other.DayDate()));
    } catch (const KalvexError&) {
        return {};
    }
}

std::vector<double> TLogFileReader::RecordTimes(TDay day)
{
    TRecordTimesSink sink(text.lines.size());
    ReadRecords(day, sink);
    return sink.TakeTimes();
}

void TLogFileReader::AddDayTotals()
{
    try {
        for (const TDayTotal& total : dayTotals)
            total.series->AddPoint(total.time, total.value);
    } catch (const std::bad_alloc&) {
        // As for the records: the file counts as loaded with what went in.
    }
}

void TLogFileReader::ReadText()
{
    if (!ReadWholeFile(path, text.bytes))
        Fail(TextId::TxtErrorOpeningFile, "\n\n" + std::filesystem::path(path).filename().string());
    if (completeLinesOnly) {
        // A line is complete at its CR already: its LF, still to come, ends an empty line.
        const std::size_t end = text.bytes.find_last_of("\r\n");
        text.bytes.resize(end == std::string::npos ? 0 : end + 1);
    }
    if (!SplitLogText(text))
        Fail(TextId::TxtNoMeasuredValues);
}

void TLogFileReader::ReadFileHeader()
{
    std::string_view rest = text.header;
    if ((!Contains(rest, YearFirstHeader) && !Contains(rest, DayFirstHeader))
        || !Contains(rest, ";"))
        return;
    header.valid = true;

    std::string_view stampHeader = TakeCell(rest);
    if (stampHeader != YearFirstHeader && stampHeader != DayFirstHeader) {
        header.logName = stampHeader;
        // Every record starts with the device-name cell too.
        for (auto& line : text.lines) {
            if (const size_t semicolon = line.find(';'); semicolon != std::string_view::npos)
                line.remove_prefix(semicolon + 1);
        }
        stampHeader = TakeCell(rest);
    }
    if (stampHeader == YearFirstHeader)
        header.pattern = TPattern::A;
    else if (stampHeader == DayFirstHeader)
        header.pattern = TPattern::B;
    else
        return;
    header.stampValid = true;

    while (!rest.empty())
        header.columns.push_back(ReadColumnHeader(TakeCell(rest)));
}

TLogFileReader::TColumnHeader TLogFileReader::ReadColumnHeader(std::string_view cell) const
{
    TColumnHeader column;
    auto split = SplitColumnHeader(cell);
    if (!split)
        return column;
    NormalisedUnit unit = NormaliseUnit(split->unit);
    column.kind = ValueKindOfUnit(unit.unit);
    if (column.kind == KindNone)
        return column;
    column.readable = true;
    column.name = std::move(split->name);
    column.unit = std::move(unit.unit);
    // The factor is held as a 32-bit number, so W become kW by 0.0010000000474974513.
    column.factor = static_cast<double>(unit.factor);
    column.dayTotal = cell.starts_with('Q');
    return column;
}

std::vector<bool> TLogFileReader::HeaderTargets()
{
    targets.clear();
    std::vector<bool> bars;
    for (size_t i = 0; i < header.columns.size(); ++i) {
        TColumnTarget& target = targets.emplace_back();
        bars.push_back(false);
        const TColumnHeader& column = header.columns[i];
        if (!column.readable || (column.dayTotal && DayTotal(static_cast<int>(i))))
            continue;
        target.read = true;
        target.factor = column.factor;
        bars.back() = column.kind == KindOther && column.dayTotal;
    }
    return bars;
}

void TLogFileReader::ReadAhead()
{
    if (!header.valid || !header.stampValid)
        return;
    pattern = header.pattern;
    const std::vector<bool> bars = HeaderTargets();
    const TPattern afterTotals = pattern;
    TDay day(DayDate());
    TReadAheadSink sink(bars, text.lines.size());
    ReadRecords(day, sink);
    if (!sink.Usable())
        return;
    std::vector<bool> read;
    for (const TColumnTarget& target : targets)
        read.push_back(target.read);
    ahead = TReadAhead{afterTotals, std::move(read), std::move(bars), day, sink.TakePoints()};
}

void TLogFileReader::ApplyHeader(TLogAnalysis& analysis)
{
    if (!header.valid)
        FailInvalid();
    IdentifyDevice(analysis);
    if (!header.stampValid)
        FailInvalid();
    pattern = header.pattern;
    targets.clear();
    dayTotals.clear();
    for (size_t i = 0; i < header.columns.size(); ++i)
        ApplyColumn(analysis, header.columns[i], static_cast<int>(i));
}

void TLogFileReader::IdentifyDevice(TLogAnalysis& analysis)
{
    const int busNumber = BusNumberFromPath(path);
    const DeviceIdentity identity = DeviceNameFromLog(busNumber, header.logName);
    auto& settings = analysis.deviceSettings;
    if (!settings)
        settings
            = std::make_unique<TDeviceSettings>(busNumber, identity.name, identity.automaticName);
    else if (!identity.automaticName && settings->GetName() != identity.name)
        Fail(TextId::TxtDuplicateDeviceNumber);
}

void TLogFileReader::ApplyColumn(TLogAnalysis& analysis, const TColumnHeader& column, int index)
{
    TColumnTarget& target = targets.emplace_back();
    if (!column.readable)
        return;
    TDeviceSettings& device = *analysis.deviceSettings;
    int field = analysis.FieldIndex(column.name);
    const bool known = field >= 0;
    if (!known) {
        device.AddValue(column.name, column.unit, column.kind);
        field = analysis.FieldIndex(column.name);
        analysis.InsertField(field, column.unit, column.kind, column.dayTotal);
    }
    TFieldSeries* series = analysis.Series(field);
    bool totalTaken = false;
    if (series && column.dayTotal) {
        // Added only once the file is known to load: a file that fails leaves no total.
        if (const std::optional<TStampedValue> total = DayTotal(index)) {
            dayTotals.push_back({series, total->time, total->value * column.factor});
            totalTaken = true;
        }
    }
    // Only after the day total, which may still find the file invalid.
    if (known && analysis.UnitOf(field) != column.unit)
        analysis.ShowUnitsWarning(column.name);
    if (!series || totalTaken)
        return;
    target.read = true;
    target.series = series;
    target.factor = column.factor;
}

std::vector<TFieldSeries*> TLogFileReader::TargetSeries() const
{
    std::vector<TFieldSeries*> series;
    series.reserve(targets.size());
    for (const TColumnTarget& target : targets)
        series.push_back(target.series);
    return series;
}

bool TLogFileReader::AheadFits(const TDay& day, const TSeriesSink& sink) const
{
    if (!ahead || ahead->pattern != pattern || ahead->day.dayDate != day.dayDate
        || ahead->read.size() != targets.size())
        return false;
    for (size_t i = 0; i < targets.size(); ++i) {
        // A column read takes its factor from the header either way.
        if (targets[i].read != ahead->read[i])
            return false;
    }
    return sink.CanAppend(ahead->bars);
}

void TLogFileReader::SplitLastRecord()
{
    lastRecordSplit = true;
    auto line = text.lines.rbegin();
    while (line != text.lines.rend() && line->empty())
        ++line;
    if (line == text.lines.rend())
        return;
    std::string_view rest = *line;
    if (rest.find(';') == std::string_view::npos)
        return;
    lastStamp = TakeCell(rest);
    for (;;) {
        const size_t semicolon = rest.find(';');
        lastCells.push_back(rest.substr(0, semicolon));
        if (semicolon == std::string_view::npos)
            return;
        rest.remove_prefix(semicolon + 1);
    }
}

std::optional<TLogFileReader::TStampedValue> TLogFileReader::DayTotal(int column)
{
    // Split once: a header of many day totals would otherwise walk the record per column.
    if (!lastRecordSplit)
        SplitLastRecord();
    if (static_cast<size_t>(column) >= lastCells.size())
        return std::nullopt;
    const std::string_view cell = lastCells[column];
    if (cell.empty() || cell == ErrorCell)
        return std::nullopt;
    double value = 0;
    if (!ParseLogNumber(cell, value))
        FailInvalid();
    TDateTime t = 0;
    if (!ConvertTimeStamp(lastStamp, t))
        return std::nullopt;
    return TStampedValue{t, value};
}

TDateTime TLogFileReader::DayDate()
{
    const auto& lines = text.lines;
    if (lines.empty())
        Fail(TextId::TxtNoMeasuredValues);
    // From the second record on, as the first may carry the day before; a line that is no
    // record (a logger's restart note) is passed over. The first record is the last resort.
    TDateTime date = 0;
    for (size_t i = 1; i < lines.size(); ++i) {
        if (TryDayDate(lines[i], date))
            return date;
    }
    if (!TryDayDate(lines[0], date))
        FailInvalid();
    return date;
}

bool TLogFileReader::TryDayDate(std::string_view line, TDateTime& date)
{
    const size_t patternLength = pattern == TPattern::A || pattern == TPattern::B ? 10 : 16;
    if (TryParseLogDate(Prefix(line, patternLength), Order(), date))
        return true;
    // Read as a day-first date and time; the stamp ends at the first cell's end at the
    // latest, so short forms such as 5.3.2007 9:05 are read too.
    const TPattern previous = pattern;
    pattern = TPattern::C;
    const bool ok = TryParseLogTimeStamp(TimeStampCell(Prefix(line, 16)), Order(), date);
    pattern = previous;
    // The day is the whole day, whatever time the stamp carried: sums are taken over
    // [day date, day date + 1).
    date = std::floor(date);
    return ok;
}

template <class Sink> void TLogFileReader::ReadRecords(TDay& day, Sink& sink)
{
    auto& lines = text.lines;
    if (targets.empty())
        Fail(TextId::TxtErrorOpeningFile);
    const TPattern recordsPattern = pattern;
    for (TColumnTarget& target : targets)
        target.continues = false;
    const std::optional<TDateTime> firstRecordDay = FirstRecordDay();
    pattern = recordsPattern;
    TRecordCells cells(text.bytes);
    sink.Begin();
    try {
        for (size_t i = 0; i < lines.size(); ++i)
            ReadRecord(day, cells, lines[i], i == 0 ? firstRecordDay : std::nullopt, sink);
        sink.End(day.last);
    } catch (const TBadRecord&) {
        // The records read so far stay.
    } catch (const std::bad_alloc&) {
        sink.OutOfMemory();
    }
    sink.Finish();
    day.last = day.dayDate + 1;
    pattern = recordsPattern;
}

std::optional<TDateTime> TLogFileReader::FirstRecordDay()
{
    // The first record takes the date of the second (loggers stamp a 00:00 record with the
    // day before), in whatever form the two dates are written; but only when it stays at
    // or before the second: 23:59 of the day before is just that.
    const auto& lines = text.lines;
    if (lines.size() < 2 || lines[0].size() <= 10 || lines[1].size() <= 10)
        return std::nullopt;
    const TPattern recordsPattern = pattern;
    TDateTime second = 0;
    if (!ConvertTimeStamp(TimeStampCell(lines[1]), second))
        return std::nullopt;
    pattern = recordsPattern;
    TDateTime first = 0;
    if (!ConvertTimeStamp(TimeStampCell(lines[0]), first))
        return std::nullopt;
    const TDateTime day = std::floor(second);
    if (day + (first - std::floor(first)) > second)
        return std::nullopt;
    return day;
}

template <class Sink>
void TLogFileReader::ReadRecord(TDay& day, TRecordCells& cells, std::string_view line,
    std::optional<TDateTime> onDay, Sink& sink)
{
    const size_t count = targets.size();
    cells.Split(line, count + 1);
    TDateTime t = 0;
    std::optional<TPointTime> plainTime;
    if (!ConvertTimeStamp(cells.Stamp(), t)) {
        // A text of neither stamp nor cells is a note of the logger's (a restart), not a
        // record that lost its cells: the records after it still count. An empty line
        // still ends the records.
        if (count > 0 && line.find(';') == std::string_view::npos
            && line.find_first_not_of(" \t") != std::string_view::npos)
            return;
        t = day.last + (day.interval != 0 ? day.interval : OneMinute);
    } else if (onDay)
        t = *onDay + (t - std::floor(t));
    else
        plainTime = stamps.PlainPointTime(t);
    // A time past the last encodable day could not be summed or shown.
    if (t >= EndOfDateRange)
        throw TBadRecord{};
    if (!day.firstRecordSeen) {
        day.firstRecordSeen = true;
        day.last = t;
    }
    if (day.interval == 0) {
        day.interval = t - day.last;
        day.intervalMinutes = WholeMinutes(day.interval);
    }
    bool opensGap = false;
    // The interval's minutes are its own rounded, and rounding keeps the order, so a step
    // no longer than the interval opens no gap.
    if (const double step = t - day.last;
        step > day.interval && day.intervalMinutes < WholeMinutes(step)) {
        day.interval = 0;
        day.intervalMinutes = MinutesPerDay;
        opensGap = true;
    }
    if (t < day.last)
        return;
    day.last = t;
    // Loaded from another file of the day already: the first file wins. Its cells are read
    // all the same, so that a bad one ends the records where it did in that file.
    const bool known = knownTimes && std::binary_search(knownTimes->begin(), knownTimes->end(), t);
    const TPointTime time = plainTime ? *plainTime : TPointTime(t);
    if (!known)
        sink.Record(time);

    // A record that ends before its last cell has begun is not readable; its cells before
    // the end count.
    const size_t complete = cells.Complete();
    const size_t readable = complete + 1 < count ? complete : count;
    for (size_t i = 0; i < readable; ++i) {
        TColumnTarget& target = targets[i];
        const std::string_view cell = cells.Cell(i);
        if (!target.read || cell.empty()) {
            target.continues = false;
            continue;
        }
        // The last cell was read as a number, so a cell of its bytes is no error mark.
        const std::uint64_t key = cells.Key(cell);
        if (key != 0 && target.lastKey != 0 ? key != target.lastKey
                                            : !cells.Same(cell, target.lastCell)) {
            if (cell == ErrorCell) {
                target.continues = false;
                continue;
            }
            double value = 0;
            if (!ParseLogNumber(cell, value))
                throw TBadRecord{};
            target.lastValue = target.factor != 1.0 ? value * target.factor : value;
            target.lastCell = cell;
            target.lastKey = key;
        }
        if (known) {
            target.continues = false;
            continue;
        }
        if (opensGap) {
            sink.Gap(i, t);
            target.continues = false;
        }
        sink.Value(i, time, target.lastValue, target.continues);
        target.continues = true;
    }
    if (readable < count)
        throw TBadRecord{};
}
