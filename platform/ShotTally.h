#pragma once
// Why a flash did not count: how often each reason turned a change of the
// picture away, which reason came last and when, for the camera's source
// dialog. The frame analysis and the main window count here on every frame
// they drop, so counting is a few integer stores; text is made only when a
// dialog asks for it. Like the frame analysis, it is used from the main
// window's thread only.

#include <QString>
#include <array>
#include <chrono>
#include <cstdint>
#include <optional>

namespace platform {

enum class MissReason : std::uint8_t {
    SpotTooLarge,   // spread as far as Maximal Laser Beam Diameter, or further
    SingleSample,   // the change covered one compared pixel only
    BeyondTarget,   // the spot's centre lies off the target
    WrongFormat,    // the picture is not 160 x 120 x 24 (or cannot be read)
    BeforeNewGame,  // no series started
    DuringPause,    // the pause after "New Game" or after a shot
    SeriesFinished, // ten shots recorded
    FrameSkipped,   // stepped over by Sample Every N-th Frame
    EarlyShot,      // a timed drill's flash before its start beep
    DotWentOut,     // a timed drill's dot going out, not coming on
};
inline constexpr std::size_t MissReasonCount = 10;

class ShotTally {
public:
    using Clock = std::chrono::steady_clock;

    void count(MissReason reason);
    void countShot(); // a flash that reached the score card
    void reset();

    std::uint64_t countOf(MissReason reason) const {
        return counts_[static_cast<std::size_t>(reason)];
    }
    std::uint64_t shots() const { return shots_; }
    // The reason that turned the last flash away. A skipped frame is counted
    // but never becomes the last reason: most frames are skipped whether a
    // flash falls on them or not, and would hide the reason that matters.
    std::optional<MissReason> last() const { return last_; }
    Clock::time_point lastTime() const { return lastTime_; }
    Clock::time_point lastShotTime() const { return lastShotTime_; }

    // The reason as the shooter reads it.
    static QString describe(MissReason reason);

private:
    std::array<std::uint64_t, MissReasonCount> counts_{};
    std::uint64_t shots_ = 0;
    std::optional<MissReason> last_;
    Clock::time_point lastTime_;
    Clock::time_point lastShotTime_;
};

// The program's one tally.
ShotTally& shotTally();

} // namespace platform
