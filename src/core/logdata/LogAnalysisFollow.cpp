// Files of a followed analysis read again while a logger writes them.

#include "core/logdata/LogAnalysis.h"

#include "core/logdata/LogFileReader.h"

#include <algorithm>

TFollowRead TLogAnalysis::FollowFile(const std::string& path)
{
    TLogFileReader reader(path);
    reader.ReadCompleteLinesOnly();
    reader.CheckText();
    TFollowRead read;
    reader.KeepRecordTimes(read.recordTimes);
    // The day's records are read again whole and go where the day's were, so that the
    // days stay in date order.
    auto known = std::find(files.begin(), files.end(), path);
    const auto place = known - files.begin();
    const bool again = known != files.end();
    if (again) {
        TakeOutDay(days[place].dayDate);
        days.erase(days.begin() + place);
        files.erase(known);
    }
    reader.ReadInto(*this);
    if (again) {
        std::rotate(days.begin() + place, days.end() - 1, days.end());
        std::rotate(files.begin() + place, files.end() - 1, files.end());
    }
    read.day = days[again ? place : days.size() - 1].dayDate;
    read.bytesRead = reader.BytesRead();
    UpdateSumsOfDay(read.day);
    RefreshDerivedValues();
    MarkFieldsWithData();
    return read;
}

void TLogAnalysis::TakeOutDay(TDateTime dayDate)
{
    // Bars keep one per day, which the file's reading replaces; derived values are
    // computed anew after it.
    for (int f = 0; f < FieldRecordCount(); ++f) {
        TFieldSeries* series = fields[f].series.get();
        if (!series || series->KeepsOneBarPerDay() || IsDerived(f))
            continue;
        series->Points().RemoveBetween(dayDate, dayDate + 1);
        series->SearchIndex = 0;
    }
}
