#include "tools/history/HistoryStatistics.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace history {

namespace {

double cross(const Hole& o, const Hole& a, const Hole& b) {
    return (a.right - o.right) * (b.up - o.up) - (a.up - o.up) * (b.right - o.right);
}

// The corners of the convex hull (Andrew's monotone chain): the two holes
// furthest apart are among them, so years of series stay quick.
std::vector<Hole> hullOf(std::vector<Hole> holes) {
    std::sort(holes.begin(), holes.end(), [](const Hole& a, const Hole& b) {
        return a.right < b.right || (a.right == b.right && a.up < b.up);
    });
    if (holes.size() < 3)
        return holes;
    std::vector<Hole> hull(2 * holes.size());
    std::size_t k = 0;
    for (const Hole& hole : holes) { // lower chain
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], hole) <= 0)
            --k;
        hull[k++] = hole;
    }
    const std::size_t lower = k + 1;
    for (auto it = holes.rbegin() + 1; it != holes.rend(); ++it) { // upper chain
        while (k >= lower && cross(hull[k - 2], hull[k - 1], *it) <= 0)
            --k;
        hull[k++] = *it;
    }
    hull.resize(k - 1);
    return hull;
}

} // namespace

Hole holeOf(const record::Shot& shot) {
    // As the main window places its marker: X to the right, Y up.
    return {static_cast<double>(shot.x), static_cast<double>(shot.y)};
}

Direction directionOf(const Hole& hole) {
    // Sectors of 45 degrees, each centred on its direction.
    const double eighths = std::atan2(hole.up, hole.right) / (std::numbers::pi / 4);
    const int sector = static_cast<int>(std::lround(eighths));
    return static_cast<Direction>((sector + DirectionCount) % DirectionCount);
}

Hole edgeOf(const Hole& miss) {
    const double distance = std::hypot(miss.right, miss.up);
    if (distance == 0.0)
        return {TargetRadius, 0.0}; // no way to go: as directionOf
    return {miss.right / distance * TargetRadius, miss.up / distance * TargetRadius};
}

Totals totalsOf(const std::vector<record::Series>& series) {
    Totals totals;
    totals.count = static_cast<int>(series.size());
    double sum = 0.0;
    double sumLast10 = 0.0;
    for (int i = 0; i < totals.count; ++i) {
        const int total = series[static_cast<std::size_t>(i)].total;
        if (i == 0 || total > totals.best) {
            totals.best = total;
            totals.bestIndex = i;
        }
        sum += total;
        if (i >= totals.count - 10)
            sumLast10 += total;
    }
    totals.meanAll = sum / totals.count;
    totals.meanLast10 = sumLast10 / std::min(totals.count, 10);
    if (totals.count >= 2) {
        const double meanIndex = (totals.count - 1) / 2.0;
        double covariance = 0.0;
        double variance = 0.0;
        for (int i = 0; i < totals.count; ++i) {
            const double di = i - meanIndex;
            covariance += di * (series[static_cast<std::size_t>(i)].total - totals.meanAll);
            variance += di * di;
        }
        totals.trend = covariance / variance;
    }
    return totals;
}

Group groupOf(const std::vector<record::Series>& series) {
    std::vector<Hole> holes;
    Group group;
    for (const record::Series& one : series) {
        for (const record::Shot& shot : one.shots) {
            if (record::isMiss(shot)) {
                ++group.misses;
                ++group.missesBy[static_cast<std::size_t>(directionOf(holeOf(shot)))];
            } else {
                holes.push_back(holeOf(shot));
            }
        }
    }
    group.holes = static_cast<int>(holes.size());
    for (const Hole& hole : holes) {
        group.right += hole.right / group.holes;
        group.up += hole.up / group.holes;
    }
    for (const Hole& hole : holes)
        group.meanRadius += std::hypot(hole.right - group.right, hole.up - group.up) / group.holes;
    const std::vector<Hole> hull = hullOf(std::move(holes));
    for (std::size_t i = 0; i < hull.size(); ++i) {
        for (std::size_t j = i + 1; j < hull.size(); ++j)
            group.extremeSpread =
                std::max(group.extremeSpread,
                         std::hypot(hull[i].right - hull[j].right, hull[i].up - hull[j].up));
    }
    return group;
}

Timing timingOf(const std::vector<record::TimedString>& strings) {
    Timing timing;
    timing.count = static_cast<int>(strings.size());
    double firsts = 0.0;
    double splits = 0.0;
    int splitCount = 0;
    for (std::size_t i = 0; i < strings.size(); ++i) {
        const record::TimedString& string = strings[i];
        firsts += string.times.empty() ? 0.0 : string.times.front();
        for (const double split : string.splits()) {
            splits += split;
            ++splitCount;
        }
        if (string.hitFactor() > strings[static_cast<std::size_t>(timing.bestIndex)].hitFactor())
            timing.bestIndex = static_cast<int>(i);
    }
    if (!strings.empty())
        timing.meanFirst = firsts / static_cast<double>(strings.size());
    if (splitCount > 0)
        timing.meanSplit = splits / splitCount;
    return timing;
}

} // namespace history
