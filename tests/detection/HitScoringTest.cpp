// Where a hit lands and what it scores: the centroid of the changed cells,
// its raw score and its place on the target picture from change maps made by
// hand; and end to end, the simulated camera's frames flowing through a
// previewing capture window into the frame routine, where a laser pulse at a
// point of ring r comes out as a hit that the score card would record as r.

#include "capture/CallBackFunctions.h"
#include "capture/service/CaptureWindow.h"
#include "detection/ChangeMap.h"
#include "tests/detection/DetectionFixture.h"

#include <cmath>

namespace detectiontest {
namespace {

using HitLocation = DetectionTest;

TEST_F(HitLocation, ReportsOffsetAndRawScore) {
    const std::vector<Cell> worked{{20, 15}, {21, 15}, {20, 16}, {21, 16}};
    // What, grid columns and rows, changed cells, target height, the hits.
    // clang-format off
    const std::tuple<const char*, int, int, std::vector<Cell>, float, std::vector<Hit>> table[] = {
        {"worked example", 32, 24, worked, 6000, {{1125, 875, 5.2493}}},
        {"562.5 and 437.5 to even", 32, 24, worked, 3000, {{562, 438, 5.2493}}},
        {"centre", 32, 24, {{15, 12}, {17, 12}}, 6000, {{0, 0, 10.0}}},
        {"corner, below zero", 32, 24, {{0, 0}, {1, 0}}, 6000, {{-3875, -3000, -6.3352}}},
        {"distance equal to Reach", 32, 24, {{0, 0}}, 6000, {}},
        {"53 x 40 grid", 53, 40, {{10, 30}, {11, 30}}, 6000, {{-2400, 1500, 0.5660}}},
        {"-437.5 to even", 32, 24, {{14, 9}, {14, 10}, {14, 11}, {15, 10}}, 6000, {{-438, -500, 7.78539}}},
        {"rows alone set the scale", 7, 5, {{5, 2}, {6, 2}}, 6000, {{2400, -600, 1.75379}}},
        {"extra column uncounted", 32, 24, {{20, 15}, {32, 15}}, 6000, {{1000, 750, 5.83333}}},
        {"only the extra column and row", 32, 24, {{32, 5}, {5, 24}, {32, 24}}, 6000, {}},
    };
    // clang-format on
    for (const auto& [what, cols, rows, cells, targetHeight, expected] : table) {
        SCOPED_TRACE(what);
        MotionDetection::ChangeMap map(cols, rows);
        map.Cols = cols;
        map.Rows = rows;
        map.Filled = true;
        for (const auto& [column, row] : cells)
            map.cell(column, row) = 1;
        MotionDetection::SetHitTarget(nullptr);
        MotionDetection::LocateHit(map); // without a target: dropped
        MotionDetection::SetHitTarget(this);
        hits.clear();
        height = targetHeight;
        MotionDetection::LocateHit(map);
        ASSERT_EQ(hits.size(), expected.size());
        for (std::size_t i = 0; i < hits.size(); ++i) {
            EXPECT_TRUE(hits[i].x == expected[i].x && hits[i].y == expected[i].y);
            EXPECT_NEAR(hits[i].score, expected[i].score, 5e-5);
        }
    }
}

using SimulatedRange = DetectionTest;

TEST_F(SimulatedRange, PulsesAreScoredInTheirRingsOnBothAxes) {
    camera.scene().noise = 4.0;
    camera.scene().dotRadius = 6.0;
    CallBackFunctions::RegisterFrameCallback(window, MotionDetection::FrameCallback);
    AVICAP::SetPreviewFrameRate(window, 30);
    AVICAP::SetPreview(window, true);
    camera.deliverNextFrame(); // the first meets empty buffers; the second settles
    camera.deliverNextFrame();
    for (const int ring : {10, 8, 5, 2})
        for (const auto& [dx, dy] : {Cell{-1, 0}, Cell{1, 0}, Cell{0, -1}, Cell{0, 1}}) {
            SCOPED_TRACE(::testing::Message() << "ring " << ring << " towards " << dx << dy);
            // The rings are 6 pixels wide, ring 10 inside 6 pixels.
            const double d = (10.5 - ring) * 6.0; // from the centre, in pixels
            camera.firePulseFromCentre(QPointF(dx * d, -dy * d), 2);
            hits.clear();
            for (int frame = 0; frame < 4; ++frame)
                camera.deliverNextFrame();
            ASSERT_EQ(hits.size(), 2U); // the dot appears, stays a frame, and vanishes
            for (const Hit& hit : hits) {
                EXPECT_EQ(std::min(static_cast<int>(std::floor(hit.score)) + 1, 10), ring);
                // Positive X lies further right in the picture, positive Y higher up.
                EXPECT_TRUE((dx == 0 || (hit.x > 0) == (dx > 0)) &&
                            (dy == 0 || (hit.y < 0) == (dy > 0)))
                    << hit.x << ", " << hit.y;
            }
        }
    // Between the pulses the noisy range gave no hits, and the preview shows
    // the cross: memory row 60 of the bottom-up frame is picture row 59.
    const QImage shown = platform::findCaptureWindow(window)->shownImage();
    EXPECT_TRUE(shown.pixel(10, 59) == qRgb(255, 255, 255) &&
                shown.pixel(10, 30) != qRgb(255, 255, 255));
}

} // namespace
} // namespace detectiontest
