// The centroid of the changed cells, its raw score and its place on the
// target picture, from change maps made by hand.

#include "detection/ChangeMap.h"
#include "tests/detection/DetectionFixture.h"

namespace detectiontest {

TEST(HitLocation, ReportsOffsetAndRawScore) {
    struct Row {
        const char* what;
        std::int32_t cols, rows;
        std::vector<Cell> cells;
        float height;
        bool hit;
        std::int32_t x, y;
        double score;
    };
    const std::vector<Cell> worked{{20, 15}, {21, 15}, {20, 16}, {21, 16}};
    // clang-format off
    const Row table[] = {
        {"worked example", 32, 24, worked, 6000, true, 1125, 875, 5.2493},
        {"562.5 and 437.5 to even", 32, 24, worked, 3000, true, 562, 438, 5.2493},
        {"centre", 32, 24, {{15, 12}, {17, 12}}, 6000, true, 0, 0, 10.0},
        {"corner, below zero", 32, 24, {{0, 0}, {1, 0}}, 6000, true, -3875, -3000, -6.3352},
        {"distance equal to Reach", 32, 24, {{0, 0}}, 6000, false, 0, 0, 0},
        {"53 x 40 grid", 53, 40, {{10, 30}, {11, 30}}, 6000, true, -2400, 1500, 0.5660},
        {"-437.5 to even", 32, 24, {{14, 9}, {14, 10}, {14, 11}, {15, 10}}, 6000, true, -438, -500, 7.78539},
        {"rows alone set the scale", 7, 5, {{5, 2}, {6, 2}}, 6000, true, 2400, -600, 1.75379},
        {"extra column uncounted", 32, 24, {{20, 15}, {32, 15}}, 6000, true, 1000, 750, 5.83333},
        {"only the extra column and row", 32, 24, {{32, 5}, {5, 24}, {32, 24}}, 6000, false, 0, 0, 0},
    };
    // clang-format on
    for (const Row& row : table) {
        SCOPED_TRACE(row.what);
        MotionDetection::ChangeMap map(row.cols, row.rows);
        map.Cols = row.cols;
        map.Rows = row.rows;
        map.Filled = true;
        for (const auto& [column, cellRow] : row.cells)
            map.cell(column, cellRow) = 1;
        MotionDetection::LocateHit(map); // without a target: dropped
        RecordingTarget target;
        target.height = row.height;
        MotionDetection::SetHitTarget(&target);
        MotionDetection::LocateHit(map);
        MotionDetection::SetHitTarget(nullptr);
        ASSERT_EQ(target.hits.size(), row.hit ? 1U : 0U);
        if (row.hit) {
            EXPECT_EQ(target.hits[0].x, row.x);
            EXPECT_EQ(target.hits[0].y, row.y);
            EXPECT_NEAR(target.hits[0].score, row.score, 5e-5);
        }
    }
}

} // namespace detectiontest
