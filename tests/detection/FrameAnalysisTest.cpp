// The frame routine on 160 x 120 x 24-bit frames: sampling, the change map's
// extent and the spot-size decision, ending in the hit that reaches the target.

#include "detection/MotionDetection.h"
#include "detection/Testing.h"
#include "tests/detection/DetectionFixture.h"

#include <cmath>
#include <limits>
#include <utility>

namespace detectiontest {
namespace {

using Cell = std::pair<std::int32_t, std::int32_t>;

class FrameAnalysis : public DetectionTest {
protected:
    void restart() {
        MotionDetection::ResetFrameStateForTesting();
        target.hits.clear();
    }
    // Two blank frames (the first is compared with zeros), then one with the
    // given cells lit; answers the hits of that last frame.
    std::vector<Hit> spotAfterBlanks(const std::vector<Cell>& cells, std::int32_t step) {
        Frame blank(160, 120);
        deliver(blank);
        Frame again(160, 120);
        deliver(again);
        target.hits.clear();
        Frame spot(160, 120);
        for (const auto& [column, row] : cells)
            spot.setCell(column, row, step, 200);
        deliver(spot);
        return target.hits;
    }
};

TEST_F(FrameAnalysis, WorkedExampleReachesTheTarget) {
    const auto hits = spotAfterBlanks({{20, 15}, {21, 15}, {20, 16}, {21, 16}}, 5);
    ASSERT_EQ(hits.size(), 1U);
    EXPECT_EQ(hits[0].x, 1125);
    EXPECT_EQ(hits[0].y, 875);
    EXPECT_DOUBLE_EQ(hits[0].score, 10.0 - std::sqrt(32.5) * 10.0 / 12.0);
    EXPECT_NEAR(hits[0].score, 5.2493, 1e-4);
}

TEST_F(FrameAnalysis, TheDotVanishingIsAChangeToo) {
    spotAfterBlanks({{20, 15}, {21, 15}}, 5);
    Frame blank(160, 120);
    deliver(blank);
    ASSERT_EQ(target.hits.size(), 2U);
    EXPECT_EQ(target.hits[1].x, target.hits[0].x);
    EXPECT_EQ(target.hits[1].y, target.hits[0].y);
}

TEST_F(FrameAnalysis, NoChangeIsNotPassedOn) {
    setParameters(1, 5, 50, 100);
    Frame first(160, 120);
    deliver(first);
    target.hits.clear();
    for (int i = 0; i < 3; ++i) {
        Frame same(160, 120);
        deliver(same);
    }
    EXPECT_TRUE(target.hits.empty());
}

TEST_F(FrameAnalysis, SingleChangedCellIsNotPassedOn) {
    setParameters(1, 5, 50, 100);
    EXPECT_TRUE(spotAfterBlanks({{20, 15}}, 5).empty());
}

TEST_F(FrameAnalysis, MaxLaserBeamOfOnePassesNothing) {
    setParameters(1, 5, 50, 1);
    EXPECT_TRUE(spotAfterBlanks({{20, 15}, {21, 15}, {20, 16}, {21, 16}}, 5).empty());
}

TEST_F(FrameAnalysis, ToleranceOf255SeesNoChange) {
    setParameters(1, 5, 255, 100);
    Frame white(160, 120);
    white.fill(255);
    deliver(white); // 255 against zeros is not more than 255
    Frame black(160, 120);
    deliver(black);
    EXPECT_TRUE(spotAfterBlanks({{20, 15}, {21, 15}}, 5).empty());
    EXPECT_TRUE(target.hits.empty());
}

TEST_F(FrameAnalysis, DifferenceMustExceedTheToleranceStrictly) {
    setParameters(1, 5, 50, 20);
    Frame blank(160, 120);
    deliver(blank);
    Frame again(160, 120);
    deliver(again);
    target.hits.clear();
    Frame atTolerance(160, 120);
    atTolerance.setCell(20, 15, 5, 50);
    atTolerance.setCell(21, 15, 5, 50);
    deliver(atTolerance);
    EXPECT_TRUE(target.hits.empty());
    Frame above(160, 120);
    above.setCell(20, 15, 5, 101); // 101 - 50 = 51 against the previous frame
    above.setCell(21, 15, 5, 101);
    deliver(above);
    EXPECT_EQ(target.hits.size(), 1U);
}

TEST_F(FrameAnalysis, AnyByteOfThePixelCounts) {
    Frame blank(160, 120);
    deliver(blank);
    Frame again(160, 120);
    deliver(again);
    target.hits.clear();
    Frame redOnly(160, 120);
    // Only the third byte (red) of each pixel changes.
    redOnly.bytes[static_cast<std::size_t>(75 * 480 + 100 * 3 + 2)] = 200;
    redOnly.bytes[static_cast<std::size_t>(75 * 480 + 105 * 3 + 2)] = 200;
    deliver(redOnly);
    EXPECT_EQ(target.hits.size(), 1U);
}

// The first frame is compared with the zeros of new buffers.
class FirstFrameAgainstZeros : public FrameAnalysis,
                               public ::testing::WithParamInterface<std::int32_t> {};

TEST_P(FirstFrameAgainstZeros, SpotOf97PassesOnlyBelowMaxLaserBeam) {
    const std::int32_t maxBeam = GetParam();
    setParameters(1, 5, 50, maxBeam);
    Frame bright(160, 120);
    bright.fill(100);
    deliver(bright);
    // Every cell changed: XExtent nearest(3100 / 32) = 97, YExtent nearest(2300 / 24) = 96.
    if (maxBeam <= 97) {
        EXPECT_TRUE(target.hits.empty());
        return;
    }
    ASSERT_EQ(target.hits.size(), 1U);
    // The centroid of the whole 32 x 24 grid is (15.5, 11.5).
    EXPECT_EQ(target.hits[0].x, -125);
    EXPECT_EQ(target.hits[0].y, -125);
    EXPECT_DOUBLE_EQ(target.hits[0].score, 10.0 - std::sqrt(0.5) * 10.0 / 12.0);
}

INSTANTIATE_TEST_SUITE_P(MaxLaserBeam, FirstFrameAgainstZeros,
                         ::testing::Values(20, 96, 97, 98, 99, 100));

// Grid sizes on a 160 x 120 frame for the step S.
struct GridCase {
    std::int32_t step;
    std::int32_t visitedCols;
    std::int32_t gridCols;
    std::int32_t visitedRows;
    std::int32_t gridRows;
};

class GridSize : public FrameAnalysis, public ::testing::WithParamInterface<GridCase> {
protected:
    void SetUp() override {
        FrameAnalysis::SetUp();
        setParameters(1, GetParam().step, 50, 100);
    }
    // Where the hit of a spot whose counted cells have this centroid lands.
    static Hit expected(double meanX, double meanY, const GridCase& g) {
        const double dx = meanX - g.gridCols / 2.0;
        const double dy = meanY - g.gridRows / 2.0;
        const double perRow = 6000.0 / g.gridRows;
        const double distance = std::sqrt(dx * dx + dy * dy);
        return {static_cast<std::int32_t>(std::nearbyint(perRow * dx)),
                static_cast<std::int32_t>(std::nearbyint(perRow * dy)),
                10.0 - distance * 10.0 / (g.gridRows / 2.0)};
    }
    static void expectHit(const std::vector<Hit>& hits, const Hit& want) {
        ASSERT_EQ(hits.size(), 1U);
        EXPECT_EQ(hits[0].x, want.x);
        EXPECT_EQ(hits[0].y, want.y);
        EXPECT_DOUBLE_EQ(hits[0].score, want.score);
    }
};

TEST_P(GridSize, CornerSpotIsScoredOnTheGrid) {
    const GridCase g = GetParam();
    expectHit(spotAfterBlanks({{0, 0}, {1, 0}}, g.step), expected(0.5, 0.0, g));
}

TEST_P(GridSize, LastVisitedColumnCountsOnlyInsideTheGrid) {
    const GridCase g = GetParam();
    const std::int32_t last = g.visitedCols - 1;
    const auto hits = spotAfterBlanks({{last - 1, 1}, {last, 1}}, g.step);
    // The extra column (index GridCols) is scanned but not counted.
    const double meanX = last == g.gridCols ? last - 1.0 : last - 0.5;
    expectHit(hits, expected(meanX, 1.0, g));
}

TEST_P(GridSize, LastVisitedRowCountsOnlyInsideTheGrid) {
    const GridCase g = GetParam();
    const std::int32_t last = g.visitedRows - 1;
    const auto hits = spotAfterBlanks({{1, last - 1}, {1, last}}, g.step);
    const double meanY = last == g.gridRows ? last - 1.0 : last - 0.5;
    expectHit(hits, expected(1.0, meanY, g));
}

INSTANTIATE_TEST_SUITE_P(Steps, GridSize,
                         ::testing::Values(GridCase{1, 160, 160, 120, 120},
                                           GridCase{3, 54, 53, 40, 40}, GridCase{5, 32, 32, 24, 24},
                                           GridCase{7, 23, 23, 18, 17}, GridCase{25, 7, 6, 5, 5},
                                           GridCase{50, 4, 3, 3, 2}),
                         [](const auto& info) { return "S" + std::to_string(info.param.step); });

// The spot size of two changed cells, found as the smallest MaxLaserBeam
// that lets them through.
struct ExtentCase {
    std::int32_t step;
    Cell first;
    Cell second;
    std::int32_t spotSize;
};

class SpotSize : public FrameAnalysis, public ::testing::WithParamInterface<ExtentCase> {};

TEST_P(SpotSize, PassesOnlyBelowMaxLaserBeam) {
    const ExtentCase c = GetParam();
    setParameters(1, c.step, 50, c.spotSize);
    EXPECT_TRUE(spotAfterBlanks({c.first, c.second}, c.step).empty());
    restart();
    setParameters(1, c.step, 50, c.spotSize + 1);
    EXPECT_EQ(spotAfterBlanks({c.first, c.second}, c.step).size(), 1U);
}

INSTANTIATE_TEST_SUITE_P(Extents, SpotSize,
                         ::testing::Values(
                             // Ties go to the even neighbour: nearest(2.5) = 2, nearest(12.5) = 12.
                             ExtentCase{4, {10, 5}, {11, 5}, 2}, ExtentCase{5, {10, 5}, {11, 5}, 3},
                             ExtentCase{5, {10, 5}, {14, 5}, 12},
                             // The defaults' table: XExtent for horizontal spreads 1..7 ...
                             ExtentCase{5, {2, 5}, {3, 5}, 3}, ExtentCase{5, {2, 5}, {4, 5}, 6},
                             ExtentCase{5, {2, 5}, {5, 5}, 9}, ExtentCase{5, {2, 5}, {6, 5}, 12},
                             ExtentCase{5, {2, 5}, {7, 5}, 16}, ExtentCase{5, {2, 5}, {8, 5}, 19},
                             ExtentCase{5, {2, 5}, {9, 5}, 22},
                             // ... and YExtent for vertical spreads 1..5.
                             ExtentCase{5, {5, 2}, {5, 3}, 4}, ExtentCase{5, {5, 2}, {5, 4}, 8},
                             ExtentCase{5, {5, 2}, {5, 5}, 12}, ExtentCase{5, {5, 2}, {5, 6}, 17},
                             ExtentCase{5, {5, 2}, {5, 7}, 21},
                             // The larger of the two extents decides.
                             ExtentCase{5, {20, 15}, {21, 16}, 4}));

TEST_F(FrameAnalysis, DefaultsPassSpreadsUpToSixColumnsAndFourRows) {
    for (std::int32_t spread = 0; spread <= 7; ++spread) {
        restart();
        const auto hits = spotAfterBlanks({{2, 5}, {2 + spread, 5}, {2, 6}}, 5);
        // The third cell gives a vertical spread of 1 (YExtent 4).
        EXPECT_EQ(hits.size(), spread <= 6 ? 1U : 0U) << "horizontal spread " << spread;
    }
    for (std::int32_t spread = 0; spread <= 5; ++spread) {
        restart();
        const auto hits = spotAfterBlanks({{5, 2}, {5, 2 + spread}, {6, 2}}, 5);
        EXPECT_EQ(hits.size(), spread <= 4 ? 1U : 0U) << "vertical spread " << spread;
    }
}

TEST_F(FrameAnalysis, EveryFifthFrameIsAnalysed) {
    setParameters(5, 5, 50, 20);
    std::vector<int> hitFrames;
    for (int i = 0; i <= 10; ++i) {
        Frame frame(160, 120);
        // A different spot on every frame but the first and the last.
        if (i > 0 && i < 10) {
            frame.setCell(2 + i, 3, 5, 200);
            frame.setCell(3 + i, 3, 5, 200);
        }
        const std::size_t before = target.hits.size();
        deliver(frame);
        if (target.hits.size() > before)
            hitFrames.push_back(i);
    }
    // Frames 0, 5 and 10 are analysed: 5 against 0 and 10 against 5.
    EXPECT_EQ(hitFrames, (std::vector<int>{5, 10}));
    EXPECT_EQ(MotionDetection::FrameStateForTesting().FrameCount, 11);
}

TEST_F(FrameAnalysis, NewSampleRateAppliesToTheRunningCount) {
    setParameters(5, 5, 50, 20);
    for (int i = 0; i < 6; ++i) {
        Frame blank(160, 120);
        deliver(blank);
    }
    target.hits.clear();
    MotionDetection::SetSampleEveryNthFrame(4); // count is 6 now: next analysed is 8
    std::vector<int> hitFrames;
    for (int count = 6; count <= 8; ++count) {
        Frame frame(160, 120);
        frame.setCell(count, 3, 5, 200);
        frame.setCell(count + 1, 3, 5, 200);
        const std::size_t before = target.hits.size();
        deliver(frame);
        if (target.hits.size() > before)
            hitFrames.push_back(count);
    }
    EXPECT_EQ(hitFrames, (std::vector<int>{8}));
}

TEST_F(FrameAnalysis, CrossCellsNeverChange) {
    // Pixel column 80 is grid column 16 and pixel row 60 grid row 12 at S = 5.
    EXPECT_TRUE(spotAfterBlanks({{16, 5}, {16, 6}}, 5).empty());
    EXPECT_TRUE(spotAfterBlanks({{5, 12}, {6, 12}}, 5).empty());
    EXPECT_EQ(spotAfterBlanks({{15, 5}, {15, 6}}, 5).size(), 1U);
}

TEST_F(FrameAnalysis, CrossIsDrawnIntoEveryFrame) {
    setParameters(5, 5, 50, 20);
    for (int i = 0; i < 2; ++i) { // analysed, then not analysed
        Frame frame(160, 120);
        deliver(frame);
        for (std::int32_t x = 0; x < 160; ++x)
            EXPECT_EQ(frame.byteAt(x, 60, 1), 255) << "row 60, pixel " << x;
        for (std::int32_t row = 0; row < 120; ++row) {
            for (std::int32_t b = 0; b < 3; ++b)
                EXPECT_EQ(frame.byteAt(80, row, b), 255) << "pixel 80, row " << row;
            if (row != 60) {
                EXPECT_EQ(frame.byteAt(79, row, 2), 0);
                EXPECT_EQ(frame.byteAt(81, row, 0), 0);
            }
        }
        EXPECT_EQ(frame.byteAt(0, 59), 0);
        EXPECT_EQ(frame.byteAt(0, 61), 0);
    }
}

TEST_F(FrameAnalysis, BuffersFollowTheFrameSizeKeepingTheirContent) {
    const auto& state = MotionDetection::FrameStateForTesting();
    Frame large(160, 120);
    large.fill(7);
    deliver(large); // into A
    Frame largeAgain(160, 120);
    largeAgain.fill(9);
    deliver(largeAgain); // into B
    ASSERT_EQ(state.BufferA.size(), 57601U);
    EXPECT_TRUE(state.LatestInA == false);

    useImageSize(80, 60);
    Frame small(80, 60);
    small.fill(11);
    deliver(small); // into A, both shrink
    ASSERT_EQ(state.BufferA.size(), 14401U);
    ASSERT_EQ(state.BufferB.size(), 14401U);
    EXPECT_EQ(state.BufferA[0], 11);
    EXPECT_EQ(state.BufferB[0], 9); // the kept part of the older frame

    useImageSize(160, 120);
    Frame grown(160, 120);
    grown.fill(13);
    deliver(grown); // into B, both grow
    ASSERT_EQ(state.BufferA.size(), 57601U);
    EXPECT_EQ(state.BufferA[0], 11);
    EXPECT_EQ(state.BufferA[14399], 11);
    EXPECT_EQ(state.BufferA[14400], 7); // the spare byte kept from the first frame
    EXPECT_EQ(state.BufferA[14401], 0); // growth adds zeros
    EXPECT_EQ(state.BufferA[57599], 0);
    EXPECT_EQ(state.BufferB[57599], 13);
}

TEST_F(FrameAnalysis, FrameCountWrapsToZero) {
    setParameters(5, 5, 50, 20);
    MotionDetection::SetFrameCountForTesting(std::numeric_limits<std::int32_t>::max());
    Frame frame(160, 120);
    deliver(frame); // 2147483647 mod 5 = 2: not analysed
    EXPECT_EQ(MotionDetection::FrameStateForTesting().FrameCount, 0);
    EXPECT_TRUE(MotionDetection::FrameStateForTesting().BufferA.empty());
    Frame next(160, 120);
    deliver(next); // count 0: analysed
    EXPECT_EQ(MotionDetection::FrameStateForTesting().BufferA.size(), 57601U);
}

TEST_F(FrameAnalysis, HitsWithoutATargetAreDropped) {
    MotionDetection::SetHitTarget(nullptr);
    EXPECT_TRUE(spotAfterBlanks({{20, 15}, {21, 15}}, 5).empty());
}

} // namespace
} // namespace detectiontest
