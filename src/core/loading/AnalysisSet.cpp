#include "core/loading/AnalysisSet.h"

#include "core/base/KalvexError.h"
#include "core/base/LanguageTable.h"
#include "core/loading/LogFileNames.h"
#include "core/logdata/Formula.h"
#include "core/logdata/LogAnalysis.h"
#include "core/logdata/LogFileReader.h"
#include "core/settings/IniSettings.h"

#include <algorithm>
#include <new>

TAnalysisSet::TAnalysisSet(TAnalysisSetHooks* hooks)
    : hooks(hooks ? hooks : &noHooks)
{
}

TAnalysisSet::~TAnalysisSet() = default;

void TAnalysisSet::ClearAnalysis()
{
    currentAnalysis = nullptr;
    dayList.Clear();
    analyses.clear();
    deviceList.clear();
    dailyOverview.reset();
    monthlyOverview.reset();
    annualOverview.reset();
    // An empty window reads "New" in every language, also after a language change.
    dateFromText.clear();
    dateToText.clear();
    fileCount = 0;
}

void TAnalysisSet::ResetToEmpty()
{
    // The views go first: they show what the analyses own (the window lays its header over
    // a device's value list).
    hooks->ClearViews();
    ClearAnalysis();
}

void TAnalysisSet::BeginLoad(
    int files, std::vector<std::string> devices, TDateTime from, TDateTime to)
{
    hooks->ClearViews();
    ClearAnalysis();
    dateFromText = FormatDateTime("dd.mm.yyyy", from);
    dateToText = FormatDateTime("dd.mm.yyyy", to);
    fileCount = files;
    requestedFrom = from;
    requestedTo = to;
    deviceList = std::move(devices);
    {
        const std::lock_guard guard(warningsLock);
        derivedProblems.clear();
    }
    try {
        analyses.resize(deviceList.size());
    } catch (const std::bad_alloc&) {
        Fail(TextId::TxtDataStructureMemory);
    }
}

void TAnalysisSet::LoadFile(const std::string& path)
{
    TLogFileReader reader(path);
    LoadFile(path, reader);
}

int TAnalysisSet::DeviceIndexOf(const std::string& path) const
{
    const std::string prefix = FileDevicePrefix(path);
    const auto it = std::find(deviceList.begin(), deviceList.end(), prefix);
    if (it == deviceList.end())
        Fail(TextId::TxtNoBusParticipant, "\n(" + path + ")");
    return static_cast<int>(it - deviceList.begin());
}

void TAnalysisSet::LoadFile(const std::string& path, TLogFileReader& reader)
{
    auto& slot = analyses[DeviceIndexOf(path)];
    if (!slot) {
        slot = std::make_unique<TLogAnalysis>(
            requestedFrom, requestedTo, hooks->UpperChart(), hooks->LowerChart());
        slot->SetUnitsWarningHandler([this](const std::string& message) { UnitsWarning(message); });
    }
    reader.ReadInto(*slot);
}

void TAnalysisSet::UnitsWarning(const std::string& message)
{
    {
        const std::lock_guard guard(warningsLock);
        if (deferWarnings) {
            pendingWarnings.push_back(message);
            return;
        }
    }
    hooks->UnitsWarning(message);
}

void TAnalysisSet::DeferUnitsWarnings(bool defer)
{
    const std::lock_guard guard(warningsLock);
    deferWarnings = defer;
}

void TAnalysisSet::DeliverUnitsWarnings()
{
    std::vector<std::string> messages;
    {
        const std::lock_guard guard(warningsLock);
        messages.swap(pendingWarnings);
    }
    for (const std::string& message : messages)
        hooks->UnitsWarning(message);
}

void TAnalysisSet::FinishDevice(int deviceIndex)
{
    FinishDeviceData(deviceIndex);
    FinishDeviceView(deviceIndex);
}

void TAnalysisSet::FinishDeviceData(int deviceIndex)
{
    if (TLogAnalysis* analysis = Analysis(deviceIndex)) {
        analysis->BuildSums();
        AddDerivedValues(deviceIndex, *analysis);
        analysis->MarkFieldsWithData();
    }
}

void TAnalysisSet::AddDerivedValues(int deviceIndex, TLogAnalysis& analysis)
{
    const std::string& prefix = deviceList[deviceIndex];
    TDerivedValues values;
    if (const TIniSettings* settings = ExistingIniSettings())
        values = settings->GetDerivedValues(prefix);
    if (const auto extra = extraDerivedValues.find(prefix); extra != extraDerivedValues.end()) {
        std::erase_if(values, [&](const TDerivedValue& stored) {
            return std::any_of(extra->second.begin(), extra->second.end(),
                [&](const TDerivedValue& given) { return given.name == stored.name; });
        });
        values.insert(values.end(), extra->second.begin(), extra->second.end());
    }
    for (const TDerivedValue& value : values) {
        try {
            analysis.AddDerivedValue(value);
        } catch (const TFormulaError& e) {
            const std::lock_guard guard(warningsLock);
            derivedProblems.push_back({prefix, value.name, e.what()});
        }
    }
}

