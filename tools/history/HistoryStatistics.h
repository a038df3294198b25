#pragma once
// What the history tool computes over the chosen series: the totals, and the
// group of every hole. Distances are in twips of the 6000-twip target picture
// (300 twips a ring), positions as the holes show on it: right and up.

#include "record/Series.h"
#include "record/TimedString.h"

#include <optional>
#include <vector>

namespace history {

// The printed A4 target: ten rings of 9.089 mm (the 181.8 mm target square
// of an A4 page less its margins, halved, over ten rings).
constexpr double TwipsPerRing = 300.0;
constexpr double A4MillimetresPerRing = (595.276 - 2 * 40.0) / 2.0 / 10.0 * 25.4 / 72.0;

struct Totals {
    int count = 0;
    int best = 0;
    int bestIndex = 0; // of the chosen series, from 0
    double meanAll = 0.0;
    double meanLast10 = 0.0;     // of the last ten, or of all when fewer
    std::optional<double> trend; // least-squares slope, points per series; two series or more
};

struct Group {
    int holes = 0;
    double right = 0.0;         // mean point of impact, twips right of the centre
    double up = 0.0;            // and up
    double extremeSpread = 0.0; // the largest distance between two holes
    double meanRadius = 0.0;    // mean distance of the holes from the mean point
};

// A hole's place on the target picture, from the offset the analysis gives.
struct Hole {
    double right;
    double up;
};
Hole holeOf(const record::Shot& shot);

// Both need at least one series.
Totals totalsOf(const std::vector<record::Series>& series);
Group groupOf(const std::vector<record::Series>& series);

// The times of timed strings, in seconds from the start beep.
struct Timing {
    int count = 0;
    double meanFirst = 0.0;          // the first shot's time
    std::optional<double> meanSplit; // over every split; strings of two shots or more
    int bestIndex = 0;               // the highest hit factor; of equals, the first
};
// Needs at least one string.
Timing timingOf(const std::vector<record::TimedString>& strings);

} // namespace history
