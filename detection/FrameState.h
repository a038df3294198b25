#pragma once
// What the frame routine keeps from one frame to the next, for the whole
// process.

#include <cstdint>
#include <vector>

namespace MotionDetection {

struct FrameState {
    // Each sized to the latest analysed frame plus one byte; resized keeping
    // the content, so growth adds zeros.
    std::vector<std::uint8_t> BufferA;
    std::vector<std::uint8_t> BufferB;
    std::int32_t FrameCount = 0; // frames delivered so far, analysed or not
    bool LatestInA = false;      // the latest analysed frame went into BufferA
};

} // namespace MotionDetection
