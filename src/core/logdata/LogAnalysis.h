#pragma once
// Everything read for one bus participant within the requested period: its device
// settings with the field list, one field record with its series per field, the units,
// the days (one per file read) and the files, and the marks the views set on fields.
// After all files are read it derives day and month sums.

#include "core/base/DateTime.h"
#include "core/bus/KindGroups.h"
#include "core/logdata/ChartTarget.h"
#include "core/logdata/FieldSeries.h"
#include "core/logdata/ValuePanel.h"
#include "core/settings/DerivedValues.h"
#include "core/settings/DeviceSettings.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TDayList;
class TOverviewTable;

// One calendar day (one log file) of an analysis, with the sampling state of its reading.
struct TDay {
    explicit TDay(TDateTime dayDate);

    bool firstRecordSeen = false;
    double intervalMinutes = 1440; // current sampling interval in whole minutes
    TDateTime last; // time of the latest record read
    double interval = 0; // in days; 0 = to be measured at the next record
    TDateTime dayDate;
    std::uint8_t day;
    std::uint8_t month;
    std::uint16_t year;
};

struct TFieldRecord {
    bool hasData = false; // a measured field whose series holds points
    bool shown = false; // the series is on its chart
    bool shownBefore = false; // shown, remembered while sum fields are unavailable
    ValueKind kind = KindInput;
    int pairIndex = 0; // day-sum field ↔ its month-sum field; 0 when unpaired
    std::string unit;
    std::unique_ptr<TFieldSeries> series;
};

// What reading a followed file gave: its day, the times of its records, and how many of
// its bytes (up to its last line end) were read.
struct TFollowRead {
    TDateTime day = 0;
    std::vector<double> recordTimes;
    std::size_t bytesRead = 0;
};

class TLogAnalysis {
public:
    using UnitsWarningHandler = std::function<void(const std::string& message)>;

    // The requested period (whole days); the charts may be null. Fields of kinds 0 and 1
    // are drawn in the upper chart, outputs in the lower one. The charts must outlive the
    // analysis: its destruction takes its shown series off them.
    TLogAnalysis(TDateTime periodStart, TDateTime periodEnd, TChartTarget* upperChart,
        TChartTarget* lowerChart);
    ~TLogAnalysis();
    TLogAnalysis(const TLogAnalysis&) = delete;
    TLogAnalysis& operator=(const TLogAnalysis&) = delete;

    // Reads one log file of the device; fails with a language-table text.
    void ReadLogFile(const std::string& path);
    // Reads a file of the device while a logger writes it, up to its last line end. The
    // file of a day read before replaces that day's records (its measured points are taken
    // out first); a new day's file is read as at loading. Then the day's sums, the month
    // sums and the derived values are brought up to date. Fails as ReadLogFile; a file
    // whose text cannot be read leaves the analysis as it was.
    TFollowRead FollowFile(const std::string& path);
    // Day sums ("tag") and month sums ("monat") of the power and flow fields.
    void BuildSums();
    // A derived value as a field at the end of kind 1, its points computed from the
    // measured values its formula names; no sums are derived from it. Fails with
    // TFormulaError when the formula cannot be used here or the name is taken.
    void AddDerivedValue(const TDerivedValue& value);
    bool IsDerived(int field) const;
    // The names a formula may use, by field index: neither sums nor derived values stand
    // empty.
    std::vector<std::string> FormulaNames() const;
    // Takes every derived value out again: off its chart, out of the fields and the
    // device settings.
    void RemoveDerivedValues();
    // has-data = a measured (not a sum) field whose series holds points.
    void MarkFieldsWithData();
    // Clears the overview marks and restyles every series; the k-th output gets the
    // offset −150 × k.
    void ApplyDisplaySettings();
    // Restyles every series from the edited device settings; the overview marks the user
    // set stay.
    void ReapplyDisplaySettings();
    // Adds every day as "yyyymmdd" with its day number.
    void AddDaysTo(TDayList& list) const;

    bool ShowField(int field);
    void HideField(int field);
    void RestoreShownSeries();
    void RestoreOverviewSeries();

    std::uint8_t OverviewMark(int field) const;
    void SetOverviewMark(int field, std::uint8_t mark);
    bool HasData(int field) const;
    bool IsShown(int field) const;
    bool IsShownOrShownBefore(int field) const;

