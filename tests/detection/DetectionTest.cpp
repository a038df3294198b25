// The shot detection. The frame routine on a capture window of the simulated
// camera (whose format sets the image size): sampling, the change map's
// extent and the spot-size decision on 160 x 120 x 24-bit frames, ending in
// the hit, and the reason counted for a change that is not one; the cross
// in every frame, drawn after the frame has been read; frames whose sizes
// don't fit their bytes: never read or written past, never analysed, always
// counted (best run under AddressSanitizer too); the quick row look that
// lets it skip unchanged rows; where a hit lands and what it scores, from
// change maps made by hand (the whole path from a laser pulse to the score
// card is tests/app/ShotRecordTest.cpp); and the parameters' stored text,
// read as its leading number (the store itself is
// tests/platform/SettingsStoreTest.cpp; the parameters at start-up and held
// to their ranges, tests/app/ProgramLifeTest.cpp).

#include "capture/StatusFunctions.h"
#include "detection/ChangeMap.h"
#include "detection/MotionDetection.h"
#include "detection/RowChange.h"
#include "detection/Testing.h"
#include "platform/ShotTally.h"
#include "tests/fixtures/CaptureServiceFixture.h"
#include "tests/fixtures/ScratchHome.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct Hit {
    std::int32_t x, y;
    double score; // to the four decimals the examples give
    bool operator==(const Hit& o) const {
        return x == o.x && y == o.y && std::abs(score - o.score) < 5e-5;
    }
    friend void PrintTo(const Hit& hit, std::ostream* out) {
        *out << "(" << hit.x << ", " << hit.y << ") " << hit.score;
    }
};
using Cell = std::pair<std::int32_t, std::int32_t>;
using Bytes = std::vector<std::uint8_t>;

// Fresh detection state, private settings, a capture window connected to the
// simulated camera (160 x 120 x 24, not previewing), and in the main window's
// place a 6000-twip target picture that records every hit.
class FrameAnalysis : public CaptureService, public MotionDetection::HitTarget {
protected:
    void SetUp() override {
        MotionDetection::setHitTarget(this);
        window = connectedWindow();
        restart(5, 50, 20);
    }
    void TearDown() override { MotionDetection::setHitTarget(nullptr); }
    // Back to the first frame with the parameters 1, S, T and M.
    static void restart(std::int32_t s, std::int32_t t, std::int32_t m) {
        MotionDetection::resetFrameStateForTesting();
        MotionDetection::SetSampleEveryNthFrame(1);
        MotionDetection::SetCompareEveryNthByte(s);
        MotionDetection::SetTolerance(t);
        MotionDetection::SetMaxLaserBeam(m);
    }
    // Exactly these bytes through the frame routine (their own allocation, so
    // a sanitizer catches any access beyond them).
    void deliver(Bytes& bytes) {
        capture::VIDEOHDR header{};
        header.lpData = bytes.data();
        header.dwBytesUsed = static_cast<std::uint32_t>(bytes.size());
        EXPECT_EQ(MotionDetection::FrameCallback(window, &header), 0);
    }
    // A blank frame (compared with the zeros of the fresh buffers), then one
    // whose compared pixel of each cell (column, row) at step S is lit from
    // byte `from` to 2; answers the hits of that last frame.
    std::vector<Hit> spotAfterBlank(const std::vector<Cell>& cells, std::int32_t step,
                                    std::uint8_t value = 200, std::int32_t from = 0) {
        Bytes blank(57600), frame(57600);
        for (const auto& [column, row] : cells) {
            const auto pixel = frame.begin() + (std::ptrdiff_t{row} * 160 + column) * step * 3;
            std::fill(pixel + from, pixel + 3, value);
        }
        deliver(blank);
        hits.clear();
        deliver(frame);
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
    void SetHole(std::int32_t x, std::int32_t y, double score) override {
        hits.push_back({x, y, score});
        wentOut.push_back(MotionDetection::hitWentOut());
    }
    float TargetHeight() const override { return height; }

    fixtures::ScratchHome home;
    capture::CaptureHandle window = 0;
    std::vector<Hit> hits;
    std::vector<bool> wentOut; // what hitWentOut() said during each hit
    float height = 6000.0F;
    const MotionDetection::FrameState& state = MotionDetection::frameStateForTesting();
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
        // On the cross: down the vertical line to the bull's eye; along the horizontal one.
        {{{16, 11}, {16, 12}}, 4}, {{{5, 12}, {6, 12}}, 3},
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
            EXPECT_EQ(spotAfterBlank(row.cells, row.step, row.value, row.fromByte).size(),
                      maxBeam > row.spotSize && maxBeam <= never ? 1U : 0U);
        }
}

