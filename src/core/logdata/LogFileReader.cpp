#include "core/logdata/LogFileReader.h"

#include "core/base/KalvexError.h"
#include "core/bus/BusVocabulary.h"
#include "core/logdata/LogCells.h"

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

} // namespace

void TLogAnalysis::ReadLogFile(const std::string& path)
{
    TLogFileReader(*this, path).Read();
}

TLogFileReader::TLogFileReader(TLogAnalysis& analysis, const std::string& path)
    : analysis(analysis)
    , path(path)
{
}

void TLogFileReader::FailInvalid() const
{
    Fail(TextId::TxtInvalidLogFile);
}

TDateOrder TLogFileReader::Order() const
{
    return pattern == TPattern::A || pattern == TPattern::D ? TDateOrder::YearMonthDay
                                                            : TDateOrder::DayMonthYear;
}

bool TLogFileReader::ConvertTimeStamp(std::string_view stamp, TDateTime& t)
{
    if (stamps.Parse(stamp, Order(), t))
        return true;
    pattern = pattern == TPattern::C ? TPattern::D : TPattern::C;
    return stamps.Parse(stamp, Order(), t);
}

void TLogFileReader::Read()
{
    if (!ReadWholeFile(path, text.bytes))
        Fail(TextId::TxtErrorOpeningFile, "\n\n" + std::filesystem::path(path).filename().string());
    if (!SplitLogText(text))
        Fail(TextId::TxtNoMeasuredValues);

    ParseHeader();
    const TDateTime dayDate = DayDate();

    TDay day(dayDate);
    ReadRecords(day);
    analysis.days.push_back(day);
    analysis.files.push_back(path);
}

void TLogFileReader::ParseHeader()
{
    std::string_view header = text.header;
    if ((!Contains(header, YearFirstHeader) && !Contains(header, DayFirstHeader))
        || !Contains(header, ";"))
        FailInvalid();

    std::string_view stampHeader = TakeCell(header);
    if (stampHeader != YearFirstHeader && stampHeader != DayFirstHeader) {
        IdentifyDevice(std::string(stampHeader));
        // Every record starts with the device-name cell too.
        for (auto& line : text.lines) {
            if (const size_t semicolon = line.find(';'); semicolon != std::string_view::npos)
                line.remove_prefix(semicolon + 1);
        }
        stampHeader = TakeCell(header);
    } else {
        IdentifyDevice({});
    }

    if (stampHeader == YearFirstHeader)
        pattern = TPattern::A;
    else if (stampHeader == DayFirstHeader)
        pattern = TPattern::B;
    else
        FailInvalid();

    for (int column = 0; !header.empty(); ++column)
        ParseColumn(TakeCell(header), column);
}

void TLogFileReader::IdentifyDevice(const std::string& logName)
{
    const int busNumber = BusNumberFromPath(path);
    const DeviceIdentity identity = DeviceNameFromLog(busNumber, logName);
    auto& settings = analysis.deviceSettings;
    if (!settings)
        settings
            = std::make_unique<TDeviceSettings>(busNumber, identity.name, identity.automaticName);
    else if (!identity.automaticName && settings->GetName() != identity.name)
        Fail(TextId::TxtDuplicateDeviceNumber);
}

