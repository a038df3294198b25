// The four detection parameters: held to their ranges, saved as text on
// every call, and read back from stored text.

#include "detection/MotionDetection.h"
#include "platform/SettingsStore.h"
#include "tests/support/ScratchHome.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <limits>

namespace {

using Setter = void (*)(std::int32_t);
using Getter = std::int32_t (*)();

QString stored(const char* key) {
    return platform::GetSetting(QStringLiteral("Vantorel"), QStringLiteral("Settings"),
                                QString::fromLatin1(key), QStringLiteral("absent"));
}

struct ClampCase {
    const char* name;
    Setter set;
    Getter get;
    const char* key;
    std::int32_t argument;
    std::int32_t held;
    const char* text;
};

class ParameterClamping : public ::testing::TestWithParam<ClampCase> {
protected:
    testsupport::ScratchHome home;
};

TEST_P(ParameterClamping, HoldsTheValueAndSavesWhatItHolds) {
    const ClampCase& c = GetParam();
    c.set(c.argument);
    EXPECT_EQ(c.get(), c.held);
    EXPECT_EQ(stored(c.key), QString::fromLatin1(c.text));
}

constexpr std::int32_t lowest = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t highest = std::numeric_limits<std::int32_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Setters, ParameterClamping,
    ::testing::Values(
        ClampCase{"SampleZero", MotionDetection::SetSampleEveryNthFrame,
                  MotionDetection::GetSampleEveryNthFrame, "SampleEveryNthFrame", 0, 1, " 1"},
        ClampCase{"SampleNegative", MotionDetection::SetSampleEveryNthFrame,
                  MotionDetection::GetSampleEveryNthFrame, "SampleEveryNthFrame", -7, 1, " 1"},
        ClampCase{"SampleAbove", MotionDetection::SetSampleEveryNthFrame,
                  MotionDetection::GetSampleEveryNthFrame, "SampleEveryNthFrame", 51, 50, " 50"},
        ClampCase{"SampleInside", MotionDetection::SetSampleEveryNthFrame,
                  MotionDetection::GetSampleEveryNthFrame, "SampleEveryNthFrame", 17, 17, " 17"},
        ClampCase{"CompareLowest", MotionDetection::SetCompareEveryNthByte,
                  MotionDetection::GetCompareEveryNthByte, "CompareEveryNthByte", lowest, 1, " 1"},
        ClampCase{"CompareHighest", MotionDetection::SetCompareEveryNthByte,
                  MotionDetection::GetCompareEveryNthByte, "CompareEveryNthByte", highest, 50,
                  " 50"},
        ClampCase{"CompareDefault", MotionDetection::SetCompareEveryNthByte,
                  MotionDetection::GetCompareEveryNthByte, "CompareEveryNthByte", 5, 5, " 5"},
        ClampCase{"ToleranceAbove", MotionDetection::SetTolerance, MotionDetection::GetTolerance,
                  "Tolerance", 256, 255, " 255"},
        ClampCase{"ToleranceTop", MotionDetection::SetTolerance, MotionDetection::GetTolerance,
                  "Tolerance", 255, 255, " 255"},
        ClampCase{"ToleranceBottom", MotionDetection::SetTolerance, MotionDetection::GetTolerance,
                  "Tolerance", 1, 1, " 1"},
        ClampCase{"BeamAbove", MotionDetection::SetMaxLaserBeam, MotionDetection::GetMaxLaserBeam,
                  "MaxLaserBeam", 101, 100, " 100"},
        ClampCase{"BeamZero", MotionDetection::SetMaxLaserBeam, MotionDetection::GetMaxLaserBeam,
                  "MaxLaserBeam", 0, 1, " 1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Parameters, SameValueIsSavedAgain) {
    const testsupport::ScratchHome home;
    MotionDetection::SetTolerance(77);
    platform::SaveSetting(QStringLiteral("Vantorel"), QStringLiteral("Settings"),
                          QStringLiteral("Tolerance"), QStringLiteral(" 9"));
    MotionDetection::SetTolerance(77);
    EXPECT_EQ(stored("Tolerance"), QStringLiteral(" 77"));
}

TEST(Parameters, DefaultsAreStoredWithALeadingBlank) {
    const testsupport::ScratchHome home;
    MotionDetection::SetSampleEveryNthFrame(MotionDetection::SampleEveryNthFrameRange.defaultValue);
    MotionDetection::SetCompareEveryNthByte(MotionDetection::CompareEveryNthByteRange.defaultValue);
    MotionDetection::SetTolerance(MotionDetection::ToleranceRange.defaultValue);
    MotionDetection::SetMaxLaserBeam(MotionDetection::MaxLaserBeamRange.defaultValue);
    EXPECT_EQ(stored("SampleEveryNthFrame"), QStringLiteral(" 1"));
    EXPECT_EQ(stored("CompareEveryNthByte"), QStringLiteral(" 5"));
    EXPECT_EQ(stored("Tolerance"), QStringLiteral(" 50"));
    EXPECT_EQ(stored("MaxLaserBeam"), QStringLiteral(" 20"));

    // On disk already, in the "Settings" section of the program's own file.
    QFile file(home.settingsFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("[Settings]"));
    EXPECT_TRUE(text.contains("Tolerance=\" 50\"")) << text.constData();
}

TEST(Parameters, UnwritableStoreDoesNotStopTheSetter) {
    const testsupport::ScratchHome home;
    // A folder where the settings file should be: nothing can be written.
    ASSERT_TRUE(QDir().mkpath(home.settingsFile()));
    MotionDetection::SetMaxLaserBeam(33);
    EXPECT_EQ(MotionDetection::GetMaxLaserBeam(), 33);
}

struct ReadCase {
    const char* text;
    std::int32_t value;
};

class StoredText : public ::testing::TestWithParam<ReadCase> {};

TEST_P(StoredText, ReadsItsLeadingNumber) {
    EXPECT_EQ(MotionDetection::ReadStoredValue(QString::fromLatin1(GetParam().text)),
              GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StoredText,
    ::testing::Values(
        ReadCase{" 12", 12}, ReadCase{"12abc", 12}, ReadCase{" 50", 50}, ReadCase{"7.5", 8},
        ReadCase{"6.5", 6}, ReadCase{"6.51", 7}, ReadCase{"6.4999", 6}, ReadCase{"0.5", 0},
        ReadCase{".5", 0}, ReadCase{"1.5", 2}, ReadCase{"-2.5", -2}, ReadCase{"-3.5", -4},
        ReadCase{"-7", -7}, ReadCase{"+3", 3}, ReadCase{"", 0}, ReadCase{"   ", 0},
        ReadCase{"abc", 0}, ReadCase{"x12", 0}, ReadCase{"\t 20", 20}, ReadCase{"20 ", 20},
        ReadCase{"0x10", 0}, ReadCase{"1e3", 1}, ReadCase{"12, 5", 12}, ReadCase{"-", 0},
        ReadCase{".", 0}, ReadCase{"2147483647", 2147483647}, ReadCase{"2147483648", 2147483647},
        ReadCase{"99999999999999999999999999", 2147483647}, ReadCase{"2147483647.5", 2147483647},
        ReadCase{"-2147483648", std::numeric_limits<std::int32_t>::min()},
        ReadCase{"-99999999999999999999", std::numeric_limits<std::int32_t>::min()}));

TEST(StoredTextWide, NonLatinDigitsAreNoNumber) {
    EXPECT_EQ(MotionDetection::ReadStoredValue(QStringLiteral("\u0663\u0664")), 0);
    EXPECT_EQ(MotionDetection::ReadStoredValue(QStringLiteral("5\u0663")), 5);
}

} // namespace
