#pragma once
// The clock of shot times: when a camera frame was captured and when the
// start beep sounded. Steady, so a clock set forward or back changes no
// shot's time; and a seam, so a test sets the time itself and the simulated
// range, which stamps its frames with it, follows.

#include <chrono>
#include <functional>

namespace platform {

using ShotClock = std::chrono::steady_clock;
using ShotTime = ShotClock::time_point;

// The time now: the steady clock's, or the installed source's.
ShotTime shotClockNow();

// Installs a source of the time (empty: the steady clock again) and answers
// the one it replaces; for a SeamGuard.
using ShotClockSource = std::function<ShotTime()>;
ShotClockSource setShotClock(ShotClockSource source);

} // namespace platform
