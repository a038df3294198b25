#pragma once
// The camera's own picture of the frame a capture window is handing to its
// frame routine, for the enhanced detection, which reads the full picture
// where the standard analysis reads the 160 x 120 frame; and when that frame
// was captured, for the times of a timed drill.

#include "capture/CaptureRecords.h"
#include "capture/FullFrame.h"

#include <chrono>
#include <optional>

namespace capture {

// Null outside the frame routine, for an unknown window, or when the
// window's driver delivers no larger picture than the frame.
const FullFrame* deliveredPicture(CaptureHandle window);

// When the frame being delivered was captured, on the shot clock
// (platform::shotClockNow); none outside the frame routine or for an
// unknown window.
std::optional<std::chrono::steady_clock::time_point> deliveredFrameTime(CaptureHandle window);

} // namespace capture
