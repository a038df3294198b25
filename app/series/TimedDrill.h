#pragma once
// The rules of a timed drill, without widgets or timers, around the series
// of each string (ShotSeries, which counts the shots, keeps the pause after
// each and writes the Standard part of every line). "New Game" starts the
// first string: a delay, then the start beep; a flash before the beep is
// early and does not count. Each shot's time is the capture time of the
// frame that showed it, less the time of the beep; its line on the score card
// adds that time for the first shot and the split for every other, and
// "late" after the par time; the string's summary adds hits, time and hit
// factor. The next string begins by itself after the last shot's pause,
// with a delay and a beep of its own; the last string ends with Finish.
// The caller runs the delay, par and pause timers and reports their end.

#include "app/series/DrillRules.h"
#include "app/series/ShotSeries.h"
#include "platform/ShotClock.h"
#include "platform/ShotTally.h"
#include "record/TimedString.h"

#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <variant>

namespace app {

class TimedDrill {
public:
    using Time = platform::ShotTime;
    using Duration = std::chrono::milliseconds;
    // A number from 0 to below 1 for the random delay; tests give their own.
    using Random = std::function<double()>;

    // The score card holds this many lines, a Standard series and its summary.
    static constexpr int CardLines = 11;

    // A string begins: its delay, and whether the card is to be cleared (and
    // the hole markers parked) first, since its lines would not fit below
    // the lines already there.
    struct StringStart {
        std::int16_t string = 1; // from 1
        Duration delay{};
        bool freshCard = false;
    };

    // A shot that counted.
    struct Shot {
        std::int16_t number = 0; // in its string, from 1
        int marker = 0;          // the hole marker it moves, 0 to 9
        std::int32_t result = 0;
        double time = 0.0;  // seconds from the beep
        double split = 0.0; // seconds from the shot before; the time for the first
        bool late = false;  // after the par time
        QString line;       // "Shot  1 Result Is  9  1.42s\r\n"
        QString summary;    // after the string's last shot
        // After the string's last shot: the string for the history, to be dated
        // by whoever keeps it.
        std::optional<record::TimedString> finished;
    };
    using Outcome = std::variant<Shot, platform::MissReason>;

    // After a pause: the cue to play, and the next string when one begins.
    struct PauseEnd {
        std::optional<Cue> cue;
        std::optional<StringStart> next;
    };

    enum class Stage { NotBegun, Delay, Open, Pausing, Finished, Stopped };

    // Rules out of range are held to their range.
    explicit TimedDrill(const DrillRules& rules, Random random = {});

    const DrillRules& rules() const { return rules_; }
    Stage stage() const { return stage_; }
    std::int16_t string() const { return string_; }

    // Starts the drill afresh from any stage with its first string.
    StringStart newGame();
    // The delay is over: the beep sounds now. False (no beep) outside a delay.
    bool delayOver(Time now);
    // The par time is over, as the caller's timer says: true when the par
    // beep is to sound (the string has a par and is still being shot).
    bool parOver();
    // A flash in a frame captured at `captured`.
    Outcome hit(Time captured, std::int32_t x, std::int32_t y, double score);
    // The pause after a shot is over, as the caller's timer says.
    PauseEnd pauseOver();
    // "Stop Drill": the string being shot is dropped, flashes do not count
    // until "New Game".
    void stop();

    // What is left of the pause at now (0 without one), for the caller's timer.
    Duration pauseLeft(Time now) const;
    // The score card's line for a shot, and the summary's addition.
    static QString timeText(double seconds, bool split);
    static QString summaryAddition(int hits, double elapsed, double hitFactor);

private:
    StringStart beginString(std::int16_t number);
    Duration chooseDelay();
    static ShotSeries::Clock::time_point seriesTime(Time time);

    DrillRules rules_;
    Random random_;
    Stage stage_ = Stage::NotBegun;
    std::int16_t string_ = 0;
    ShotSeries series_;
    std::optional<Time> beep_;
    bool parSounded_ = false;
    record::TimedString record_; // the string so far
    int cardLines_ = 0;          // lines on the card now
    int cardShots_ = 0;          // markers in use
};

} // namespace app