void TLogFileReader::ParseColumn(std::string_view cell, int column)
{
    TColumnTarget& target = targets.emplace_back();
    const auto header = SplitColumnHeader(cell);
    if (!header)
        return;
    const bool dayTotal = cell.starts_with('Q');
    const NormalisedUnit unit = NormaliseUnit(header->unit);
    const ValueKind kind = ValueKindOfUnit(unit.unit);
    if (kind == KindNone)
        return;

    TDeviceSettings& device = *analysis.deviceSettings;
    int field = analysis.FieldIndex(header->name);
    const bool known = field >= 0;
    if (!known) {
        device.AddValue(header->name, unit.unit, kind);
        field = analysis.FieldIndex(header->name);
        analysis.InsertField(field, unit.unit, kind, dayTotal);
    }
    TFieldSeries* series = analysis.Series(field);
    // The factor is held as a 32-bit number, so W become kW by 0.0010000000474974513.
    const double factor = static_cast<double>(unit.factor);
    const bool totalTaken = series && dayTotal && TakeDayTotal(column, *series, factor);
    // Only after the day total, which may still find the file invalid.
    if (known && analysis.UnitOf(field) != unit.unit)
        analysis.ShowUnitsWarning(header->name);
    if (!series || totalTaken)
        return;
    target.series = series;
    target.factor = factor;
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

bool TLogFileReader::TakeDayTotal(int column, TFieldSeries& series, double factor)
{
    // Split once: a header of many day totals would otherwise walk the record per column.
    if (!lastRecordSplit)
        SplitLastRecord();
    if (static_cast<size_t>(column) >= lastCells.size())
        return false;
    const std::string_view cell = lastCells[column];
    const std::string_view stamp = lastStamp;
    if (cell.empty() || cell == ErrorCell)
        return false;
    double value = 0;
    if (!ParseLogNumber(cell, value))
        FailInvalid();
    TDateTime t = 0;
    if (!ConvertTimeStamp(stamp, t))
        return false;
    series.AddPoint(t, value * factor);
    return true;
}

TDateTime TLogFileReader::DayDate()
{
    const auto& lines = text.lines;
    if (lines.empty())
        Fail(TextId::TxtNoMeasuredValues);
    const std::string_view line = lines.size() >= 2 ? lines[1] : lines[0];
    const size_t patternLength = pattern == TPattern::A || pattern == TPattern::B ? 10 : 16;
    TDateTime date = 0;
    if (TryParseLogDate(Prefix(line, patternLength), Order(), date))
        return date;
    // Read as a day-first date and time; the stamp ends at the first cell's end at the
    // latest, so short forms such as 5.3.2007 9:05 are read too.
    const TPattern previous = pattern;
    pattern = TPattern::C;
    const bool ok = TryParseLogTimeStamp(TimeStampCell(Prefix(line, 16)), Order(), date);
    pattern = previous;
    if (!ok)
        FailInvalid();
    // The day is the whole day, whatever time the stamp carried: sums are taken over
    // [day date, day date + 1).
    return std::floor(date);
}

void TLogFileReader::ReadRecords(TDay& day)
{
    auto& lines = text.lines;
    if (targets.empty())
        Fail(TextId::TxtErrorOpeningFile);
    const TPattern recordsPattern = pattern;
    // The first record takes the date of the second (loggers stamp it with the day before),
    // in whatever form the two dates are written.
    std::optional<TDateTime> firstRecordDay;
    if (lines.size() >= 2 && lines[0].size() > 10 && lines[1].size() > 10) {
        if (TDateTime second = 0; ConvertTimeStamp(TimeStampCell(lines[1]), second))
            firstRecordDay = std::floor(second);
        pattern = recordsPattern;
    }
    // A day that was read before (a copy of its file) goes into place in one pass.
    for (const TColumnTarget& target : targets) {
        if (target.series && !target.series->KeepsOneBarPerDay())
            target.series->Points().BeginMerge();
    }
    try {
        for (size_t i = 0; i < lines.size(); ++i)
            ReadRecord(day, lines[i], i == 0 ? firstRecordDay : std::nullopt);
        for (const TColumnTarget& target : targets) {
            if (target.series && !target.series->Points().IsEmpty())
                target.series->AddNullPoint(day.last);
        }
    } catch (const TBadRecord&) {
        // The records read so far stay.
    } catch (const std::bad_alloc&) {
        // Out of memory: the file counts as loaded with what was read, as after a bad record.
    }
    for (const TColumnTarget& target : targets) {
        if (target.series)
            target.series->Points().EndMerge();
    }
    day.last = day.dayDate + 1;
    pattern = recordsPattern;
}

void TLogFileReader::ReadRecord(TDay& day, std::string_view line, std::optional<TDateTime> onDay)
{
    TDateTime t = 0;
    if (!ConvertTimeStamp(TimeStampCell(line), t))
        t = day.last + (day.interval != 0 ? day.interval : OneMinute);
    else if (onDay)
        t = *onDay + (t - std::floor(t));
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
    if (day.intervalMinutes < WholeMinutes(t - day.last)) {
        day.interval = 0;
        day.intervalMinutes = MinutesPerDay;
        opensGap = true;
    }
    if (t < day.last)
        return;
    day.last = t;
    const TPointTime time(t);
    std::string_view rest = line;
    TakeCell(rest);

    const size_t count = targets.size();
    for (size_t i = 0; i < count; ++i) {
        if (rest.empty() && i + 1 < count)
            throw TBadRecord{};
        const std::string_view cell = TakeCell(rest);
        TColumnTarget& target = targets[i];
        if (!target.series || cell.empty() || cell == ErrorCell) {
            target.continues = false;
            continue;
        }
        if (!SameCell(cell, target.lastCell)) {
            double value = 0;
            if (!ParseLogNumber(cell, value))
                throw TBadRecord{};
            target.lastValue = target.factor != 1.0 ? value * target.factor : value;
            target.lastCell = cell;
        }
        const double value = target.lastValue;
        TFieldSeries& series = *target.series;
        if (opensGap) {
            series.AddNullPoint(t);
            target.continues = false;
        }
        // A run of equal values keeps its first and its latest point. Day bars keep their
        // own rule (one bar per day), and a run is only stretched forward in time.
        if (!target.continues || series.KeepsOneBarPerDay()
            || !series.Points().StretchRun(time, value))
            series.AddPoint(time, value);
        target.continues = true;
    }
}
