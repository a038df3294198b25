// Where a hit lands and what it scores: the centroid of the changed cells,
// its raw score and its place on the target picture, from change maps made
// by hand. (The whole path from a laser pulse to the score card is
// tests/app/ShotRecordTest.cpp.)

#include "detection/ChangeMap.h"
#include "tests/detection/DetectionFixture.h"

namespace detectiontest {
namespace {

using HitLocation = DetectionTest;

TEST_F(HitLocation, ReportsOffsetAndRawScore) {
    const std::vector<Cell> worked{{20, 15}, {21, 15}, {20, 16}, {21, 16}};
    struct Row {
        const char* what;
        int cols, rows;          // of the grid
        std::vector<Cell> cells; // changed
        float targetHeight;
        std::vector<Hit> expected;
    };
    // clang-format off
    const Row table[] = {
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

} // namespace
} // namespace detectiontest
