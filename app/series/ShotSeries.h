#pragma once
// The rules of one series of shots: which hits count, the pause after "New
// Game" and after every shot and the cue that ends it, the score card's lines
// and the finished series for the history. It holds no widget and no timer:
// the caller tells it what happened and when, runs the pause on a timer of its
// own and shows, plays and keeps what comes back.

#include "platform/ShotTally.h"
#include "record/Series.h"

#include <QString>
#include <chrono>
#include <cstdint>
#include <optional>
#include <variant>

namespace app {

// The spoken cue that ends a pause.
enum class Cue : std::uint8_t {
    Ready,  // after "New Game": the series is open
    Next,   // after a shot before the last: the next one may come
    Finish, // after the last shot: the series is complete
};

// The length of a series and of its pauses.
struct SeriesRules {
    // Shots in a series, 1 up to the history's record::Series::Shots.
    std::int16_t shots = record::Series::Shots;
    // After "New Game" and after every shot.
    std::chrono::milliseconds pause{1500};
};

class ShotSeries {
public:
    // Wall-clock time, since the finished series is dated with it. Nothing
    // here waits for the clock, so a clock that is set forward or back
    // cannot hold up a series.
    using Clock = std::chrono::system_clock;

    // A hit that counted, and what it adds to the score card.
    struct Shot {
        std::int16_t number = 0; // 1 for the first shot of the series
        std::int32_t result = 0; // the ring, as the card shows it
        QString line;            // "Shot  1 Result Is  9\r\n"
        QString summary;         // after the last shot only: "Summary  85 From 100\r\n"
        // After the last shot of a series as long as the history's: the
        // series to append there, dated with the last shot's time.
        std::optional<record::Series> finished;
    };
    // A shot, or why the hit did not count.
    using Outcome = std::variant<Shot, platform::MissReason>;

    // Rules out of range are held to their range.
    explicit ShotSeries(SeriesRules rules = {});

    const SeriesRules& rules() const { return rules_; }

    // Starts a series afresh from any state, with an empty card and a pause;
    // a pause that is running starts anew.
    void newGame(Clock::time_point now);
    // A hit at (x, y) twips from the target centre (x to the right, y up)
    // with its raw score. While the series is ready, it counts and a pause
    // begins; otherwise nothing changes.
    Outcome hit(Clock::time_point now, std::int32_t x, std::int32_t y, double score);
    // The pause is over, as the caller's timer says: the series is ready, and
    // the cue to play comes back. The timer is taken at its word rather than
    // checked against the clock, since a timer may fire a little early.
    // Without a running pause nothing happens.
    std::optional<Cue> pauseOver();

    // Where the series stands: not begun, in a pause, open for a shot, or
    // complete (its last pause over).
    enum class Stage { NotBegun, Pausing, Ready, Complete };
    Stage stage() const;

    bool readyToShoot() const { return ready_; }
    bool pausing() const { return pauseEnds_.has_value(); }
    // What is left of the running pause at now, at least 0; 0 without one.
    std::chrono::milliseconds pauseLeft(Clock::time_point now) const;
    std::int16_t shotCount() const { return shotCount_; }
    std::int32_t totalScore() const { return totalScore_; }

private:
    SeriesRules rules_;
    bool ready_ = false;
    std::optional<Clock::time_point> pauseEnds_;
    std::int16_t shotCount_ = 0;
    std::int32_t totalScore_ = 0;
    record::Series series_; // the shots so far, for the history
};

} // namespace app
