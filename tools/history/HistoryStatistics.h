#pragma once
// What the history tool computes over the chosen series: the totals, and the
// group of every hole on the target; the misses, off the target, are counted
// apart by the way they went. Distances are in twips of the 6000-twip target picture
// (300 twips a ring), positions as the holes show on it: right and up.

#include "record/Series.h"
#include "record/TimedString.h"

#include <array>
#include <optional>
#include <vector>

namespace history {

// The printed A4 target: ten rings of 9.089 mm (the 181.8 mm target square
// of an A4 page less its margins, halved, over ten rings).
constexpr double TwipsPerRing = 300.0;
constexpr double A4MillimetresPerRing = (595.276 - 2 * 40.0) / 2.0 / 10.0 * 25.4 / 72.0;
// The outer ring's edge, from the centre.
constexpr double TargetRadius = 10 * TwipsPerRing;

// The eight ways a miss can go, counter-clockwise from the right.
enum class Direction { Right, HighRight, High, HighLeft, Left, LowLeft, Low, LowRight };
constexpr int DirectionCount = 8;

struct Totals {
    int count = 0;
    int best = 0;
    int bestIndex = 0; // of the chosen series, from 0
    double meanAll = 0.0;
    double meanLast10 = 0.0;     // of the last ten, or of all when fewer
    std::optional<double> trend; // least-squares slope, points per series; two series or more
};

// The hits on the target alone: a miss would pull the mean point and the
// spread towards where the camera saw it, which says nothing of the group.
struct Group {
    int holes = 0;              // hits on the target
    double right = 0.0;         // mean point of impact, twips right of the centre
    double up = 0.0;            // and up
    double extremeSpread = 0.0; // the largest distance between two holes
    double meanRadius = 0.0;    // mean distance of the holes from the mean point
    int misses = 0;
    std::array<int, DirectionCount> missesBy{}; // by Direction
};

// A hole's place on the target picture, from the offset the analysis gives.
struct Hole {
    double right;
    double up;
};
Hole holeOf(const record::Shot& shot);
// The way a hole lies from the centre (Right for the centre itself).
Direction directionOf(const Hole& hole);
// Where a miss is marked: on the target's edge, the way it went.
Hole edgeOf(const Hole& miss);

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
