#include "platform/ShotTally.h"

namespace platform {

namespace {
ShotTally tally;
} // namespace

void ShotTally::count(MissReason reason) {
    ++counts_[static_cast<std::size_t>(reason)];
    if (reason == MissReason::FrameSkipped)
        return;
    last_ = reason;
    lastTime_ = Clock::now();
}

void ShotTally::countShot() {
    ++shots_;
    lastShotTime_ = Clock::now();
}

void ShotTally::reset() {
    *this = ShotTally{};
}

QString ShotTally::describe(MissReason reason) {
    // In the order of MissReason.
    static constexpr std::array<const char*, MissReasonCount> Texts{
        "Spot too large for Maximal Laser Beam Diameter",
        "Spot too small (one compared pixel)",
        "Beyond the target",
        "Picture not 160 x 120 x 24",
        "Before \"New Game\"",
        "During the pause (wait for \"Ready\" or \"Next\")",
        "Series finished (press \"New Game\")",
        "Frames not analysed (Sample Every N-th Frame)",
        "Early: before the start beep",
        "Dot going out (held past the pause)"};
    return QString::fromUtf8(Texts.at(static_cast<std::size_t>(reason)));
}

ShotTally& shotTally() {
    return tally;
}

} // namespace platform
