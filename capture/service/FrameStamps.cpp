#include "capture/service/FrameStamps.h"

namespace capture {

FrameStamps::Time FrameStamps::stamp(std::int64_t streamMicros, Time arrival) {
    if (origin_ && streamMicros < last_)
        reset();
    last_ = streamMicros;
    const Time origin = arrival - std::chrono::microseconds(streamMicros);
    if (!origin_ || origin < *origin_)
        origin_ = origin;
    return *origin_ + std::chrono::microseconds(streamMicros);
}

void FrameStamps::reset() {
    origin_.reset();
    last_ = 0;
}

} // namespace capture
