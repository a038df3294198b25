// The quick row look agrees with a byte-by-byte comparison for every length
// (short rows, whole blocks, overlapping last blocks), position, tolerance
// and the extremes of the byte range.

#include "detection/RowChange.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

TEST(RowChange, AgreesWithByteByByteEverywhere) {
    for (const int tolerance : {1, 50, 254, 255})
        for (const int base : {0, 100, 255})
            for (std::size_t length = 1; length <= 70; ++length)
                for (std::size_t at = 0; at < length; ++at)
                    for (const int other : {0, 49, 50, 150, 151, 255}) {
                        std::vector<std::uint8_t> a(length, std::uint8_t(base));
                        std::vector<std::uint8_t> b = a;
                        b[at] = std::uint8_t(other);
                        const auto t = std::uint8_t(tolerance);
                        const bool expected = std::abs(other - base) > tolerance;
                        ASSERT_EQ(MotionDetection::bytesDiffer(a.data(), b.data(), length, t),
                                  expected)
                            << length << " bytes, at " << at << ": " << base << " and " << other
                            << ", T " << tolerance;
                        ASSERT_EQ(MotionDetection::bytesDiffer(b.data(), a.data(), length, t),
                                  expected);
                    }
}
