// End to end: the simulated camera's frames flow through a previewing
// capture window into the frame routine, and a laser pulse at a point of
// ring r comes out as a hit that the score card would record as r.

#include "capture/CallBackFunctions.h"
#include "platform/CaptureWindow.h"
#include "tests/detection/DetectionFixture.h"

#include <cmath>

namespace detectiontest {
namespace {

using SimulatedRange = DetectionTest;

TEST_F(SimulatedRange, PulsesAreScoredInTheirRingsOnBothAxes) {
    camera.scene().noise = 4.0;
    camera.scene().dotRadius = 6.0;
    CallBackFunctions::RegisterFrameCallback(window, MotionDetection::FrameCallback);
    AVICAP::SetPreviewFrameRate(window, 30);
    AVICAP::SetPreview(window, true);
    const auto deliverFrames = [this](int count) {
        for (int i = 0; i < count; ++i)
            camera.deliverNextFrame();
    };
    deliverFrames(2); // the first meets empty buffers; the second settles
    for (const int ring : {10, 8, 5, 2}) {
        for (const auto& [dx, dy] : {Cell{-1, 0}, Cell{1, 0}, Cell{0, -1}, Cell{0, 1}}) {
            SCOPED_TRACE(::testing::Message()
                         << "ring " << ring << " towards " << dx << ", " << dy);
            // The grid's centre lies at pixel (80, 59) of the top-down picture (pixel
            // centres at +0.5); the rings are 6 pixels wide, ring 10 inside 6 pixels.
            const double distance = (10.5 - ring) * 6.0;
            camera.firePulse(QPointF((80.5 + dx * distance) / 160, (59.5 + dy * distance) / 120),
                             2);
            target.hits.clear();
            deliverFrames(4);
            ASSERT_EQ(target.hits.size(), 2U); // the dot appears, stays a frame, and vanishes
            for (const Hit& hit : target.hits) {
                EXPECT_EQ(std::min(static_cast<int>(std::floor(hit.score)) + 1, 10), ring);
                // Positive X lies further right in the picture, positive Y higher up.
                EXPECT_TRUE(dx == 0 || (hit.x > 0) == (dx > 0)) << hit.x;
                EXPECT_TRUE(dy == 0 || (hit.y < 0) == (dy > 0)) << hit.y;
            }
        }
    }
    // Between the pulses the noisy range gave no hits, and the preview shows
    // the cross: memory row 60 of the bottom-up frame is picture row 59.
    const QImage shown = platform::findCaptureWindow(window)->shownImage();
    EXPECT_EQ(shown.pixel(10, 59), qRgb(255, 255, 255));
    EXPECT_EQ(shown.pixel(80, 5), qRgb(255, 255, 255));
    EXPECT_NE(shown.pixel(10, 30), qRgb(255, 255, 255));
}

} // namespace
} // namespace detectiontest
