#include "app/series/DrillRules.h"

#include <algorithm>

namespace app {

DrillRules DrillRules::heldToRange() const {
    DrillRules held = *this;
    held.shots = std::clamp<std::int16_t>(shots, 1, MostShots);
    held.strings = std::clamp<std::int16_t>(strings, 1, MostStrings);
    held.delayFrom = std::clamp(delayFrom, ShortestDelay, LongestDelay);
    held.delayTo = std::clamp(delayTo, ShortestDelay, LongestDelay);
    if (held.delayTo < held.delayFrom)
        std::swap(held.delayFrom, held.delayTo);
    if (par)
        held.par = std::clamp(*par, ShortestPar, LongestPar);
    // The name travels into the history's comma-separated lines.
    held.name.remove(QLatin1Char(',')).remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    held.name = held.name.trimmed();
    return held;
}

QString DrillRules::title() const {
    return name.isEmpty() ? QStringLiteral("Timed Series") : name;
}

std::vector<DrillRules> drillPresets() {
    using std::chrono::milliseconds;
    // The 25 m pistol series: five shots in 150, 20 or 10 seconds from the
    // start, after a fixed warning of 7 s; the fast ones need the short pause.
    DrillRules precision{.name = QStringLiteral("25 m precision 150 s"),
                         .shots = 5,
                         .strings = 1,
                         .delayFrom = milliseconds(7000),
                         .delayTo = milliseconds(7000),
                         .par = milliseconds(150000),
                         .shortPause = false};
    DrillRules twenty = precision;
    twenty.name = QStringLiteral("25 m 20 s");
    twenty.par = milliseconds(20000);
    twenty.shortPause = true;
    DrillRules ten = twenty;
    ten.name = QStringLiteral("25 m 10 s");
    ten.par = milliseconds(10000);
    // One shot from the holster at a random beep, five times over.
    const DrillRules draw{.name = QStringLiteral("Draw and shoot 1.5 s par"),
                          .shots = 1,
                          .strings = 5,
                          .delayFrom = milliseconds(2000),
                          .delayTo = milliseconds(5000),
                          .par = milliseconds(1500),
                          .shortPause = true};
    return {precision, twenty, ten, draw};
}

} // namespace app