// The comparison sees a dot twice, as it comes on and as it goes out, at the
// same place; only the second is told as going out, and only during its hit.
TEST_F(FrameAnalysis, ADotGoingOutIsToldFromOneComingOn) {
    restart(1, 50, 20);
    // Each frame afresh: the routine draws its cross into what it is given.
    const auto frame = [this](bool lit) {
        Bytes bytes(57600, 30);
        if (lit)
            for (const auto& [column, row] :
                 std::vector<Cell>{{100, 40}, {101, 40}, {100, 41}, {101, 41}})
                std::fill_n(bytes.begin() + (std::ptrdiff_t{row} * 160 + column) * 3, 3, 220);
        deliver(bytes);
    };
    for (const bool lit : {false, false, true, true, true, false, false})
        frame(lit);
    ASSERT_EQ(hits.size(), 2U); // on, out
    EXPECT_EQ(wentOut, (std::vector<bool>{false, true}));
    EXPECT_EQ(hits[0], hits[1]);
    EXPECT_FALSE(MotionDetection::hitWentOut());
}

TEST_F(FrameAnalysis, FirstFrameAgainstZerosIsASpotOf97) {
    for (const std::int32_t maxBeam : {97, 98}) {
        restart(5, 50, maxBeam);
        Bytes bright(57600, 100);
        deliver(bright);
    }
    // At 98 only; centroid of the whole grid (15.5, 11.5).
    EXPECT_EQ(hits, (std::vector<Hit>{{-125, -125, 10.0 - std::sqrt(0.5) * 10.0 / 12.0}}));
}

TEST_F(FrameAnalysis, GridSizesAndTheUncountedExtraColumnAndRow) {
    struct Grid {
        int step, visitedCols, gridCols, visitedRows, gridRows;
    };
    const Grid rows[] = {{1, 160, 160, 120, 120}, {3, 54, 53, 40, 40}, {5, 32, 32, 24, 24},
                         {7, 23, 23, 18, 17},     {25, 7, 6, 5, 5},    {50, 4, 3, 3, 2}};
    for (const auto& [step, visitedCols, gridCols, visitedRows, gridRows] : rows) {
        SCOPED_TRACE(::testing::Message() << "S " << step);
        // A spot in the last visited column and row: scanned, but a cell beyond
        // the grid (column GridCols or row GridRows) doesn't count.
        const int c = visitedCols - 1, r = visitedRows - 1;
        const double beyond = c == gridCols || r == gridRows ? 1.0 : 0.5;
        restart(step, 50, 100);
        const auto found = spotAfterBlank({{c - 1, r - 1}, {c, r}}, step);
        const double dx = c - beyond - gridCols / 2.0, dy = r - beyond - gridRows / 2.0;
        ASSERT_EQ(found.size(), 1U);
        EXPECT_DOUBLE_EQ(found[0].score, 10.0 - std::hypot(dx, dy) * 20.0 / gridRows);
    }
}

