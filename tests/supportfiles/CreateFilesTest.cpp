// Writing out the display font and the help file: first start, later
// starts, files or links already in place, folders that cannot be written,
// short writes, and opening the help file.

#include "support/CreateFiles.h"
#include "platform/Folders.h"
#include "platform/NewFile.h"
#include "platform/ResourceReader.h"
#include "platform/Shell.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/ScratchHome.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QList>
#include <QPair>
#include <gtest/gtest.h>

namespace {
bool lcdKnown() {
    return QFontDatabase::families().contains(QStringLiteral("LCD2"));
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class SupportFiles : public ::testing::Test {
protected:
    void SetUp() override {
        QFontDatabase::removeAllApplicationFonts();
        ASSERT_FALSE(lcdKnown()) << "this machine knows LCD2 already; the test cannot tell "
                                    "whether the program registered it";
        platform::setOpenHandler([this](const QString& target, bool isFile) {
            opened.append({target, isFile});
            return true;
        });
    }
    void TearDown() override {
        platform::NewFile::setWriteLimitForTesting(-1);
        platform::setOpenHandler({});
        QFontDatabase::removeAllApplicationFonts();
    }

    QString fontFile() const { return home.dataFolder() + QStringLiteral("/fonts/LCDFont.ttf"); }
    QString helpFile() const { return home.dataFolder() + QStringLiteral("/Vantorel.chm"); }
    // A data folder that can never be made: it would lie inside a file.
    void pointDataFolderIntoAFile() {
        writeFile(home.path() + QStringLiteral("/plain-file"), "x");
        qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/plain-file/data")).toLocal8Bit());
    }

    testsupport::ScratchHome home;
    testsupport::MessageRecorder messages;
    QList<QPair<QString, bool>> opened;
    const QByteArray font = platform::LoadResData(100, QStringLiteral("BIN"));
    const QByteArray help = platform::LoadResData(101, QStringLiteral("BIN"));
};
} // namespace

TEST_F(SupportFiles, FirstStartWritesTheWholeFontAndMakesItUsable) {
    ASSERT_FALSE(font.isEmpty());
    CreateFiles::InstallFont();
    EXPECT_EQ(QFileInfo(fontFile()).size(), font.size());
    EXPECT_EQ(readAll(fontFile()), font);
    EXPECT_EQ(CreateFiles::FontLength(), font.size());
    EXPECT_TRUE(lcdKnown());
    EXPECT_TRUE(QFontDatabase::styles(QStringLiteral("LCD2")).contains(QStringLiteral("Bold")));
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(SupportFiles, FontFolderIsMadeWhenMissing) {
    ASSERT_FALSE(QFileInfo::exists(home.dataFolder() + QStringLiteral("/fonts")));
    CreateFiles::InstallFont();
    EXPECT_TRUE(QFileInfo(fontFile()).isFile());
}

TEST_F(SupportFiles, SecondStartLeavesTheFontUntouchedAndSilent) {
    CreateFiles::InstallFont();
    const QDateTime written = QFileInfo(fontFile()).lastModified();
    QFile::setPermissions(fontFile(), QFile::ReadOwner); // any write attempt would show
    CreateFiles::InstallFont();
    EXPECT_EQ(QFileInfo(fontFile()).lastModified(), written);
    EXPECT_EQ(readAll(fontFile()), font);
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_TRUE(lcdKnown());
}

// The font file from an earlier run is used as it stands, so the score card
// has its display face on every start, not only on the first.
TEST_F(SupportFiles, LaterStartUsesTheFontAlreadyInPlace) {
    CreateFiles::InstallFont();
    QFontDatabase::removeAllApplicationFonts(); // as in a fresh run
    ASSERT_FALSE(lcdKnown());
    CreateFiles::InstallFont();
    EXPECT_TRUE(lcdKnown());
    EXPECT_EQ(readAll(fontFile()), font);
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(SupportFiles, DifferentFileUnderTheFontsNameIsNeitherReplacedNorReported) {
    const QByteArray other("not a font, and shorter than one");
    writeFile(fontFile(), other);
    CreateFiles::InstallFont();
    EXPECT_EQ(readAll(fontFile()), other);
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_FALSE(lcdKnown());
}

TEST_F(SupportFiles, LinkInThePlaceOfTheFontIsNotFollowed) {
    const QString target = home.path() + QStringLiteral("/elsewhere/target.ttf");
    QDir().mkpath(home.dataFolder() + QStringLiteral("/fonts"));
    QDir().mkpath(home.path() + QStringLiteral("/elsewhere"));
    ASSERT_TRUE(QFile::link(target, fontFile())); // dangling: writing through it would create
    CreateFiles::InstallFont();
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_TRUE(QFileInfo(fontFile()).isSymLink());
    EXPECT_TRUE(messages.shown().isEmpty());

    writeFile(target, font); // now a real font behind the link: still not read
    CreateFiles::InstallFont();
    EXPECT_FALSE(lcdKnown());
    EXPECT_TRUE(QFileInfo(fontFile()).isSymLink());
}

TEST_F(SupportFiles, UnwritableFontFolderIsSilent) {
    const QString folder = home.dataFolder() + QStringLiteral("/fonts");
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(folder).isWritable()) {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "running with rights that write into a read-only folder (root); the "
                        "folder that cannot be made is tested instead";
    }
    CreateFiles::InstallFont();
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(QFileInfo::exists(fontFile()));
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_FALSE(lcdKnown());
}

TEST_F(SupportFiles, FontFolderThatCannotBeMadeIsSilent) {
    pointDataFolderIntoAFile();
    CreateFiles::InstallFont();
    EXPECT_FALSE(QFileInfo::exists(platform::FontsFolder()));
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_FALSE(lcdKnown());
}

TEST_F(SupportFiles, ShortFontWriteIsReportedAndLeavesNoPartialFile) {
    platform::NewFile::setWriteLimitForTesting(1000);
    CreateFiles::InstallFont();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Error creating LCDFont.ttf"));
    EXPECT_TRUE(messages.shown()[0].title.isEmpty());
    EXPECT_EQ(messages.shown()[0].buttons, platform::MessageButtons::Ok);
    EXPECT_EQ(messages.shown()[0].icon, platform::MessageIcon::None);
    EXPECT_FALSE(QFileInfo::exists(fontFile()));
    EXPECT_FALSE(lcdKnown());

    // The next start writes it whole.
    platform::NewFile::setWriteLimitForTesting(-1);
    CreateFiles::InstallFont();
    EXPECT_EQ(readAll(fontFile()), font);
    EXPECT_TRUE(lcdKnown());
    EXPECT_EQ(messages.shown().size(), 1);
}

TEST_F(SupportFiles, FirstHelpWritesTheWholeFileAndOpensIt) {
    ASSERT_FALSE(help.isEmpty());
    CreateFiles::OpenHelp();
    EXPECT_EQ(readAll(helpFile()), help);
    EXPECT_EQ(CreateFiles::HelpLength(), help.size());
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].first, helpFile());
    EXPECT_TRUE(opened[0].second);
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(SupportFiles, LaterHelpOnlyOpensTheFile) {
    CreateFiles::OpenHelp();
    const QDateTime written = QFileInfo(helpFile()).lastModified();
    CreateFiles::OpenHelp();
    CreateFiles::OpenHelp();
    EXPECT_EQ(QFileInfo(helpFile()).lastModified(), written);
    EXPECT_EQ(opened.size(), 3);
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(SupportFiles, DifferentHelpFileIsKeptAndOpened) {
    writeFile(helpFile(), "an older help file");
    CreateFiles::OpenHelp();
    EXPECT_EQ(readAll(helpFile()), QByteArray("an older help file"));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].first, helpFile());
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(SupportFiles, ShortHelpWriteIsReportedRemovedAndStillOpened) {
    platform::NewFile::setWriteLimitForTesting(help.size() - 1);
    CreateFiles::OpenHelp();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Error creating Vantorel.chm"));
    EXPECT_TRUE(messages.shown()[0].title.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(helpFile()));
    EXPECT_EQ(opened.size(), 1);

    platform::NewFile::setWriteLimitForTesting(-1);
    CreateFiles::OpenHelp();
    EXPECT_EQ(readAll(helpFile()), help);
}

TEST_F(SupportFiles, HelpFolderThatCannotBeMadeIsSilentButStillAsksToOpen) {
    pointDataFolderIntoAFile();
    CreateFiles::OpenHelp();
    EXPECT_TRUE(messages.shown().isEmpty());
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].first, platform::WindowsFolder() + QStringLiteral("/Vantorel.chm"));
}

TEST_F(SupportFiles, FoldersFollowTheDataFolderAtEveryCall) {
    EXPECT_EQ(CreateFiles::WindowsFolder(), home.dataFolder());
    EXPECT_EQ(CreateFiles::FontsFolder(), home.dataFolder() + QStringLiteral("/fonts"));
    qputenv("XDG_DATA_HOME", "/somewhere/else");
    EXPECT_EQ(CreateFiles::WindowsFolder(), QStringLiteral("/somewhere/else"));
    EXPECT_EQ(CreateFiles::FontsFolder(), QStringLiteral("/somewhere/else/fonts"));
}

TEST_F(SupportFiles, WithoutAUsableDataFolderTheHomesOwnIsUsed) {
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(CreateFiles::WindowsFolder(), home.path() + QStringLiteral("/.local/share"));
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(CreateFiles::FontsFolder(), home.path() + QStringLiteral("/.local/share/fonts"));
    qputenv("HOME", oldHome);
}
