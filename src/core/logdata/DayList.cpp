#include "core/logdata/DayList.h"

#include <algorithm>

bool TDayList::Add(const std::string& text, int dayNumber)
{
    const auto at = std::lower_bound(entries.begin(), entries.end(), text,
        [](const Entry& entry, const std::string& t) { return entry.text < t; });
    if (at != entries.end() && at->text == text)
        return false;
    entries.insert(at, Entry{text, dayNumber});
    return true;
}