TEST_F(FrameAnalysis, SamplingFollowsTheRunningCountAndWraps) {
    MotionDetection::SetSampleEveryNthFrame(5);
    EXPECT_EQ(analysed(16), "x....x....x....x"); // counts 0, 5, 10 and 15
    MotionDetection::SetSampleEveryNthFrame(6);  // count is 16: the next analysed is 18
    EXPECT_EQ(analysed(3), "..x");
    MotionDetection::setFrameCountForTesting(std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(analysed(2), ".x"); // 2^31 - 1, then 0
    EXPECT_EQ(state.FrameCount, 1);
}

// What the analysis sees but does not pass on is counted by its reason, and
// the hits stay as they were: a single changed cell, a spot as wide as
// MaxLaserBeam, changed cells only in the extra column, a centroid at Reach,
// frames stepped over (counted, but never the last reason) and a frame whose
// sizes don't fit. Reset starts the tally afresh.
TEST_F(FrameAnalysis, ChangesNotPassedOnAreTalliedByReason) {
    using platform::MissReason;
    platform::ShotTally& tally = platform::shotTally();
    tally.reset();
    const auto counts = [&tally] {
        std::array<std::uint64_t, platform::MissReasonCount> all{};
        for (std::size_t k = 0; k < all.size(); ++k)
            all[k] = tally.countOf(static_cast<MissReason>(k));
        return all;
    };
    EXPECT_EQ(spotAfterBlank({{20, 15}, {21, 15}}, 5).size(), 1U);
    EXPECT_EQ(counts(), (std::array<std::uint64_t, platform::MissReasonCount>{}));
    EXPECT_FALSE(tally.last());
    EXPECT_TRUE(spotAfterBlank({{20, 15}}, 5).empty());
    EXPECT_EQ(tally.last(), MissReason::SingleSample);
    EXPECT_TRUE(spotAfterBlank({{2, 5}, {9, 5}}, 5).empty()); // 22 at MaxLaserBeam 20
    EXPECT_EQ(tally.last(), MissReason::SpotTooLarge);
    restart(3, 50, 20); // a 53 x 40 grid: the visited column 53 lies beyond it
    EXPECT_TRUE(spotAfterBlank({{53, 10}, {53, 12}}, 3).empty());
    EXPECT_EQ(tally.last(), MissReason::BeyondTarget);
    tally.count(MissReason::WrongFormat);
    MotionDetection::ChangeMap corner(32, 24);
    corner.Cols = 32;
    corner.Rows = 24;
    corner.Filled = true;
    corner.cell(0, 0) = 1;
    MotionDetection::LocateHit(corner);
    EXPECT_TRUE(hits.empty());
    EXPECT_EQ(tally.last(), MissReason::BeyondTarget);
    restart(5, 50, 20);
    MotionDetection::SetSampleEveryNthFrame(5);
    EXPECT_EQ(analysed(5), "x....");
    EXPECT_EQ(tally.last(), MissReason::BeyondTarget);
    camera.setFormat(0, 0, 120, 24);
    MotionDetection::SetSampleEveryNthFrame(1);
    analysed(1);
    EXPECT_EQ(tally.last(), MissReason::WrongFormat);
    EXPECT_EQ(counts(),
              (std::array<std::uint64_t, platform::MissReasonCount>{1, 2, 2, 2, 0, 0, 0, 4}));
    EXPECT_EQ(tally.shots(), 0U); // only the main window counts a shot
    tally.reset();
    EXPECT_EQ(counts(), (std::array<std::uint64_t, platform::MissReasonCount>{}));
    EXPECT_FALSE(tally.last());
}

// Then headers without bytes, without data or counting far beyond their data.
TEST_F(FrameAnalysis, OddSizesAreAnalysedOnlyWhenTheBytesHoldThemBrokenHeadersNever) {
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
    restart(5, 50, 100);
    Bytes bytes(16, 0);
    capture::VIDEOHDR noData{}, hugeCount{};
    noData.dwBytesUsed = 57600;
    hugeCount.lpData = bytes.data();
    hugeCount.dwBytesUsed = 0xFFFFFFF0U;
    for (capture::VIDEOHDR* header :
         std::array<capture::VIDEOHDR*, 3>{nullptr, &noData, &hugeCount})
        EXPECT_EQ(MotionDetection::FrameCallback(window, header), 0);
    EXPECT_EQ(state.FrameCount, 3);
    EXPECT_TRUE(state.BufferA.empty());
}

// The quick row look agrees with a byte-by-byte comparison for short rows,
// whole blocks and overlapping last blocks, a change first, in the middle or
// last, at every tolerance and the extremes of the byte range, either side
// of the other byte.
// The format check reads width, height and bit count every time, whatever
// the first of them answers, and passes only 160 x 120 x 24.
TEST_F(CaptureService, FormatCheckAsksAllThreeQuestions) {
    const capture::CaptureHandle window = connectedWindow(0, false);
    ASSERT_NE(scripted, nullptr);
    struct Case {
        capture::FrameLayout format;
        bool analysable;
    };
    const Case cases[] = {{{160, 120, 24}, true},
                          {{320, 120, 24}, false},
                          {{160, 240, 24}, false},
                          {{160, 120, 32}, false}};
    int perCheck = -1;
    for (const auto& [format, analysable] : cases) {
        scripted->format = format;
        const int before = scripted->formatQueries;
        EXPECT_EQ(MotionDetection::hasAnalysisFormat(window), analysable) << format.width;
        const int asked = scripted->formatQueries - before;
        if (perCheck < 0)
            perCheck = asked;
        EXPECT_EQ(asked, perCheck) << "a width of " << format.width << " skipped a question";
    }
    const int before = scripted->formatQueries;
    StatusFunctions::GetFormatWidth(window);
    EXPECT_EQ(perCheck, 3 * (scripted->formatQueries - before));
}

TEST(RowChange, AgreesWithByteByByte) {
    for (const std::size_t length : {1, 15, 16, 17, 31, 32, 33, 64, 70})
        for (const std::size_t at : {std::size_t{0}, length / 2, length - 1})
            for (const int tolerance : {1, 50, 254, 255})
                for (const int base : {0, 100, 255})
                    for (const int other : {0, 49, 50, 150, 151, 255}) {
                        std::vector<std::uint8_t> a(length, std::uint8_t(base)), b = a;
                        b[at] = std::uint8_t(other);
                        EXPECT_EQ(MotionDetection::bytesDiffer(a.data(), b.data(), length,
                                                               std::uint8_t(tolerance)),
                                  std::abs(other - base) > tolerance)
                            << length << " bytes, at " << at << ": " << base << " and " << other
                            << ", T " << tolerance;
                    }
}

// Where a hit lands and what it scores: the centroid of the changed cells,
// its raw score and its place on the target picture. (The extra column and
// row are left out: GridSizesAndTheUncountedExtraColumnAndRow.)
TEST_F(FrameAnalysis, HitReportsOffsetAndRawScore) {
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
        MotionDetection::setHitTarget(nullptr);
        MotionDetection::LocateHit(map); // without a target: dropped
        MotionDetection::setHitTarget(this);
        hits.clear();
        height = targetHeight;
        MotionDetection::LocateHit(map);
        EXPECT_EQ(hits, expected);
    }
}

TEST(Parameters, StoredTextReadsItsLeadingNumber) {
    constexpr std::int32_t lowest = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t highest = std::numeric_limits<std::int32_t>::max();
    // clang-format off
    const std::pair<const char*, std::int32_t> rows[] = {
        {" 12", 12}, {"12abc", 12}, {"7.5", 8}, {"6.5", 6}, {"6.51", 7}, {".5", 0}, {"-2.5", -2},
        {"-3.5", -4}, {"+3", 3}, {"", 0}, {"abc", 0}, {"\t 20", 20}, {"0x10", 0}, {"1e3", 1},
        {"\u0663", 0}, {"5\u0663", 5}, {"2147483648", highest}, {"2147483647.5", highest},
        {"-99999999999999999999", lowest},
    };
    // clang-format on
    for (const auto& [text, value] : rows)
        EXPECT_EQ(MotionDetection::readStoredValue(QString::fromUtf8(text)), value)
            << '"' << text << '"';
}

} // namespace
