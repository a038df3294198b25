// The centroid of the changed cells, its raw score and its place on the
// 6000-twip target picture, from change maps made by hand.

#include "detection/ChangeMap.h"
#include "detection/MotionDetection.h"
#include "tests/detection/DetectionFixture.h"

#include <cmath>
#include <utility>

namespace detectiontest {
namespace {

using MotionDetection::ChangeMap;

class HitLocation : public ::testing::Test {
protected:
    void SetUp() override { MotionDetection::SetHitTarget(&target); }
    void TearDown() override { MotionDetection::SetHitTarget(nullptr); }

    static ChangeMap mapWith(std::int32_t cols, std::int32_t rows,
                             const std::vector<std::pair<std::int32_t, std::int32_t>>& cells) {
        ChangeMap map(cols, rows);
        map.Cols = cols;
        map.Rows = rows;
        map.Filled = true;
        for (const auto& [column, row] : cells)
            map.cell(column, row) = 1;
        return map;
    }

    RecordingTarget target;
};

struct LocationCase {
    const char* name;
    std::int32_t cols;
    std::int32_t rows;
    std::vector<std::pair<std::int32_t, std::int32_t>> cells;
    std::int32_t x;
    std::int32_t y;
    double score;
};

class HitLocationCases : public HitLocation, public ::testing::WithParamInterface<LocationCase> {};

TEST_P(HitLocationCases, ReportsOffsetAndRawScore) {
    const LocationCase& c = GetParam();
    MotionDetection::LocateHit(mapWith(c.cols, c.rows, c.cells));
    ASSERT_EQ(target.hits.size(), 1U);
    EXPECT_EQ(target.hits[0].x, c.x);
    EXPECT_EQ(target.hits[0].y, c.y);
    EXPECT_NEAR(target.hits[0].score, c.score, 5e-5);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, HitLocationCases,
    ::testing::Values(
        LocationCase{
            "WorkedExample", 32, 24, {{20, 15}, {21, 15}, {20, 16}, {21, 16}}, 1125, 875, 5.2493},
        LocationCase{"CentreScoresTen", 32, 24, {{15, 12}, {17, 12}}, 0, 0, 10.0},
        // Far out: the score goes below zero and the hit is still passed on.
        LocationCase{"CornerScoresBelowZero", 32, 24, {{0, 0}, {1, 0}}, -3875, -3000, -6.3352},
        LocationCase{"GridOf53By40", 53, 40, {{10, 30}, {11, 30}}, -2400, 1500, 0.5660},
        // 250 x -1.75 = -437.5 goes to the even -438.
        LocationCase{"TieGoesToEven",
                     32,
                     24,
                     {{14, 9}, {14, 10}, {14, 11}, {15, 10}},
                     -438,
                     -500,
                     10.0 - std::sqrt(1.75 * 1.75 + 4.0) * 10.0 / 12.0},
        // The rows alone set the scale: 6000 / 5 = 1200 twips a cell on a 7 x 5 grid.
        LocationCase{"ScaleComesFromTheRows",
                     7,
                     5,
                     {{5, 2}, {6, 2}},
                     2400,
                     -600,
                     10.0 - std::sqrt(2.0 * 2.0 + 0.25) * 10.0 / 2.5}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HitLocation, ExtraColumnAndRowAreNotCounted) {
    MotionDetection::LocateHit(mapWith(32, 24, {{32, 5}, {32, 6}, {5, 24}, {32, 24}}));
    EXPECT_TRUE(target.hits.empty());
}

TEST_F(HitLocation, ExtraColumnDoesNotMoveTheCentroid) {
    MotionDetection::LocateHit(mapWith(32, 24, {{20, 15}, {32, 15}}));
    ASSERT_EQ(target.hits.size(), 1U);
    EXPECT_EQ(target.hits[0].x, 1000); // (20 - 16) x 250
}

TEST_F(HitLocation, UnfilledMapHasNoHit) {
    ChangeMap map = mapWith(32, 24, {{20, 15}, {21, 15}});
    map.Filled = false;
    MotionDetection::LocateHit(map);
    EXPECT_TRUE(target.hits.empty());
}

TEST_F(HitLocation, DistanceEqualToReachIsRejected) {
    const ChangeMap map = mapWith(32, 24, {});
    // Reach is half the diagonal: sqrt(16^2 + 12^2) = 20 exactly.
    MotionDetection::ScoreHit({16.0, 12.0, 20.0}, map);
    EXPECT_TRUE(target.hits.empty());
    MotionDetection::ScoreHit({16.0, 12.0, std::nextafter(20.0, 0.0)}, map);
    ASSERT_EQ(target.hits.size(), 1U);
    EXPECT_NEAR(target.hits[0].score, 10.0 - 200.0 / 12.0, 1e-9);
    EXPECT_EQ(target.hits[0].x, 4000);
    EXPECT_EQ(target.hits[0].y, 3000);
}

TEST_F(HitLocation, ScaleFollowsTheTargetHeight) {
    target.height = 3000.0F;
    MotionDetection::LocateHit(mapWith(32, 24, {{20, 15}, {21, 15}, {20, 16}, {21, 16}}));
    ASSERT_EQ(target.hits.size(), 1U);
    EXPECT_EQ(target.hits[0].x, 562); // 125 x 4.5 = 562.5, to the even 562
    EXPECT_EQ(target.hits[0].y, 438); // 125 x 3.5 = 437.5, to the even 438
}

TEST_F(HitLocation, NoTargetNoCrash) {
    MotionDetection::SetHitTarget(nullptr);
    MotionDetection::LocateHit(mapWith(32, 24, {{20, 15}, {21, 15}}));
    EXPECT_TRUE(target.hits.empty());
}

} // namespace
} // namespace detectiontest
