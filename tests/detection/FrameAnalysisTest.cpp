// The frame routine: sampling, the change map's extent and the spot-size
// decision on 160 x 120 x 24-bit frames, ending in the hit; the cross in every
// frame; and frames whose sizes don't fit their bytes: never read or written
// past, never analysed, always counted (best run under AddressSanitizer too).

#include "tests/detection/DetectionFixture.h"

#include <cmath>
#include <limits>

namespace detectiontest {
namespace {

class FrameAnalysis : public DetectionTest {
protected:
    void restart(std::int32_t s, std::int32_t t, std::int32_t m) {
        MotionDetection::ResetFrameStateForTesting();
        setParameters(1, s, t, m);
    }
    // Two blank frames (the first is compared with zeros), then one with the
    // given cells lit from byte `from`; answers the hits of that last frame.
    std::vector<Hit> spotAfterBlanks(const std::vector<Cell>& cells, std::int32_t step,
                                     std::uint8_t value = 200, std::int32_t from = 0) {
        for (int i = 0; i < 3; ++i) {
            target.hits.clear();
            Bytes frame(57600);
            for (const Cell& cell : cells)
                lightCell(frame, cell, step, i == 2 ? value : 0, from);
            deliver(frame);
        }
        return target.hits;
    }
    // The frame counts in from..to that were analysed (LatestInA flipped).
    std::vector<std::int32_t> analysed(std::int32_t from, std::int32_t to) {
        std::vector<std::int32_t> found;
        for (std::int32_t i = from; i <= to; ++i) {
            const bool before = state().LatestInA;
            Bytes frame(57600);
            deliver(frame);
            if (state().LatestInA != before)
                found.push_back(i);
        }
        return found;
    }
};

TEST_F(FrameAnalysis, SpotIsPassedOnOnlyBelowMaxLaserBeam) {
    struct Row {
        std::int32_t step, tolerance;
        std::vector<Cell> cells;
        std::uint8_t value;
        std::int32_t fromByte, spotSize; // never: no spot even at MaxLaserBeam 100
    };
    constexpr std::int32_t never = 100;
    const std::vector<Cell> pair{{20, 15}, {21, 15}};
    // clang-format off
    const Row rows[] = {
        {5, 50, {}, 200, 0, never},                  // no change
        {5, 50, {{20, 15}}, 200, 0, never},          // a single cell: spot size 0
        {5, 255, pair, 255, 0, never},               // no difference exceeds T 255
        {5, 50, pair, 50, 0, never},                 // a difference equal to T
        {5, 50, pair, 51, 0, 3},                     // ... and one above it
        {5, 50, pair, 200, 2, 3},                    // only the red byte changed
        {5, 50, {{16, 5}, {16, 6}}, 200, 0, never},  // the cross column never changes
        {5, 50, {{5, 12}, {6, 12}}, 200, 0, never},  // nor the cross row
        {5, 50, {{15, 5}, {15, 6}}, 200, 0, 4},      // beside them it does
        // Ties to even: nearest(2.5) = 2 at S = 4; nearest(3.125) = 3, nearest(12.5) = 12.
        {4, 50, {{10, 5}, {11, 5}}, 200, 0, 2},
        {5, 50, {{10, 5}, {11, 5}}, 200, 0, 3}, {5, 50, {{10, 5}, {14, 5}}, 200, 0, 12},
        // The defaults' XExtent for spreads 2..7 and YExtent for 1..5; the larger decides.
        {5, 50, {{2, 5}, {4, 5}}, 200, 0, 6},   {5, 50, {{2, 5}, {5, 5}}, 200, 0, 9},
        {5, 50, {{2, 5}, {7, 5}}, 200, 0, 16},  {5, 50, {{2, 5}, {8, 5}}, 200, 0, 19},
        {5, 50, {{2, 5}, {9, 5}}, 200, 0, 22},  {5, 50, {{5, 2}, {5, 3}}, 200, 0, 4},
        {5, 50, {{5, 2}, {5, 4}}, 200, 0, 8},   {5, 50, {{5, 2}, {5, 5}}, 200, 0, 12},
        {5, 50, {{5, 2}, {5, 6}}, 200, 0, 17},  {5, 50, {{5, 2}, {5, 7}}, 200, 0, 21},
        {5, 50, {{20, 15}, {21, 16}}, 200, 0, 4},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "row " << &row - rows);
        restart(row.step, row.tolerance, row.spotSize);
        EXPECT_TRUE(spotAfterBlanks(row.cells, row.step, row.value, row.fromByte).empty());
        if (row.spotSize == never)
            continue;
        restart(row.step, row.tolerance, row.spotSize + 1);
        EXPECT_EQ(spotAfterBlanks(row.cells, row.step, row.value, row.fromByte).size(), 1U);
    }
}

TEST_F(FrameAnalysis, FirstFrameAgainstZerosIsASpotOf97) {
    for (const std::int32_t maxBeam : {97, 98}) {
        restart(5, 50, maxBeam);
        Bytes bright(57600, 100);
        deliver(bright);
    }
    ASSERT_EQ(target.hits.size(), 1U); // at 98 only; centroid of the whole grid (15.5, 11.5)
    EXPECT_EQ(target.hits[0].x, -125);
    EXPECT_EQ(target.hits[0].y, -125);
}

TEST_F(FrameAnalysis, GridSizesAndTheUncountedExtraColumnAndRow) {
    struct Row {
        std::int32_t step, visitedCols, gridCols, visitedRows, gridRows;
    };
    const Row rows[] = {{1, 160, 160, 120, 120}, {3, 54, 53, 40, 40}, {5, 32, 32, 24, 24},
                        {7, 23, 23, 18, 17},     {25, 7, 6, 5, 5},    {50, 4, 3, 3, 2}};
    for (const Row& g : rows) {
        SCOPED_TRACE(::testing::Message() << "S " << g.step);
        const auto expectHitAt = [&](const std::vector<Cell>& cells, double mx, double my) {
            restart(g.step, 50, 100);
            const auto hits = spotAfterBlanks(cells, g.step);
            const double dx = mx - g.gridCols / 2.0, dy = my - g.gridRows / 2.0;
            ASSERT_EQ(hits.size(), 1U);
            EXPECT_EQ(hits[0].x, std::lround(std::nearbyint(6000.0 / g.gridRows * dx)));
            EXPECT_EQ(hits[0].y, std::lround(std::nearbyint(6000.0 / g.gridRows * dy)));
            EXPECT_DOUBLE_EQ(hits[0].score, 10.0 - std::hypot(dx, dy) * 20.0 / g.gridRows);
        };
        // The last visited column and row are scanned; beyond the grid they don't count.
        const std::int32_t c = g.visitedCols - 1, r = g.visitedRows - 1;
        expectHitAt({{c - 1, 1}, {c, 1}}, c == g.gridCols ? c - 1.0 : c - 0.5, 1.0);
        expectHitAt({{1, r - 1}, {1, r}}, 1.0, r == g.gridRows ? r - 1.0 : r - 0.5);
    }
}

TEST_F(FrameAnalysis, SamplingFollowsTheRunningCountAndWraps) {
    setParameters(5, 5, 50, 20);
    EXPECT_EQ(analysed(0, 15), (std::vector<std::int32_t>{0, 5, 10, 15}));
    MotionDetection::SetSampleEveryNthFrame(6); // count is 16: the next analysed is 18
    EXPECT_EQ(analysed(16, 18), (std::vector<std::int32_t>{18}));
    MotionDetection::SetFrameCountForTesting(std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(analysed(0, 1), (std::vector<std::int32_t>{1})); // 2^31 - 1, then 0
    EXPECT_EQ(state().FrameCount, 1);
}

TEST_F(FrameAnalysis, BuffersFollowTheFrameSizeKeepingTheirContent) {
    for (const auto& [width, value] : {Cell{160, 7}, Cell{160, 9}, Cell{80, 11}, Cell{160, 13}}) {
        useImageSize(width, width * 3 / 4); // into A, B, A (both shrink), B (both grow)
        Bytes bytes(std::size_t(width) * 3 * std::size_t(width * 3 / 4), std::uint8_t(value));
        deliver(bytes);
    }
    ASSERT_EQ(state().BufferA.size(), 57601U);
    EXPECT_EQ(state().BufferA[14399], 11);
    EXPECT_EQ(state().BufferA[14400], 7); // the spare byte kept from the first frame
    EXPECT_EQ(state().BufferA[14401], 0); // growth adds zeros
    EXPECT_EQ(state().BufferB[0], 13);
}

using FrameGuard = DetectionTest;

TEST_F(FrameGuard, OddSizesAreAnalysedOnlyWhenTheBytesHoldThem) {
    struct Row {
        const char* what;
        std::int32_t width, height, step;
        std::size_t bytes;
        bool analysed;
        std::ptrdiff_t white; // bytes of the cross
    };
    const Row rows[] = {
        {"whole frame, analysed", 160, 120, 5, 57600, true, 837},
        {"no sizes, as without a capture window", 0, 0, 5, 57600, false, 0},
        {"zero height", 160, 0, 5, 57600, false, 0},
        {"zero width: only the bar", 0, 120, 5, 57600, false, 480},
        {"a grid of 0 columns", 20, 120, 50, 7200, false, 417},
        {"one byte short", 160, 120, 5, 57599, false, 837},
        {"less than a row", 160, 120, 5, 479, false, 4},
        {"height beyond the bytes", 160, 100000, 5, 57600, false, 1},
        {"last pixel one byte past the frame", 2, 1, 1, 7, false, 3},
        {"one pixel, the cross clipped", 1, 1, 1, 3, true, 1},
        {"odd rows of 21 bytes", 7, 3, 1, 63, true, 27},
        {"odd rows padded to 24 bytes", 7, 3, 1, 72, true, 30},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        MotionDetection::ResetFrameStateForTesting();
        setParameters(1, row.step, 50, 100);
        useImageSize(row.width, row.height);
        Bytes bytes(row.bytes, 0);
        deliver(bytes);
        EXPECT_EQ(state().FrameCount, 1) << "every frame is counted";
        EXPECT_EQ(state().LatestInA, row.analysed);
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 255), row.white);
    }
}

TEST_F(FrameGuard, BrokenHeadersAreCountedOnly) {
    Bytes bytes(16, 0);
    platform::VIDEOHDR noData{};
    noData.dwBytesUsed = 57600;
    platform::VIDEOHDR hugeCount{};
    hugeCount.lpData = bytes.data();
    hugeCount.dwBytesUsed = 0xFFFFFFF0U;
    for (platform::VIDEOHDR* header :
         {static_cast<platform::VIDEOHDR*>(nullptr), &noData, &hugeCount})
        EXPECT_EQ(MotionDetection::FrameCallback(window, header), 0);
    EXPECT_EQ(state().FrameCount, 3);
    EXPECT_TRUE(state().BufferA.empty());
}

} // namespace
} // namespace detectiontest
