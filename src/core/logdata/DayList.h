#pragma once
// The sorted list of days of an analysis window: each day as its "yyyymmdd" text with
// its day number; a text that is already listed is not added again.

#include <string>
#include <vector>

class TDayList {
public:
    // False when the text was listed already (the list is unchanged).
    bool Add(const std::string& text, int dayNumber);
    void Clear() { entries.clear(); }

    int Count() const { return static_cast<int>(entries.size()); }
    const std::string& Text(int i) const { return entries.at(i).text; }
    int DayNumber(int i) const { return entries.at(i).dayNumber; }

private:
    struct Entry {
        std::string text;
        int dayNumber;
    };
    std::vector<Entry> entries;
};
