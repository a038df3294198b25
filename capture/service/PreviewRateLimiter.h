#pragma once
// The one preview-rate limit: at most one frame per preview period, so that
// frames the preview would drop are never converted or delivered. Used by the
// capture window (on its own clock) and by the camera driver (on the camera's
// time stamps). A quarter of the period is allowed as slack: a camera or timer
// running at exactly the preview rate jitters around the period and must not
// lose every other frame.

#include <cstdint>
#include <optional>

namespace capture {

class PreviewRateLimiter {
public:
    explicit PreviewRateLimiter(int periodMs = 0) { setPeriod(periodMs); }

    // A new period starts afresh: the next frame is due at once.
    void setPeriod(int periodMs) {
        periodUs_ = periodMs > 0 ? std::int64_t{periodMs} * 1000 : 0;
        last_.reset();
    }

    // True when a frame taken at the time (microseconds) is due; it then
    // counts as the last one let through.
    bool admit(std::int64_t timeUs) {
        // A clock that went backwards (a camera restarting its time stamps)
        // starts over rather than blocking frames for good.
        if (last_ && timeUs >= *last_ && timeUs - *last_ < periodUs_ - periodUs_ / 4)
            return false;
        last_ = timeUs;
        return true;
    }

    // A frame let through regardless counts as the last one all the same.
    void letThrough(std::int64_t timeUs) { last_ = timeUs; }

private:
    std::int64_t periodUs_ = 0;
    std::optional<std::int64_t> last_;
};

} // namespace capture
