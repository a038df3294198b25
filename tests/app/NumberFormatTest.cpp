#include "app/NumberFormat.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

struct Case {
    std::int32_t value;
    int width;
    const char* text;
};

class NumberFormat : public ::testing::TestWithParam<Case> {};

TEST_P(NumberFormat, WritesTheValueRightAlignedWithOneMinusSign) {
    const Case c = GetParam();
    EXPECT_EQ(app::FormatNumber(c.value, c.width), QString::fromLatin1(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    ScoreCardFields, NumberFormat,
    ::testing::Values(Case{0, 2, " 0"}, Case{1, 2, " 1"}, Case{9, 2, " 9"}, Case{10, 2, "10"},
                      Case{-1, 2, "-1"}, Case{-3, 2, "-3"}, Case{-9, 2, "-9"}, Case{7, 3, "  7"},
                      Case{85, 3, " 85"}, Case{100, 3, "100"}, Case{-12, 3, "-12"},
                      Case{-5, 3, " -5"}, Case{-90, 3, "-90"},
                      // Wider than the field: written in full, never cut.
                      Case{-123, 3, "-123"}, Case{1234, 2, "1234"},
                      Case{std::numeric_limits<std::int32_t>::min(), 2, "-2147483648"}));

} // namespace
