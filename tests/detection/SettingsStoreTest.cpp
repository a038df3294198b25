// The per-user settings store: text values kept exactly, on disk at once,
// and damaged or unwritable files survived.

#include "platform/SettingsStore.h"
#include "tests/support/ScratchHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRect>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

const QString app = QStringLiteral("Vantorel");
const QString section = QStringLiteral("Settings");

QString read(const QString& key, const QString& fallback = QStringLiteral("default")) {
    return platform::GetSetting(app, section, key, fallback);
}

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

class SettingsStore : public ::testing::Test {
protected:
    testsupport::ScratchHome home;
};

TEST_F(SettingsStore, MissingKeyGivesTheDefault) {
    EXPECT_EQ(read(QStringLiteral("Tolerance"), QStringLiteral(" 50")), QStringLiteral(" 50"));
}

TEST_F(SettingsStore, TextsRoundTripExactly) {
    for (const QString& text :
         {QStringLiteral(" 50"), QStringLiteral(" 1"), QStringLiteral("-7"),
          QStringLiteral("  two  blanks "), QStringLiteral("a=b;c,d"), QString()}) {
        ASSERT_TRUE(platform::SaveSetting(app, section, QStringLiteral("Key"), text));
        EXPECT_EQ(read(QStringLiteral("Key")), text);
    }
}

TEST_F(SettingsStore, SavedValueIsOnDiskWhenSaveReturns) {
    ASSERT_TRUE(
        platform::SaveSetting(app, section, QStringLiteral("MaxLaserBeam"), QStringLiteral(" 20")));
    // Another reader, as after a crash and a restart, sees it.
    const QSettings fresh(home.settingsFile(), QSettings::IniFormat);
    EXPECT_EQ(fresh.value(QStringLiteral("Settings/MaxLaserBeam")).toString(),
              QStringLiteral(" 20"));
}

TEST_F(SettingsStore, SectionsAndKeysAreSeparate) {
    platform::SaveSetting(app, section, QStringLiteral("Tolerance"), QStringLiteral(" 60"));
    platform::SaveSetting(app, QStringLiteral("Other"), QStringLiteral("Tolerance"),
                          QStringLiteral(" 70"));
    EXPECT_EQ(read(QStringLiteral("Tolerance")), QStringLiteral(" 60"));
    EXPECT_EQ(read(QStringLiteral("MaxLaserBeam")), QStringLiteral("default"));
}

TEST_F(SettingsStore, HandEditedValuesReadAsText) {
    writeFile(home.settingsFile(), "[Settings]\nTolerance=12abc\nMaxLaserBeam=12, 5\n"
                                   "CompareEveryNthByte=\" 7.5\"\n");
    EXPECT_EQ(read(QStringLiteral("Tolerance")), QStringLiteral("12abc"));
    EXPECT_EQ(read(QStringLiteral("MaxLaserBeam")), QStringLiteral("12, 5"));
    EXPECT_EQ(read(QStringLiteral("CompareEveryNthByte")), QStringLiteral(" 7.5"));
}

TEST_F(SettingsStore, BinaryJunkIsSurvived) {
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(static_cast<char>((i * 7919 + 13) % 256));
    writeFile(home.settingsFile(), "[Settings]\nTolerance=" + junk + "\n" + junk);
    // Whatever the file now yields, reading and saving go on.
    static_cast<void>(read(QStringLiteral("Tolerance")));
    static_cast<void>(read(QStringLiteral("MaxLaserBeam")));
    static_cast<void>(
        platform::SaveSetting(app, section, QStringLiteral("MaxLaserBeam"), QStringLiteral(" 20")));
    SUCCEED();
}

TEST_F(SettingsStore, ValueThatIsNoTextGivesTheDefault) {
    {
        QSettings settings(home.settingsFile(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("Settings/Tolerance"), QRect(1, 2, 3, 4));
    }
    EXPECT_EQ(read(QStringLiteral("Tolerance")), QStringLiteral("default"));
}

TEST_F(SettingsStore, SettingsFileThatIsAFolderCannotBeWritten) {
    ASSERT_TRUE(QDir().mkpath(home.settingsFile()));
    EXPECT_FALSE(
        platform::SaveSetting(app, section, QStringLiteral("Tolerance"), QStringLiteral(" 50")));
    EXPECT_EQ(read(QStringLiteral("Tolerance")), QStringLiteral("default"));
}

TEST_F(SettingsStore, ReadOnlyFolderCannotBeWritten) {
    const QString folder = QFileInfo(home.settingsFile()).path();
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    if (QFileInfo(folder).isWritable()) {
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
        GTEST_SKIP() << "the folder stays writable (running as root)";
    }
    EXPECT_FALSE(
        platform::SaveSetting(app, section, QStringLiteral("Tolerance"), QStringLiteral(" 50")));
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

} // namespace
