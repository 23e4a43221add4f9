#pragma once
// Everything one analysis window shows, without the window: the requested period, the
// devices with one analysis each, the days with data, the navigable range and the
// overview tables, and the caption texts. The window owns one and drives the loading
// through it; kalvex-cli and the benchmark use it alone.

#include "core/base/DateTime.h"
#include "core/loading/Overview.h"
#include "core/logdata/DayList.h"
#include "core/logdata/LogAnalysis.h"
#include "core/logdata/OverviewTable.h"
#include "core/settings/DerivedValues.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class TChartTarget;
class TLogAnalysis;
class TLogFileReader;

// The window caption: "New" without a from date, "Analysis from 01.05.2007." without a to
// date, else "Analysis from 01.05.2007 to 31.05.2007. (62 files found)"; in the current
// language.
std::string AnalysisCaption(
    const std::string& dateFromText, const std::string& dateToText, int fileCount);

// What the window adds to the loading.
class TAnalysisSetHooks {
public:
    virtual ~TAnalysisSetHooks() = default;
    // The charts each new analysis draws into; null for none.
    virtual TChartTarget* UpperChart() { return nullptr; }
    virtual TChartTarget* LowerChart() { return nullptr; }
    // Builds the device's value list; runs after its fields are marked and before its
    // display settings are applied.
    virtual void BuildValueSelector(int /*deviceIndex*/, TLogAnalysis& /*analysis*/) { }
    // A file of a known field with another unit; said once per analysis.
    virtual void UnitsWarning(const std::string& /*message*/) { }
    // A new load begins: whatever shows the previous analysis is emptied.
    virtual void ClearViews() { }
};

class TAnalysisSet {
public:
    explicit TAnalysisSet(TAnalysisSetHooks* hooks = nullptr);
    ~TAnalysisSet();
    TAnalysisSet(const TAnalysisSet&) = delete;
    TAnalysisSet& operator=(const TAnalysisSet&) = delete;

    // Clears everything, takes the period, the number of files found and the sorted
    // device prefixes, and makes one empty slot per device.
    void BeginLoad(
        int fileCount, std::vector<std::string> deviceList, TDateTime from, TDateTime to);
    // Reads one file into the analysis of its device (made on the device's first file).
    // Fails when the file's device prefix is not in the device list, or as the reader does.
    void LoadFile(const std::string& path);
    // The same with the file's reader, which may have prepared the file on another thread.
    void LoadFile(const std::string& path, TLogFileReader& reader);
    // Reads a file of a loaded device while a logger writes it (see
    // TLogAnalysis::FollowFile), then brings the day list, the range and the overview
    // tables up to date; a new day after the period's end extends the period. Fails when
    // the device has no analysis, or as the reader does.
    struct TFollowedFile {
        int device = -1;
        bool newDay = false;
        TFollowRead read;
    };
    TFollowedFile FollowFile(const std::string& path);
    // The time of the newest record of any device (every file's records end with a break
    // there); 0 without one.
    double NewestRecordTime() const;
    // Whether a file of a day would be followed: within the period, or just after a period
    // that ends on the last day with data.
    bool FollowsDay(TDateTime day) const;
    // Day and month sums, fields with data, value list, display settings. An index without
    // an analysis does nothing.
    void FinishDevice(int deviceIndex);
    // The two halves of FinishDevice: the device's own data (sums, fields with data), which
    // may run on any thread while no other thread touches this device, and what the window
    // adds (value list, display settings), on the window's thread.
    void FinishDeviceData(int deviceIndex);
    void FinishDeviceView(int deviceIndex);
    // While set, units warnings raised by LoadFile are kept until DeliverUnitsWarnings
    // passes them to the hooks; LoadFile may then run on other threads for distinct devices.
    void DeferUnitsWarnings(bool defer);
    void DeliverUnitsWarnings();
    // Derived values that every load adds to the devices of a prefix besides the stored
    // ones (a stored one of the same name gives way), such as the command line's.
    void SetExtraDerivedValues(std::map<std::string, TDerivedValues> values);
    // The device's derived values taken out and added anew from the settings store and
    // the extra ones (after their definitions changed); its fields are marked again.
    void ReapplyDerivedValues(int deviceIndex);
    // The derived values the last load could not add, and why.
    struct TDerivedProblem {
        std::string prefix;
        std::string name;
        std::string reason;
    };
    std::vector<TDerivedProblem> DerivedProblems() const;

    // The day list, the range and the overview tables; fails when no device has a day.
    void FinishLoad();
    // Back to empty: no devices, no days, no tables, caption "New"; the views are emptied
    // (ClearViews) before the analyses they show go.
    void ResetToEmpty();
    void ClearAnalysis();

    // The caption of the loaded period, "New" while empty.
    std::string Caption() const;

    TDateTime RequestedFrom() const { return requestedFrom; }
    TDateTime RequestedTo() const { return requestedTo; }
    // The days with data: [RangeStart, RangeEnd).
    TDateTime RangeStart() const { return rangeStart; }
    TDateTime RangeEnd() const { return rangeEnd; }
    // The time window kind chosen decides the range: whole days, months, quarters, years.
    void SetRange(TDateTime start, TDateTime end)
    {
        rangeStart = start;
        rangeEnd = end;
    }
    const TDayList& DayList() const { return dayList; }
    const std::vector<std::string>& DeviceList() const { return deviceList; }
    int DeviceCount() const { return static_cast<int>(deviceList.size()); }
    // The device's analysis; null for an empty slot or an index outside the list.
    TLogAnalysis* Analysis(int deviceIndex) const;
    const TAnalysisSlots& Analyses() const { return analyses; }

    // The analysis of the selected device tab; the first slot's after loading.
    TLogAnalysis* CurrentAnalysis() const { return currentAnalysis; }
    void SetCurrentAnalysis(TLogAnalysis* analysis) { currentAnalysis = analysis; }

    const TOverviewTable* DailyOverview() const { return dailyOverview.get(); }
    const TOverviewTable* MonthlyOverview() const { return monthlyOverview.get(); }
    const TOverviewTable* AnnualOverview() const { return annualOverview.get(); }
    void BuildOverviews();
    void RelabelOverviews();

private:
    void UnitsWarning(const std::string& message);
    int DeviceIndexOf(const std::string& path) const;
    void AddDerivedValues(int deviceIndex, TLogAnalysis& analysis);

    TAnalysisSetHooks* hooks;
    TAnalysisSetHooks noHooks;
    mutable std::mutex warningsLock;
    bool deferWarnings = false;
    std::vector<std::string> pendingWarnings;
    std::map<std::string, TDerivedValues> extraDerivedValues;
    std::vector<TDerivedProblem> derivedProblems; // under warningsLock
    std::string dateFromText; // "dd.mm.yyyy"; empty while nothing is loaded
    std::string dateToText;
    int fileCount = 0;
    TDateTime requestedFrom = 0;
    TDateTime requestedTo = 0;
    TDateTime rangeStart = 0;
    TDateTime rangeEnd = 0;
    TDayList dayList;
    std::vector<std::string> deviceList;
    TAnalysisSlots analyses;
    TLogAnalysis* currentAnalysis = nullptr;
    std::unique_ptr<TOverviewTable> dailyOverview;
    std::unique_ptr<TOverviewTable> monthlyOverview;
    std::unique_ptr<TOverviewTable> annualOverview;
};
