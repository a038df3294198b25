// The frame routine: sampling, the change map's extent and the spot-size
// decision on 160 x 120 x 24-bit frames, ending in the hit; the cross in every
// frame, drawn after the frame has been read; and frames whose sizes don't fit
// their bytes: never read or written past, never analysed, always counted
// (best run under AddressSanitizer too); and the quick row look that lets it
// skip unchanged rows.

#include "detection/RowChange.h"
#include "tests/detection/DetectionFixture.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace detectiontest {
namespace {

class FrameAnalysis : public DetectionTest {
protected:
    // Two blank frames (the first is compared with zeros), then one whose
    // compared pixel of each cell (column, row) at step S is lit from byte
    // `from` to 2; answers the hits of that last frame.
    std::vector<Hit> spotAfterBlanks(const std::vector<Cell>& cells, std::int32_t step,
                                     std::uint8_t value = 200, std::int32_t from = 0) {
        for (int i = 0; i < 3; ++i) {
            hits.clear();
            Bytes frame(57600);
            for (const auto& [column, row] : cells) {
                const auto pixel = frame.begin() + (std::ptrdiff_t{row} * 160 + column) * step * 3;
                std::fill(pixel + from, pixel + 3, i == 2 ? value : 0);
            }
            deliver(frame);
        }
        return hits;
    }
    // Which of the next frames are analysed (LatestInA flips): "x" or ".".
    std::string analysed(int count) {
        std::string marks;
        for (int i = 0; i < count; ++i) {
            const bool before = state.LatestInA;
            Bytes frame(57600);
            deliver(frame);
            marks += state.LatestInA != before ? 'x' : '.';
        }
        return marks;
    }
};

TEST_F(FrameAnalysis, SpotIsPassedOnOnlyBelowMaxLaserBeam) {
    constexpr std::int32_t never = 100; // no spot even at MaxLaserBeam 100
    struct Row {
        std::vector<Cell> cells;
        std::int32_t spotSize, step = 5, tolerance = 50;
        std::uint8_t value = 200;
        std::int32_t fromByte = 0;
    };
    const std::vector<Cell> pair{{20, 15}, {21, 15}};
    // clang-format off
    const Row rows[] = {
        {{}, never}, {{{20, 15}}, never},            // no change; a single cell: spot size 0
        {pair, never, 5, 255, 255},                  // no difference exceeds T 255
        {pair, never, 5, 50, 50}, {pair, 3, 5, 50, 51}, // a difference equal to T; above it
        {pair, 3, 5, 50, 200, 2},                    // only the red byte changed
        {{{16, 5}, {16, 6}}, 4}, {{{5, 12}, {6, 12}}, 3}, // on the cross lines
        // Ties to even: nearest(2.5) = 2 at S = 4; nearest(3.125) = 3, nearest(12.5) = 12.
        {{{10, 5}, {11, 5}}, 2, 4}, {{{10, 5}, {11, 5}}, 3}, {{{10, 5}, {14, 5}}, 12},
        // At the defaults: X spreads 6 and 7, Y spreads 3 to 5; the larger extent decides.
        {{{2, 5}, {8, 5}}, 19}, {{{2, 5}, {9, 5}}, 22}, {{{5, 2}, {5, 5}}, 12},
        {{{5, 2}, {5, 6}}, 17}, {{{5, 2}, {5, 7}}, 21}, {{{20, 15}, {21, 16}}, 4},
    };
    // clang-format on
    for (const Row& row : rows)
        for (const std::int32_t maxBeam : {row.spotSize, row.spotSize + 1}) {
            SCOPED_TRACE(::testing::Message() << "row " << &row - rows << ", M " << maxBeam);
            restart(row.step, row.tolerance, std::min(maxBeam, never));
            EXPECT_EQ(spotAfterBlanks(row.cells, row.step, row.value, row.fromByte).size(),
                      maxBeam > row.spotSize && maxBeam <= never ? 1U : 0U);
        }
}

TEST_F(FrameAnalysis, FirstFrameAgainstZerosIsASpotOf97) {
    for (const std::int32_t maxBeam : {97, 98}) {
        restart(5, 50, maxBeam);
        Bytes bright(57600, 100);
        deliver(bright);
    }
    ASSERT_EQ(hits.size(), 1U); // at 98 only; centroid of the whole grid (15.5, 11.5)
    EXPECT_TRUE(hits[0].x == -125 && hits[0].y == -125);
}

TEST_F(FrameAnalysis, GridSizesAndTheUncountedExtraColumnAndRow) {
    struct Grid {
        int step, visitedCols, gridCols, visitedRows, gridRows;
    };
    const Grid rows[] = {{1, 160, 160, 120, 120}, {3, 54, 53, 40, 40}, {5, 32, 32, 24, 24},
                         {7, 23, 23, 18, 17},     {25, 7, 6, 5, 5},    {50, 4, 3, 3, 2}};
    for (const auto& [step, visitedCols, gridCols, visitedRows, gridRows] : rows) {
        SCOPED_TRACE(::testing::Message() << "S " << step);
        // The last visited column and row are scanned; beyond the grid they don't count.
        const int c = visitedCols - 1, r = visitedRows - 1;
        const std::tuple<std::vector<Cell>, double, double> spots[] = {
            {{{c - 1, 1}, {c, 1}}, c == gridCols ? c - 1.0 : c - 0.5, 1.0},
            {{{1, r - 1}, {1, r}}, 1.0, r == gridRows ? r - 1.0 : r - 0.5}};
        for (const auto& [cells, mx, my] : spots) {
            restart(step, 50, 100);
            const auto found = spotAfterBlanks(cells, step);
            const double dx = mx - gridCols / 2.0, dy = my - gridRows / 2.0;
            ASSERT_EQ(found.size(), 1U);
            EXPECT_DOUBLE_EQ(found[0].score, 10.0 - std::hypot(dx, dy) * 20.0 / gridRows);
        }
    }
}

TEST_F(FrameAnalysis, SamplingFollowsTheRunningCountAndWraps) {
    MotionDetection::SetSampleEveryNthFrame(5);
    EXPECT_EQ(analysed(16), "x....x....x....x"); // counts 0, 5, 10 and 15
    MotionDetection::SetSampleEveryNthFrame(6);  // count is 16: the next analysed is 18
    EXPECT_EQ(analysed(3), "..x");
    MotionDetection::SetFrameCountForTesting(std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(analysed(2), ".x"); // 2^31 - 1, then 0
    EXPECT_EQ(state.FrameCount, 1);
}

using FrameGuard = DetectionTest;

TEST_F(FrameGuard, OddSizesAreAnalysedOnlyWhenTheBytesHoldThem) {
    struct Row {
        const char* what;
        int w, h, step; // the format and S
        std::size_t size;
        bool analysed;
        std::ptrdiff_t white; // bytes of the cross
    };
    const Row rows[] = {
        {"whole frame, analysed", 160, 120, 5, 57600, true, 837},
        {"no sizes, as without a capture window", 0, 0, 5, 57600, false, 0},
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
    for (const auto& [what, w, h, step, size, analysed, white] : rows) {
        SCOPED_TRACE(what);
        restart(step, 50, 100);
        camera.setFormat(0, w, h, 24);
        Bytes bytes(size, 0);
        deliver(bytes);
        EXPECT_EQ(state.FrameCount, 1) << "every frame is counted";
        EXPECT_EQ(state.LatestInA, analysed);
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 255), white);
    }
}
TEST_F(FrameGuard, BrokenHeadersAreCountedOnly) {
    Bytes bytes(16, 0);
    platform::VIDEOHDR noData{}, hugeCount{};
    noData.dwBytesUsed = 57600;
    hugeCount.lpData = bytes.data();
    hugeCount.dwBytesUsed = 0xFFFFFFF0U;
    for (platform::VIDEOHDR* header :
         std::array<platform::VIDEOHDR*, 3>{nullptr, &noData, &hugeCount})
        EXPECT_EQ(MotionDetection::FrameCallback(window, header), 0);
    EXPECT_EQ(state.FrameCount, 3);
    EXPECT_TRUE(state.BufferA.empty());
}

// The quick row look agrees with a byte-by-byte comparison for short rows,
// whole blocks and overlapping last blocks, a change first, in the middle or
// last, at every tolerance and the extremes of the byte range.
TEST(RowChange, AgreesWithByteByByte) {
    for (const std::size_t length : {1, 15, 16, 17, 31, 32, 33, 64, 70})
        for (const std::size_t at : {std::size_t{0}, length / 2, length - 1})
            for (const int tolerance : {1, 50, 254, 255})
                for (const int base : {0, 100, 255})
                    for (const int other : {0, 49, 50, 150, 151, 255}) {
                        std::vector<std::uint8_t> a(length, std::uint8_t(base)), b = a;
                        b[at] = std::uint8_t(other);
                        const bool expected = std::abs(other - base) > tolerance;
                        const auto t = std::uint8_t(tolerance);
                        EXPECT_EQ(MotionDetection::bytesDiffer(a.data(), b.data(), length, t),
                                  expected)
                            << length << " bytes, at " << at << ": " << base << " and " << other
                            << ", T " << tolerance;
                        EXPECT_EQ(MotionDetection::bytesDiffer(b.data(), a.data(), length, t),
                                  expected);
                    }
}

} // namespace
} // namespace detectiontest