void TAnalysisSet::ReapplyDerivedValues(int deviceIndex)
{
    TLogAnalysis* analysis = Analysis(deviceIndex);
    if (!analysis)
        return;
    analysis->RemoveDerivedValues();
    AddDerivedValues(deviceIndex, *analysis);
    analysis->MarkFieldsWithData();
}

void TAnalysisSet::SetExtraDerivedValues(std::map<std::string, TDerivedValues> values)
{
    extraDerivedValues = std::move(values);
}

std::vector<TAnalysisSet::TDerivedProblem> TAnalysisSet::DerivedProblems() const
{
    const std::lock_guard guard(warningsLock);
    return derivedProblems;
}

void TAnalysisSet::FinishDeviceView(int deviceIndex)
{
    if (TLogAnalysis* analysis = Analysis(deviceIndex)) {
        hooks->BuildValueSelector(deviceIndex, *analysis);
        analysis->ApplyDisplaySettings();
    }
}

void TAnalysisSet::FinishLoad()
{
    currentAnalysis = Analysis(0);
    dayList.Clear();
    for (const auto& analysis : analyses) {
        if (analysis)
            analysis->AddDaysTo(dayList);
    }
    if (dayList.Count() == 0)
        Fail(TextId::TxtNoFileToOpen);
    rangeStart = dayList.DayNumber(0);
    rangeEnd = dayList.DayNumber(dayList.Count() - 1) + 1;
    BuildOverviews();
}

double TAnalysisSet::NewestRecordTime() const
{
    double newest = 0;
    for (const auto& analysis : analyses)
        for (int f = 0; analysis && f < analysis->FieldRecordCount(); ++f) {
            const TFieldSeries* series = analysis->Series(f);
            if (series && !series->KeepsOneBarPerDay() && !series->Points().IsEmpty())
                newest = std::max(newest, series->Points().X(series->Points().Count() - 1));
        }
    return newest;
}

bool TAnalysisSet::FollowsDay(TDateTime day) const
{
    if (day >= requestedFrom && day <= requestedTo)
        return true;
    return day > requestedTo && dayList.Count() > 0
        && dayList.DayNumber(dayList.Count() - 1) == DayNumber(requestedTo);
}

TAnalysisSet::TFollowedFile TAnalysisSet::FollowFile(const std::string& path)
{
    TFollowedFile followed;
    followed.device = DeviceIndexOf(path);
    TLogAnalysis* analysis = Analysis(followed.device);
    if (!analysis)
        Fail(TextId::TxtNoBusParticipant, "\n(" + path + ")");
    const int filesBefore = analysis->FileCount();
    followed.read = analysis->FollowFile(path);
    followed.newDay = analysis->FileCount() > filesBefore;
    if (followed.newDay)
        ++fileCount;
    const TDateTime day = followed.read.day;
    if (day > requestedTo) {
        requestedTo = day;
        dateToText = FormatDateTime("dd.mm.yyyy", day);
    }
    dayList.Add(FormatDateTime("yyyymmdd", day), DayNumber(day));
    rangeEnd = std::max<TDateTime>(rangeEnd, DayNumber(day) + 1);
    rangeStart = std::min<TDateTime>(rangeStart, DayNumber(day));
    BuildOverviews();
    return followed;
}

void TAnalysisSet::BuildOverviews()
{
    dailyOverview = BuildDailyOverview(dayList, analyses);
    monthlyOverview = BuildMonthlyOverview(dailyOverview.get());
    annualOverview = BuildAnnualOverview(monthlyOverview.get(), requestedFrom, analyses);
}

void TAnalysisSet::RelabelOverviews()
{
    RelabelOverviewTables(dailyOverview.get(), monthlyOverview.get(), annualOverview.get());
}

TLogAnalysis* TAnalysisSet::Analysis(int deviceIndex) const
{
    if (deviceIndex < 0 || deviceIndex >= static_cast<int>(analyses.size()))
        return nullptr;
    return analyses[deviceIndex].get();
}

std::string TAnalysisSet::Caption() const
{
    return AnalysisCaption(dateFromText, dateToText, fileCount);
}

std::string AnalysisCaption(
    const std::string& dateFromText, const std::string& dateToText, int fileCount)
{
    if (dateFromText.empty())
        return Text(TextId::TxtNew);
    if (dateToText.empty())
        return Text(TextId::TxtAnalysisFrom) + dateFromText + ".";
    return Text(TextId::TxtAnalysisFromTo) + dateFromText + Text(TextId::TxtTo) + dateToText
        + Text(TextId::TxtFileCountOpen) + std::to_string(fileCount)
        + Text(TextId::TxtFileCountClose);
}
