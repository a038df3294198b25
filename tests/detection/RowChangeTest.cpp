// The quick row look must agree with a byte-by-byte comparison for every
// length (short rows, whole blocks, overlapping last blocks) and position.

#include "detection/RowChange.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(RowChange, AgreesWithByteByByteForEveryLengthAndPosition) {
    for (const int tolerance : {1, 50, 254, 255}) {
        for (std::size_t length = 0; length <= 100; ++length) {
            std::vector<std::uint8_t> a(length, 100);
            std::vector<std::uint8_t> b(length, 100);
            EXPECT_FALSE(MotionDetection::bytesDiffer(a.data(), b.data(), length,
                                                      static_cast<std::uint8_t>(tolerance)));
            for (std::size_t at = 0; at < length; ++at) {
                for (const int delta : {-100, -51, -50, 50, 51, 155}) {
                    b[at] = static_cast<std::uint8_t>(100 + delta);
                    const bool expected = std::abs(delta) > tolerance;
                    EXPECT_EQ(MotionDetection::bytesDiffer(a.data(), b.data(), length,
                                                           static_cast<std::uint8_t>(tolerance)),
                              expected)
                        << "length " << length << ", byte " << at << ", delta " << delta
                        << ", tolerance " << tolerance;
                    EXPECT_EQ(MotionDetection::bytesDiffer(b.data(), a.data(), length,
                                                           static_cast<std::uint8_t>(tolerance)),
                              expected);
                }
                b[at] = 100;
            }
        }
    }
}

TEST(RowChange, ExtremesOfTheByteRange) {
    const std::vector<std::uint8_t> black(40, 0);
    const std::vector<std::uint8_t> white(40, 255);
    EXPECT_TRUE(MotionDetection::bytesDiffer(black.data(), white.data(), 40, 254));
    EXPECT_FALSE(MotionDetection::bytesDiffer(black.data(), white.data(), 40, 255));
    EXPECT_FALSE(MotionDetection::bytesDiffer(white.data(), white.data(), 40, 1));
}

} // namespace
