// Dots on the aiming cross: the analysis compares the camera's own pixels, so
// a dot on the bull's eye or across a cross line is found where it is, at
// every grid step.

#include "tests/detection/DetectionFixture.h"

#include <cmath>

namespace detectiontest {
namespace {

using AimingCross = DetectionTest;

TEST_F(AimingCross, DotsOnTheCrossAreFoundWhereTheyAre) {
    // Dot centres in pixels of the frame as stored (row 60 carries the cross).
    struct Dot {
        const char* where;
        double x, y;
    };
    const Dot dots[] = {{"on the bull's eye", 80, 60},
                        {"across the vertical line", 82, 85},
                        {"across the horizontal line", 110, 58}};
    constexpr double radius = 6.0; // under the 14 pixels the cross used to hide
    for (const std::int32_t step : {1, 3, 5, 7})
        for (const Dot& dot : dots) {
            SCOPED_TRACE(::testing::Message() << dot.where << ", S " << step);
            restart(step, 50, 20);
            hits.clear();
            for (int i = 0; i < 3; ++i) { // two dark frames, then the dot
                Bytes frame(57600, 30);
                for (std::ptrdiff_t y = 0; y < 120 && i == 2; ++y)
                    for (std::ptrdiff_t x = 0; x < 160; ++x)
                        if (std::hypot(x - dot.x, y - dot.y) <= radius)
                            std::fill_n(frame.begin() + (y * 160 + x) * 3, 3, 220);
                deliver(frame);
            }
            ASSERT_EQ(hits.size(), 1U);
            // Within half a grid cell of the dot's centre.
            const double cols = std::nearbyint(160.0 / step), rows = std::nearbyint(120.0 / step);
            const double perCell = 6000.0 / rows;
            EXPECT_NEAR(hits[0].x, perCell * (dot.x / step - cols / 2), perCell / 2);
            EXPECT_NEAR(hits[0].y, perCell * (dot.y / step - rows / 2), perCell / 2);
        }
}

} // namespace
} // namespace detectiontest
