#pragma once
// What a timed drill asks of the shooter: strings of shots, each started by
// a beep after a delay (fixed, or random between two values), an optional
// par time from the beep after which shots are marked late, and the pause
// after a hit. The presets are the drills most shooters know.

#include <QString>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace app {

struct DrillRules {
    using Duration = std::chrono::milliseconds;

    static constexpr std::int16_t MostShots = 10;   // per string, 1 to this
    static constexpr std::int16_t MostStrings = 10; // 1 to this
    static constexpr Duration ShortestDelay{1000};
    static constexpr Duration LongestDelay{10000};
    static constexpr Duration ShortestPar{500};
    static constexpr Duration LongestPar{300000};
    static constexpr Duration LongPause{1500}; // the Standard series' pause
    static constexpr Duration ShortPause{150}; // for fast strings

    QString name; // the preset's, or empty for the shooter's own drill
    std::int16_t shots = 5;
    std::int16_t strings = 1;
    Duration delayFrom{2000}; // the delay is random between these two,
    Duration delayTo{4000};   // fixed when they are equal
    std::optional<Duration> par;
    bool shortPause = false;

    Duration pause() const { return shortPause ? ShortPause : LongPause; }
    bool randomDelay() const { return delayTo > delayFrom; }
    // Every value held to its range, the delay's ends in order.
    DrillRules heldToRange() const;
    // The name the history and the dialog show: the preset's, or "Timed Series".
    QString title() const;

    bool operator==(const DrillRules&) const = default;
};

// "25 m precision 150 s", "25 m 20 s", "25 m 10 s", "Draw and shoot 1.5 s
// par": five shots each.
std::vector<DrillRules> drillPresets();

} // namespace app
