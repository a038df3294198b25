// The settings store with something odd where its file or lock should be:
// nothing waits, the defaults are answered, nothing is written, the reason
// is told, and a hand-edited file keeps every byte a change does not touch.

#include "platform/SettingsStore.h"
#include "tests/testsupport/ScratchHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Only a regular file is read: a FIFO would wait, a device never end.
QByteArray contentOf(const QString& path) {
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) ? file.readAll()
                                                                      : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
}

const QByteArray stored = "[Settings]\nTolerance=\" 7\"\n";

struct OddStore {
    const char* name;
    std::function<void(const QString& ini, const QString& lock)> make;
    const char* reason;
    QString read; // what Tolerance reads
};

TEST(SettingsStore, OddFileOrLockIsSurvivedWithItsReason) {
    const auto fifo = [](const QString& path) {
        QDir().mkpath(QFileInfo(path).path());
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    };
    const OddStore rows[] = {
        {"folder for the file", [](const QString& ini, auto&) { QDir().mkpath(ini); },
         "it is not a regular file", "absent"},
        {"FIFO for the file", [&](const QString& ini, auto&) { fifo(ini); },
         "it is not a regular file", "absent"},
        {"device for the file",
         [](const QString& ini, auto&) {
             QDir().mkpath(QFileInfo(ini).path());
             QFile::link(QStringLiteral("/dev/zero"), ini);
         },
         "it is not a regular file", "absent"},
        {"huge file",
         [](const QString& ini, auto&) { writeFile(ini, stored + QByteArray(1 << 20, ';')); },
         "it is larger than 64 KiB", "absent"},
        {"folder for the lock",
         [](const QString& ini, const QString& lock) {
             writeFile(ini, stored);
             QDir().mkpath(lock);
         },
         "its lock file Vantorel.ini.lock is not a regular file", " 7"},
        {"FIFO for the lock",
         [&](const QString& ini, const QString& lock) {
             writeFile(ini, stored);
             fifo(lock);
         },
         "its lock file Vantorel.ini.lock is not a regular file", " 7"},
    };
    for (const OddStore& row : rows) {
        SCOPED_TRACE(row.name);
        const testsupport::ScratchHome home;
        const QString ini = home.settingsFile();
        row.make(ini, ini + ".lock");
        const QByteArray before = contentOf(ini);
        QStringList told;
        platform::setSettingsProblemHandler([&](const QString& why) { told << why; });
        EXPECT_EQ(platform::GetSetting("Vantorel", "Settings", "Tolerance", "absent"), row.read);
        EXPECT_FALSE(platform::SaveSetting("Vantorel", "Settings", "Tolerance", " 9"));
        platform::setSettingsProblemHandler({});
        EXPECT_EQ(contentOf(ini), before);
        ASSERT_FALSE(told.isEmpty());
        EXPECT_TRUE(told.back().contains(ini) && told.back().contains(row.reason))
            << told.back().toStdString();
    }
}

TEST(SettingsStore, LockHeldElsewhereIsGivenUp) {
    const testsupport::ScratchHome home;
    writeFile(home.settingsFile(), stored);
    QLockFile held(home.settingsFile() + ".lock"); // a live process holds it
    ASSERT_TRUE(held.lock());
    EXPECT_FALSE(platform::SaveSetting("Vantorel", "Settings", "Tolerance", " 9"));
    EXPECT_TRUE(platform::SaveSetting("Vantorel", "Settings", "Tolerance", " 7")); // stored
    EXPECT_EQ(contentOf(home.settingsFile()), stored);
}

// Comments, text after ';', other sections, bytes that are no UTF-8 and
// Windows line ends stay; a change touches its own line only, and a new key
// goes at the end of its section.
TEST(SettingsStore, HandEditedFileKeepsWhatAChangeDoesNotTouch) {
    const testsupport::ScratchHome home;
    const QByteArray edited = "; tuned for the cellar\r\n[Other]\r\nName=caf\xe9;x\r\n\r\n"
                              "[Settings]\r\nTolerance = \" 50\" ; was 40\r\nMaxLaserBeam=12, 5\r\n"
                              "# the end\r\n";
    writeFile(home.settingsFile(), edited);
    const QByteArray path = QFile::encodeName(home.settingsFile());
    struct stat before {};
    ASSERT_EQ(::stat(path.constData(), &before), 0);

    EXPECT_EQ(platform::GetSetting("Vantorel", "Settings", "MaxLaserBeam", {}), "12, 5");
    EXPECT_TRUE(platform::SaveSetting("Vantorel", "Settings", "Tolerance", " 50"));
    struct stat after {};
    ASSERT_EQ(::stat(path.constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the file was replaced";
    EXPECT_EQ(contentOf(home.settingsFile()), edited);

    EXPECT_TRUE(platform::SaveSetting("Vantorel", "Settings", "Tolerance", " 60"));
    EXPECT_TRUE(platform::SaveSetting("Vantorel", "Settings", "SampleEveryNthFrame", "a;b"));
    QByteArray expected = edited;
    expected.replace("Tolerance = \" 50\" ; was 40", "Tolerance =\" 60\"");
    expected.replace("MaxLaserBeam=12, 5\r\n",
                     "MaxLaserBeam=12, 5\r\nSampleEveryNthFrame=\"a;b\"\r\n");
    EXPECT_EQ(contentOf(home.settingsFile()), expected);
    EXPECT_EQ(platform::GetSetting("Vantorel", "Settings", "SampleEveryNthFrame", {}), "a;b");
}

} // namespace
