#include "samplegen/TapSchedule.h"

#include <algorithm>

void TTapSchedule::Add(TSampleRandom& random, int earliest, int latest, int shortest, int longest,
    double lowFlow, double highFlow)
{
    draws.push_back({random.Between(earliest, latest), random.Between(shortest, longest),
        random.Uniform(lowFlow, highFlow)});
}

void TTapSchedule::Plan(TSampleRandom& random, bool weekend)
{
    draws.clear();
    const int morning = weekend ? 8 * 60 : 6 * 60;
    for (int i = random.Between(1, 2); i > 0; --i)
        Add(random, morning, morning + 100, 4, 10, 7.5, 10.0);
    for (int i = random.Between(0, 2); i > 0; --i)
        Add(random, 18 * 60 + 30, 22 * 60, 4, 9, 7.5, 10.0);
    if (random.Chance(weekend ? 0.4 : 0.1))
        Add(random, 19 * 60, 21 * 60, 8, 12, 11.0, 13.0);
    for (int i = random.Between(8, 18); i > 0; --i)
        Add(random, 7 * 60, 22 * 60, 1, 2, 2.5, 6.0);
}

double TTapSchedule::FlowAt(int minuteOfDay) const
{
    double flow = 0.0;
    for (const Draw& d : draws) {
        if (minuteOfDay >= d.start && minuteOfDay < d.start + d.minutes)
            flow += d.flow;
    }
    return std::min(flow, 20.0);
}
