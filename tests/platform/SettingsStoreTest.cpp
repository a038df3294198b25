// The settings store with something odd where its file or lock should be:
// nothing waits, the defaults are answered, nothing is written, the reason
// is told, and a hand-edited file keeps every byte a change does not touch.

#include "platform/SettingsStore.h"
#include "platform/SeamGuard.h"
#include "tests/fixtures/ScratchHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using fixtures::readFile;
using fixtures::writeFile;

const QByteArray stored = "[Settings]\nTolerance=\" 7\"\n";

// What stands where the file or its lock should be; the folder above exists.
// (The program on a FIFO for the file and a folder for the lock:
// tests/app/ProgramLifeTest.cpp.)
using Maker = void (*)(const QString& path);
const Maker folder = [](const QString& path) { QDir().mkpath(path); };
const Maker fifo = [](const QString& path) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
};
const Maker device = [](const QString& path) { QFile::link(QStringLiteral("/dev/zero"), path); };
const Maker huge = [](const QString& path) {
    ASSERT_TRUE(writeFile(path, stored + QByteArray(1 << 20, ';')));
};

struct OddStore {
    const char* name;
    Maker make;
    bool atLock; // in the lock's place, beside a good file whose Tolerance reads " 7"
    const char* reason;
};

TEST(SettingsStore, OddFileOrLockIsSurvivedWithItsReason) {
    const char* const notRegular = "it is not a regular file";
    const char* const lockNotRegular = "its lock file Vantorel.ini.lock is not a regular file";
    const OddStore rows[] = {
        {"folder for the file", folder, false, notRegular},
        {"device for the file", device, false, notRegular},
        {"huge file", huge, false, "it is larger than 64 KiB"},
        {"FIFO for the lock", fifo, true, lockNotRegular},
    };
    for (const OddStore& row : rows) {
        SCOPED_TRACE(row.name);
        const fixtures::ScratchHome home;
        const QString ini = home.settingsFile();
        QDir().mkpath(QFileInfo(ini).path());
        ASSERT_TRUE(!row.atLock || writeFile(ini, stored));
        row.make(row.atLock ? ini + ".lock" : ini);
        const QByteArray before = readFile(ini);
        QStringList told;
        {
            const platform::SeamGuard<platform::SettingsProblemHandler> listening(
                platform::setSettingsProblemHandler, [&](const QString& why) { told << why; });
            EXPECT_EQ(platform::readSetting("Vantorel", "Settings", "Tolerance", "absent"),
                      row.atLock ? " 7" : "absent");
            EXPECT_FALSE(platform::writeSetting("Vantorel", "Settings", "Tolerance", " 9"));
        }
        EXPECT_EQ(readFile(ini), before);
        ASSERT_FALSE(told.isEmpty());
        EXPECT_TRUE(told.back().contains(ini) && told.back().contains(row.reason))
            << told.back().toStdString();
    }
}

// Comments, text after ';', other sections, bytes that are no UTF-8, junk
// and Windows line ends stay; a change touches its own line only, and a new
// key goes at the end of its section. A stored object is no text. A lock
// held elsewhere is given up at once. (Any junk read as a value without
// harm: fuzz/stored_parameter.cpp.)
TEST(SettingsStore, HandEditedFileKeepsWhatAChangeDoesNotTouch) {
    const fixtures::ScratchHome home;
    const QByteArray edited = "; tuned for the cellar\r\n[Other]\r\nName=caf\xe9;x\r\n"
                              "Shape=@Rect(1 2 3 4)\r\n\r\n[Settings]\r\n"
                              "Tolerance = \" 50\" ; was 40\r\nMaxLaserBeam=12, 5\r\n# the end\r\n"
                              "[Junk]\r\nJunk=\x01[=\"\r" +
                              QByteArray(4096, '\xfe');
    ASSERT_TRUE(writeFile(home.settingsFile(), edited));

    EXPECT_EQ(platform::readSetting("Vantorel", "Settings", "MaxLaserBeam", {}), "12, 5");
    EXPECT_EQ(platform::readSetting("Vantorel", "Other", "Shape", "absent"), "absent");
    // (That a value stored already leaves the file untouched, even its time:
    // tests/app/ProgramLifeTest.cpp.)
    EXPECT_TRUE(platform::writeSetting("Vantorel", "Settings", "Tolerance", " 50"));
    EXPECT_EQ(readFile(home.settingsFile()), edited);

    EXPECT_TRUE(platform::writeSetting("Vantorel", "Settings", "Tolerance", " 60"));
    EXPECT_TRUE(platform::writeSetting("Vantorel", "Settings", "SampleEveryNthFrame", "a;b"));
    QByteArray expected = edited;
    expected.replace("Tolerance = \" 50\" ; was 40", "Tolerance =\" 60\"");
    expected.replace("MaxLaserBeam=12, 5\r\n",
                     "MaxLaserBeam=12, 5\r\nSampleEveryNthFrame=\"a;b\"\r\n");
    EXPECT_EQ(readFile(home.settingsFile()), expected);
    EXPECT_EQ(platform::readSetting("Vantorel", "Settings", "SampleEveryNthFrame", {}), "a;b");

    QLockFile held(home.settingsFile() + ".lock"); // a live process holds it: given up
    ASSERT_TRUE(held.lock());
    EXPECT_FALSE(platform::writeSetting("Vantorel", "Settings", "Tolerance", " 9"));
    EXPECT_TRUE(platform::writeSetting("Vantorel", "Settings", "Tolerance", " 60")); // stored
    EXPECT_EQ(readFile(home.settingsFile()), expected);
}

// A file saved by an editor that starts it with a UTF-8 byte order mark:
// its values are read, a change goes into its section (not a second one),
// and the mark stays. So does a file that is the mark alone.
TEST(SettingsStore, AByteOrderMarkIsReadPastAndKept) {
    const fixtures::ScratchHome home;
    const QByteArray mark = "\xEF\xBB\xBF";
    ASSERT_TRUE(writeFile(home.settingsFile(), mark + "[Settings]\nTolerance=33\n"));
    EXPECT_EQ(platform::readSetting("Vantorel", "Settings", "Tolerance", "50"), "33");
    EXPECT_TRUE(platform::writeSetting("Vantorel", "Settings", "MaxLaserBeam", "12"));
    EXPECT_TRUE(platform::writeSetting("Vantorel", "Settings", "Tolerance", "34"));
    EXPECT_EQ(readFile(home.settingsFile()), mark + "[Settings]\nTolerance=34\nMaxLaserBeam=12\n");

    ASSERT_TRUE(writeFile(home.settingsFile(), mark));
    EXPECT_TRUE(platform::writeSetting("Vantorel", "Settings", "Tolerance", "35"));
    EXPECT_EQ(readFile(home.settingsFile()), mark + "[Settings]\nTolerance=35\n");
}

} // namespace
