#pragma once
// A camera's own time stamps of its frames (microseconds of its stream, as
// Qt's QVideoFrame::startTime gives them) put on the shot clock. The two
// clocks run at one rate from different origins; the origin taken is the
// least delay seen between a stamp and its frame's arrival, so frames keep
// the spacing the camera gave them however late each one arrives, and none
// is stamped after it arrived. A stamp that goes back (the stream started
// again) starts the origin afresh.

#include <chrono>
#include <cstdint>
#include <optional>

namespace capture {

class FrameStamps {
public:
    using Time = std::chrono::steady_clock::time_point;

    // The capture time of a frame stamped streamMicros that arrived at arrival.
    Time stamp(std::int64_t streamMicros, Time arrival);
    void reset();

private:
    std::optional<Time> origin_; // the shot clock's time of stream time 0
    std::int64_t last_ = 0;
};

} // namespace capture
