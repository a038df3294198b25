// The program's one rounding rule.

#include "platform/Rounding.h"

#include <gtest/gtest.h>
#include <limits>

// Ties go to the even neighbour; values beyond 32 bits are held to them.
TEST(Rounding, NearestTiesToEvenAndHoldsToThe32BitRange) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    // clang-format off
    const std::pair<double, std::int32_t> rows[] = {
        {2.5, 2}, {3.5, 4}, {-437.5, -438}, {62.5, 62},
        {1e12, INT32_MAX}, {-1e12, INT32_MIN}, {nan, 0}};
    // clang-format on
    for (const auto& [value, expected] : rows)
        EXPECT_EQ(platform::nearest(value), expected) << value;
}
