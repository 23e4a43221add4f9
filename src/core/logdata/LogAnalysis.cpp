#include "core/logdata/LogAnalysis.h"

#include "core/base/KalvexError.h"
#include "core/logdata/DayList.h"

#include <algorithm>
#include <new>

TDay::TDay(TDateTime dayDate)
    : last(dayDate)
    , dayDate(dayDate)
{
    const CivilDate date = DecodeDate(dayDate);
    day = static_cast<std::uint8_t>(date.day);
    month = static_cast<std::uint8_t>(date.month);
    year = static_cast<std::uint16_t>(date.year);
}

TLogAnalysis::TLogAnalysis(
    TDateTime periodStart, TDateTime periodEnd, TChartTarget* upperChart, TChartTarget* lowerChart)
    : upperChart(upperChart)
    , lowerChart(lowerChart)
    , periodEnd(periodEnd)
    , periodStart(periodStart)
{
}

TLogAnalysis::~TLogAnalysis()
{
    fields.ForEach([this](TFieldRecord& record) {
        TChartTarget* chart = ChartOf(record);
        if (record.shown && chart && record.series)
            chart->DetachSeries(*record.series);
    });
}

void TLogAnalysis::InsertFieldRecord(int index, ValueKind kind, bool sumBars)
{
    InsertField(index, {}, kind, sumBars);
}

void TLogAnalysis::InsertField(int index, const std::string& unit, ValueKind kind, bool sumBars)
{
    TFieldRecord record;
    record.kind = kind;
    bool inserted = false;
    try {
        record.unit = unit;
        if (kind == KindInput)
            record.series = std::make_unique<TFieldSeries>(TDrawingKind::Line);
        else if (kind == KindOther && sumBars)
            record.series = std::make_unique<TFieldSeries>(TDrawingKind::SumBars);
        else
            record.series
                = std::make_unique<TFieldSeries>(TDrawingKind::OffsetLine, kind == KindOutput);
        // Records stay in the order of their kinds, as the device's values do.
        inserted = fields.Insert(index, kind, std::move(record));
    } catch (const std::bad_alloc&) {
        Fail(TextId::TxtDataStructureMemory);
    }
    if (!inserted)
        Fail(TextId::TxtIndexError);
    // Pairs refer to field indexes, which moved up behind the new record. Reading a header
    // inserts many records before any pair exists, and must not pay for this each time.
    if (!fieldsPaired)
        return;
    fields.ForEach([index](TFieldRecord& other) {
        if (other.pairIndex >= index && other.pairIndex != 0)
            ++other.pairIndex;
    });
}

int TLogAnalysis::FieldIndex(const std::string& name) const
{
    int index = -1;
    if (!deviceSettings || !deviceSettings->IndexOfValue(name, index))
        return -1;
    return index;
}

TChartTarget* TLogAnalysis::ChartOf(const TFieldRecord& record) const
{
    return record.kind == KindOutput ? lowerChart : upperChart;
}

int TLogAnalysis::CommonFieldCount() const
{
    const int valueCount = deviceSettings ? deviceSettings->ValueCount() : 0;
    return std::min(FieldRecordCount(), valueCount);
}

const TFieldRecord* TLogAnalysis::FieldRecord(int field) const
{
    return field >= 0 && field < FieldRecordCount() ? &fields[field] : nullptr;
}

const TFieldSeries* TLogAnalysis::Series(int field) const
{
    const TFieldRecord* record = FieldRecord(field);
    return record ? record->series.get() : nullptr;
}

TFieldSeries* TLogAnalysis::Series(int field)
{
    return const_cast<TFieldSeries*>(static_cast<const TLogAnalysis&>(*this).Series(field));
}

int TLogAnalysis::PairIndex(int field) const
{
    const TFieldRecord* record = FieldRecord(field);
    return record ? record->pairIndex : 0;
}

void TLogAnalysis::MarkFieldsWithData()
{
    for (int i = 0; i < FieldRecordCount(); ++i) {
        const bool sum = i < CommonFieldCount() && deviceSettings->IsSumValue(i);
        fields[i].hasData = !sum && fields[i].series && !fields[i].series->Points().IsEmpty();
    }
}

void TLogAnalysis::AddDaysTo(TDayList& list) const
{
    for (const TDay& day : days)
        list.Add(FormatDateTime("yyyymmdd", day.dayDate), DayNumber(day.dayDate));
}

std::uint8_t TLogAnalysis::OverviewMark(int field) const
{
    if (!overviewMarks || field < 0 || field >= static_cast<int>(overviewMarks->size()))
        return 0;
    return (*overviewMarks)[field];
}

void TLogAnalysis::SetOverviewMark(int field, std::uint8_t mark)
{
    if (overviewMarks && field >= 0 && field < static_cast<int>(overviewMarks->size()))
        (*overviewMarks)[field] = mark;
}

bool TLogAnalysis::HasData(int field) const
{
    const TFieldRecord* record = FieldRecord(field);
    return record && !days.empty() && record->hasData;
}

bool TLogAnalysis::IsShown(int field) const
{
    const TFieldRecord* record = FieldRecord(field);
    return record && record->shown;
}

bool TLogAnalysis::IsShownOrShownBefore(int field) const
{
    const TFieldRecord* record = FieldRecord(field);
    return record && (record->shown || record->shownBefore);
}

std::string TLogAnalysis::UnitOf(int field) const
{
    return field >= 0 && field < FieldRecordCount() ? fields[field].unit : std::string();
}

void TLogAnalysis::CollectFieldUnits(
    bool overviewOnly, std::vector<std::string>& target, ValueKind kind) const
{
    for (int i = 0; i < FieldRecordCount(); ++i) {
        if (fields[i].kind == kind && fields[i].shown && (!overviewOnly || OverviewMark(i)))
            target.push_back(UnitOf(i));
    }
}

void TLogAnalysis::SetValuePanel(std::unique_ptr<TValuePanel> panel)
{
    valuePanel = std::move(panel);
}

void TLogAnalysis::SetUnitsWarningHandler(UnitsWarningHandler handler)
{
    unitsWarning = std::move(handler);
}

void TLogAnalysis::ShowUnitsWarning(const std::string& fieldName)
{
    if (!unitsWarningArmed)
        return;
    unitsWarningArmed = false;
    if (unitsWarning)
        unitsWarning(
            Text(TextId::TxtDifferentUnits) + fieldName + Text(TextId::TxtDifferentUnitsEnd));
}

void TLogAnalysis::RefreshValueRows()
{
    if (valuePanel)
        valuePanel->RefreshRows();
}
