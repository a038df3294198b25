// A camera's buffer time stamps on the shot clock: frames keep the spacing
// the camera gave them however late each arrives, none is stamped after it
// arrived, and a stream that starts again starts afresh.

#include "capture/service/FrameStamps.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using Time = capture::FrameStamps::Time;

TEST(FrameStamps, KeepTheCamerasSpacingAndNeverComeAfterTheArrival) {
    const Time start = Time{} + 50h;
    capture::FrameStamps stamps;
    // Frames 33 333 us apart by the camera, arriving 40, 25, 90 and 25 ms late.
    EXPECT_EQ(stamps.stamp(1'000'000, start + 1s + 40ms), start + 1s + 40ms);
    // Less late than the first: the origin moves back, the frame is on time.
    EXPECT_EQ(stamps.stamp(1'033'333, start + 1033333us + 25ms), start + 1033333us + 25ms);
    // Later than that: its own stamp, not its arrival.
    EXPECT_EQ(stamps.stamp(1'066'666, start + 1066666us + 90ms), start + 1066666us + 25ms);
    EXPECT_EQ(stamps.stamp(1'100'000, start + 1100ms + 25ms), start + 1100ms + 25ms);
    // Two stamps 150 ms apart stay 150 ms apart.
    const Time first = stamps.stamp(2'000'000, start + 2s + 60ms);
    const Time second = stamps.stamp(2'150'000, start + 2150ms + 30ms);
    EXPECT_EQ(second - first, 150ms);

    // The stream starts again from 0: the origin is taken afresh.
    EXPECT_EQ(stamps.stamp(0, start + 10s), start + 10s);
    EXPECT_EQ(stamps.stamp(33'333, start + 10s + 33333us + 5ms), start + 10s + 33333us);
    stamps.reset();
    EXPECT_EQ(stamps.stamp(5'000'000, start + 20s), start + 20s);
}

} // namespace
