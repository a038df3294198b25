// Frames whose sizes don't fit their bytes: never read or written past,
// never analysed, always counted. Best run under AddressSanitizer too.

#include "detection/MotionDetection.h"
#include "detection/Testing.h"
#include "tests/detection/DetectionFixture.h"

#include <algorithm>
#include <set>

namespace detectiontest {
namespace {

class FrameGuard : public DetectionTest {
protected:
    static const MotionDetection::FrameState& state() {
        return MotionDetection::FrameStateForTesting();
    }
    // Delivers exactly `bytes` bytes (their own allocation, so a sanitizer
    // catches any access beyond them) and answers whether the frame was analysed.
    bool deliverBytes(std::vector<std::uint8_t>& bytes) {
        const std::int32_t countBefore = state().FrameCount;
        const std::size_t sizeBefore = state().BufferA.size();
        const bool latestBefore = state().LatestInA;
        platform::VIDEOHDR header{};
        header.lpData = bytes.data();
        header.dwBytesUsed = static_cast<std::uint32_t>(bytes.size());
        EXPECT_EQ(MotionDetection::FrameCallback(window, &header), 0);
        EXPECT_EQ(state().FrameCount, countBefore + 1) << "every frame is counted";
        return state().LatestInA != latestBefore || state().BufferA.size() != sizeBefore;
    }
};

TEST_F(FrameGuard, NullHeaderIsCountedOnly) {
    EXPECT_EQ(MotionDetection::FrameCallback(window, nullptr), 0);
    EXPECT_EQ(state().FrameCount, 1);
    EXPECT_TRUE(state().BufferA.empty());
}

TEST_F(FrameGuard, NullFrameIsCountedOnly) {
    platform::VIDEOHDR header{};
    header.dwBytesUsed = 57600;
    EXPECT_EQ(MotionDetection::FrameCallback(window, &header), 0);
    EXPECT_EQ(state().FrameCount, 1);
    EXPECT_TRUE(state().BufferA.empty());
}

TEST_F(FrameGuard, NoCaptureWindowMeansNoSizes) {
    window = 0; // the status queries answer 0 x 0
    std::vector<std::uint8_t> bytes(57600, 0);
    EXPECT_FALSE(deliverBytes(bytes));
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 255), 0) << "no cross without sizes";
}

TEST_F(FrameGuard, ZeroHeightIsNotAnalysed) {
    useImageSize(160, 0);
    std::vector<std::uint8_t> bytes(57600, 0);
    EXPECT_FALSE(deliverBytes(bytes));
}

TEST_F(FrameGuard, ZeroWidthGetsOnlyTheBar) {
    useImageSize(0, 120);
    std::vector<std::uint8_t> bytes(57600, 0);
    EXPECT_FALSE(deliverBytes(bytes));
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 255), 480);
}

TEST_F(FrameGuard, GridOfZeroColumnsIsNotAnalysed) {
    setParameters(1, 50, 50, 100);
    useImageSize(20, 120); // nearest(20 / 50) = 0 columns
    std::vector<std::uint8_t> bytes(std::size_t{20} * 3 * 120, 100);
    EXPECT_FALSE(deliverBytes(bytes));
}

TEST_F(FrameGuard, ShortFrameIsNotAnalysedAndTheCrossStaysInside) {
    // nearest(57599 / 120) = 480, but 120 rows of 480 bytes need 57600.
    std::vector<std::uint8_t> bytes(57599, 0);
    EXPECT_FALSE(deliverBytes(bytes));
    EXPECT_TRUE(state().BufferA.empty());
}

TEST_F(FrameGuard, FewBytesForTheImageSize) {
    for (const std::size_t size : {1U, 2U, 10U, 100U, 479U}) {
        std::vector<std::uint8_t> bytes(size, 0);
        EXPECT_FALSE(deliverBytes(bytes)) << size << " bytes";
    }
}

TEST_F(FrameGuard, HeightBeyondTheBytes) {
    useImageSize(160, 100000);
    std::vector<std::uint8_t> bytes(57600, 0);
    EXPECT_FALSE(deliverBytes(bytes));
}

TEST_F(FrameGuard, PixelsThatWouldReachPastTheLastRow) {
    // Rows of 7 bytes for 2 pixels: nearest(3.5) = 4 bytes a pixel, so the
    // last pixel would end one byte beyond the frame.
    setParameters(1, 1, 50, 100);
    useImageSize(2, 1);
    std::vector<std::uint8_t> bytes(7, 0);
    EXPECT_FALSE(deliverBytes(bytes));
}

TEST_F(FrameGuard, OnePixelFrameIsAnalysedAndTheCrossIsClipped) {
    setParameters(1, 1, 50, 100);
    useImageSize(1, 1);
    std::vector<std::uint8_t> bytes(3, 0);
    // Both bars start at byte nearest(1.5) = 2 and are cut at the frame's end.
    EXPECT_TRUE(deliverBytes(bytes));
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0, 0, 255}));
    EXPECT_EQ(state().BufferA.size(), 4U);
    EXPECT_TRUE(target.hits.empty()); // one cell is no spot
}

TEST_F(FrameGuard, OddRowSizeGetsTheCrossAndIsAnalysed) {
    setParameters(1, 1, 50, 100);
    useImageSize(7, 3);
    std::vector<std::uint8_t> bytes(63, 0); // 3 rows of 21 bytes
    EXPECT_TRUE(deliverBytes(bytes));
    // Horizontal bar: 21 bytes from nearest(63 / 2) = 32; vertical bar: 3
    // bytes from byte nearest(21 / 2) = 10 of every row.
    std::set<std::size_t> white;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == 255)
            white.insert(i);
    }
    std::set<std::size_t> expected{10, 11, 12};
    for (std::size_t i = 31; i <= 54; ++i)
        expected.insert(i);
    EXPECT_EQ(white, expected);
}

TEST_F(FrameGuard, PaddedOddRowsAreAnalysed) {
    setParameters(1, 1, 50, 100);
    useImageSize(7, 3);
    std::vector<std::uint8_t> bytes(72, 100); // rows padded to 24 bytes
    EXPECT_TRUE(deliverBytes(bytes));
    EXPECT_EQ(state().BufferA.size(), 73U);
}

TEST_F(FrameGuard, HugeByteCountIsLeftAlone) {
    std::vector<std::uint8_t> bytes(16, 0);
    platform::VIDEOHDR header{};
    header.lpData = bytes.data();
    header.dwBytesUsed = 0xFFFFFFF0U; // beyond any real frame
    EXPECT_EQ(MotionDetection::FrameCallback(window, &header), 0);
    EXPECT_EQ(state().FrameCount, 1);
    EXPECT_TRUE(state().BufferA.empty());
}

} // namespace
} // namespace detectiontest
