#pragma once
// Lets through at most one camera frame per preview period, so frames that
// the preview would drop are never converted. A quarter of the period is
// allowed as slack: a camera running at exactly the preview rate jitters
// around the period and must not lose every other frame.

#include <cstdint>
#include <optional>

namespace platform {

class QtCameraRateLimiter {
public:
    void setPeriod(int periodMs) {
        periodUs_ = periodMs > 0 ? std::int64_t{periodMs} * 1000 : 0;
        last_.reset();
    }

    // True when a frame taken at the time (microseconds) is due.
    bool admit(std::int64_t timeUs) {
        // A clock that went backwards (a camera restarting its time stamps)
        // starts over rather than blocking frames for good.
        if (last_ && timeUs >= *last_ && timeUs - *last_ < periodUs_ - periodUs_ / 4)
            return false;
        last_ = timeUs;
        return true;
    }

private:
    std::int64_t periodUs_ = 0;
    std::optional<std::int64_t> last_;
};

} // namespace platform
