// The detection parameters' stored text, read as its leading number. (The
// store itself is tests/platform/SettingsStoreTest.cpp; the parameters at
// start-up and held to their ranges, tests/app/ProgramLifeTest.cpp.)

#include "detection/MotionDetection.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

using namespace MotionDetection;
constexpr std::int32_t lowest = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t highest = std::numeric_limits<std::int32_t>::max();

TEST(Parameters, StoredTextReadsItsLeadingNumber) {
    // clang-format off
    const std::pair<const char*, std::int32_t> rows[] = {
        {" 12", 12}, {"12abc", 12}, {"7.5", 8}, {"6.5", 6}, {"6.51", 7}, {".5", 0}, {"-2.5", -2},
        {"-3.5", -4}, {"+3", 3}, {"", 0}, {"abc", 0}, {"\t 20", 20}, {"0x10", 0}, {"1e3", 1},
        {"\u0663", 0}, {"5\u0663", 5}, {"2147483648", highest}, {"2147483647.5", highest},
        {"-99999999999999999999", lowest},
    };
    // clang-format on
    for (const auto& [text, value] : rows)
        EXPECT_EQ(ReadStoredValue(QString::fromUtf8(text)), value) << '"' << text << '"';
}

} // namespace
