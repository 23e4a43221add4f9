#pragma once
// When the household draws hot water on one day: showers in the morning and evening,
// the odd bath, short draws at the sink in between.

#include "samplegen/SampleRandom.h"

#include <vector>

class TTapSchedule {
public:
    // Draws the day's events; weekends start later.
    void Plan(TSampleRandom& random, bool weekend);
    // Litres per minute drawn in that minute of the day.
    double FlowAt(int minuteOfDay) const;

private:
    struct Draw {
        int start;
        int minutes;
        double flow;
    };
    void Add(TSampleRandom& random, int earliest, int latest, int shortest, int longest,
        double lowFlow, double highFlow);

    std::vector<Draw> draws;
};
