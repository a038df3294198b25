#pragma once
// Test access to the frame routine's process-wide state.

#include "detection/FrameState.h"

#include <cstdint>

namespace MotionDetection {

// Back to the program's start: empty buffers, count 0, LatestInA false.
void resetFrameStateForTesting();
const FrameState& frameStateForTesting();
void setFrameCountForTesting(std::int32_t count);

} // namespace MotionDetection