    // The unit of a field, empty outside the fields.
    std::string UnitOf(int field) const;
    // Appends the unit of every shown field of the kind (with overviewOnly: that is also
    // marked for the overview).
    void CollectFieldUnits(
        bool overviewOnly, std::vector<std::string>& units, ValueKind kind) const;

    // Restyles an output field with the given lane offset.
    void RestyleOutputField(int field, std::int32_t offset);
    // Day-sum fields show their month sums (true) or their day sums.
    void SetMonthlyBars(bool monthly);
    bool MonthlyBars() const { return monthlyBars; }
    // Day and month sums make sense only for time windows that span them.
    void SetSumFieldsAvailable(bool available);
    // Every series' title becomes its label, with "device name: " in front when asked.
    void UpdateSeriesTitles(bool withDeviceName);
    // The vertical axis of the other measured values (kind 1).
    void SetOtherValuesAxis(TVerticalAxis axis);

    // Path of the file read for the day of t; empty when no file of that day was read.
    std::string FileOfDay(TDateTime t) const;
    // Daily overview: the day totals of a day-sum field into one column, total last.
    void FillDayColumn(int field, TOverviewTable* grid, int column) const;
    // Annual overview: raises each year's total to the device's own year counter
    // (field name + "jahr") when that is larger.
    void FillYearMaxColumn(TOverviewTable* grid, int column, int field) const;

    TDeviceSettings* DeviceSettings() { return deviceSettings.get(); }
    const TDeviceSettings* DeviceSettings() const { return deviceSettings.get(); }
    TValuePanel* ValuePanel() const { return valuePanel.get(); }
    // Frees the previous value panel.
    void SetValuePanel(std::unique_ptr<TValuePanel> panel);
    // The units warning is shown through this handler, at most once per analysis.
    void SetUnitsWarningHandler(UnitsWarningHandler handler);

    int FieldRecordCount() const { return fields.Size(); }
    // Null outside the fields.
    const TFieldSeries* Series(int field) const;
    TFieldSeries* Series(int field);
    const TFieldRecord* FieldRecord(int field) const;
    int PairIndex(int field) const;

    int DayCount() const { return static_cast<int>(days.size()); }
    const TDay& Day(int i) const { return days.at(i); }
    int FileCount() const { return static_cast<int>(files.size()); }
    const std::string& FileName(int i) const { return files.at(i); }
    TDateTime PeriodStart() const { return periodStart; }
    TDateTime PeriodEnd() const { return periodEnd; }

    // Inserts a field record at index with the series its kind is drawn with (sum bars
    // for a day-total or derived sum field); fails with the index-error text beyond the
    // end and with the insufficient-memory text when memory runs out.
    void InsertFieldRecord(int index, ValueKind kind, bool sumBars);

private:
    friend class TLogFileReader;

    // A field record and its unit at the same index.
    void InsertField(int index, const std::string& unit, ValueKind kind, bool sumBars);
    int FieldIndex(const std::string& name) const;
    TChartTarget* ChartOf(const TFieldRecord& record) const;
    void Restyle(int field, std::optional<std::int32_t> outputOffset = std::nullopt);
    void PutOnChart(int field);
    void RefreshValueRows();
    void ShowUnitsWarning(const std::string& fieldName);
    // Fields below both the record count and the device's value count.
    int CommonFieldCount() const;

    // Parts of FollowFile.
    void TakeOutDay(TDateTime dayDate);
    void UpdateSumsOfDay(TDateTime dayDate);
    void RefreshDerivedValues();

    // Parts of BuildSums.
    void CompleteDaySums(int source, int daySum, int unitsPerDay);
    void MakeDaySum(int source, int unitsPerDay);
    void BreakBarsBetweenDays(TFieldSeries& bars);
    void MakeMonthSum(int daySum);

    std::optional<std::vector<std::uint8_t>> overviewMarks;
    bool monthlyBars = false;
    bool unitsWarningArmed = true;
    UnitsWarningHandler unitsWarning;
    TChartTarget* upperChart;
    TChartTarget* lowerChart;
    std::vector<TDay> days;
    std::vector<std::string> files;
    std::unique_ptr<TValuePanel> valuePanel;
    TKindGroups<TFieldRecord> fields; // with their units
    bool fieldsPaired = false; // some record has a pair index (only after the month sums)
    std::vector<TDerivedValue> derivedValues;
    std::vector<std::string> madeDaySums; // day sums computed here, not logged
    std::unique_ptr<TDeviceSettings> deviceSettings;
    TDateTime periodEnd;
    TDateTime periodStart;
};
