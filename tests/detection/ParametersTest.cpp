// The four detection parameters and the settings store that keeps them:
// held to their ranges, saved as text at once, read back from stored
// (possibly hand-edited or damaged) text, and an unwritable store survived.

#include "detection/MotionDetection.h"
#include "platform/SettingsStore.h"
#include "tests/support/ScratchHome.h"

#include <QDir>
#include <QFile>
#include <QRect>
#include <QSettings>
#include <gtest/gtest.h>
#include <limits>

namespace {

using namespace MotionDetection;
constexpr std::int32_t lowest = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t highest = std::numeric_limits<std::int32_t>::max();

QString read(const QString& key) {
    return platform::GetSetting(QStringLiteral("Vantorel"), QStringLiteral("Settings"), key,
                                QStringLiteral("absent"));
}

TEST(Parameters, SettersHoldTheRangeAndSaveWhatTheyHoldAtOnce) {
    const testsupport::ScratchHome home;
    struct Row {
        void (*set)(std::int32_t);
        std::int32_t (*get)();
        const char* key;
        std::vector<std::pair<std::int32_t, std::int32_t>> argumentAndHeld;
    };
    // clang-format off
    const Row rows[] = {
        {SetSampleEveryNthFrame, GetSampleEveryNthFrame, "SampleEveryNthFrame", {{0, 1}, {-7, 1}, {51, 50}}},
        {SetCompareEveryNthByte, GetCompareEveryNthByte, "CompareEveryNthByte", {{lowest, 1}, {highest, 50}}},
        {SetTolerance, GetTolerance, "Tolerance", {{256, 255}, {50, 50}, {50, 50}}}, // again: saved again
        {SetMaxLaserBeam, GetMaxLaserBeam, "MaxLaserBeam", {{101, 100}, {0, 1}}},
    };
    // clang-format on
    for (const Row& row : rows) {
        EXPECT_EQ(read(QLatin1String(row.key)), QStringLiteral("absent"));
        for (const auto& [argument, held] : row.argumentAndHeld) {
            SCOPED_TRACE(::testing::Message() << row.key << " " << argument);
            row.set(argument);
            EXPECT_EQ(row.get(), held);
            // Another reader, as after a crash and a restart, sees the text.
            const QSettings fresh(home.settingsFile(), QSettings::IniFormat);
            EXPECT_EQ(fresh.value(QStringLiteral("Settings/") + QLatin1String(row.key)).toString(),
                      QLatin1Char(' ') + QString::number(held));
            platform::SaveSetting(QStringLiteral("Vantorel"), QStringLiteral("Settings"),
                                  QLatin1String(row.key), QStringLiteral(" 9"));
        }
    }
}

TEST(Parameters, StoredTextReadsItsLeadingNumber) {
    // clang-format off
    const std::pair<const char*, std::int32_t> rows[] = {
        {" 12", 12}, {"12abc", 12}, {"7.5", 8}, {"6.5", 6}, {"6.51", 7}, {"0.5", 0}, {".5", 0},
        {"-2.5", -2}, {"-3.5", -4}, {"+3", 3}, {"", 0}, {"abc", 0}, {"x12", 0}, {"\t 20", 20},
        {"0x10", 0}, {"1e3", 1}, {"12, 5", 12}, {"-", 0}, {"\u0663", 0}, {"5\u0663", 5},
        {"2147483648", highest}, {"2147483647.5", highest}, {"-99999999999999999999", lowest},
    };
    // clang-format on
    for (const auto& [text, value] : rows)
        EXPECT_EQ(ReadStoredValue(QString::fromUtf8(text)), value) << '"' << text << '"';
}

TEST(Parameters, HandEditedAndDamagedFilesAreRead) {
    const testsupport::ScratchHome home;
    QDir().mkpath(QFileInfo(home.settingsFile()).path());
    QFile file(home.settingsFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Settings]\nTolerance=12abc\nMaxLaserBeam=12, 5\nSampleEveryNthFrame=");
    for (int i = 0; i < 4096; ++i)
        file.putChar(static_cast<char>((i * 7919 + 13) % 256));
    file.close();
    EXPECT_EQ(read(QStringLiteral("Tolerance")), QStringLiteral("12abc"));
    EXPECT_EQ(read(QStringLiteral("MaxLaserBeam")), QStringLiteral("12, 5"));
    static_cast<void>(read(QStringLiteral("SampleEveryNthFrame"))); // junk: anything, no crash
    QSettings(home.settingsFile(), QSettings::IniFormat)
        .setValue(QStringLiteral("Settings/Tolerance"), QRect(1, 2, 3, 4));
    EXPECT_EQ(read(QStringLiteral("Tolerance")), QStringLiteral("absent")); // no text
}

TEST(Parameters, UnwritableStoreDoesNotStopTheSetter) {
    const testsupport::ScratchHome home;
    ASSERT_TRUE(QDir().mkpath(home.settingsFile())); // a folder where the file should be
    EXPECT_FALSE(platform::SaveSetting(QStringLiteral("Vantorel"), QStringLiteral("Settings"),
                                       QStringLiteral("Tolerance"), QStringLiteral(" 50")));
    SetMaxLaserBeam(33);
    EXPECT_EQ(GetMaxLaserBeam(), 33);
    EXPECT_EQ(read(QStringLiteral("MaxLaserBeam")), QStringLiteral("absent"));
}

} // namespace
