// The four detection parameters and the settings store that keeps them:
// held to their ranges, saved as text at once, read back from stored
// (possibly hand-edited or damaged) text, and an unwritable store survived.

#include "detection/MotionDetection.h"
#include "platform/SettingsStore.h"
#include "tests/testsupport/ScratchHome.h"

#include <QDir>
#include <QRect>
#include <QSettings>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>

namespace {

using namespace MotionDetection;
constexpr std::int32_t lowest = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t highest = std::numeric_limits<std::int32_t>::max();

QString read(const QString& key) {
    return platform::GetSetting("Vantorel", "Settings", key, "absent");
}

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

// Hand-edited text is read as it stands, junk or a value that is no text
// does no harm, and a store that cannot be written doesn't stop a setter.
TEST(Parameters, DamagedAndUnwritableStoresAreSurvived) {
    {
        const testsupport::ScratchHome home;
        QDir().mkpath(QFileInfo(home.settingsFile()).path());
        std::ofstream(home.settingsFile().toStdString(), std::ios::binary)
            << "[Settings]\nTolerance=12abc\nMaxLaserBeam=12, 5\nSampleEveryNthFrame=\x01[=\"\r"
            << std::string(4096, '\xfe');
        EXPECT_EQ(read("Tolerance"), "12abc");
        EXPECT_EQ(read("MaxLaserBeam"), "12, 5");       // a list to Qt
        static_cast<void>(read("SampleEveryNthFrame")); // junk: anything, no crash
        QSettings(home.settingsFile(), QSettings::IniFormat)
            .setValue("Settings/Tolerance", QRect(1, 2, 3, 4));
        EXPECT_EQ(read("Tolerance"), "absent");
    }
    const testsupport::ScratchHome home;
    ASSERT_TRUE(QDir().mkpath(home.settingsFile())); // a folder where the file should be
    EXPECT_FALSE(platform::SaveSetting("Vantorel", "Settings", "Tolerance", " 50"));
    SetMaxLaserBeam(33);
    EXPECT_EQ(GetMaxLaserBeam(), 33);
    EXPECT_EQ(read("MaxLaserBeam"), "absent");
}

} // namespace
