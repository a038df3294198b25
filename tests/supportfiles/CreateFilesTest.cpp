// Writing out the display font and the help file: first and later starts,
// files or links already in place, folders that cannot be written, short
// writes, and opening the help file.

#include "support/CreateFiles.h"
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

struct SupportFile {
    const char* fileName;
    int resource;
    void (*start)(); // what a start of the program, or "Help Topics", does
};
void PrintTo(const SupportFile& f, std::ostream* os) {
    *os << f.fileName;
}

class SupportFiles : public ::testing::TestWithParam<SupportFile> {
protected:
    void SetUp() override {
        QFontDatabase::removeAllApplicationFonts();
        ASSERT_FALSE(lcdKnown()) << "this machine knows LCD2 already; the test cannot tell "
                                    "whether the program registered it";
        platform::setOpenHandler([this](const QString& target, bool isFile) {
            opened.append(isFile ? target : QStringLiteral("address ") + target);
            return true;
        });
    }
    void TearDown() override {
        platform::NewFile::setWriteLimitForTesting(-1);
        platform::setOpenHandler({});
        QFontDatabase::removeAllApplicationFonts();
    }
    bool isFont() const { return GetParam().resource == 100; }
    QString file() const {
        return (isFont() ? CreateFiles::FontsFolder() : CreateFiles::WindowsFolder()) + u'/' +
               QLatin1String(GetParam().fileName);
    }
    // The help file is asked to open on every "Help Topics", written or not.
    QStringList opensExpected(qsizetype times) const {
        return isFont() ? QStringList() : QStringList(times, file());
    }

    testsupport::ScratchHome home;
    testsupport::MessageRecorder messages;
    QStringList opened;
    const QByteArray bytes = platform::LoadResData(GetParam().resource, QStringLiteral("BIN"));
};
} // namespace

TEST_P(SupportFiles, FirstStartWritesItWholeAndLaterStartsLeaveItAlone) {
    ASSERT_FALSE(bytes.isEmpty());
    GetParam().start(); // its folder does not exist yet
    EXPECT_EQ(readAll(file()), bytes);
    EXPECT_EQ(lcdKnown(), isFont());
    QFontDatabase::removeAllApplicationFonts(); // as in a fresh run
    const QDateTime written = QFileInfo(file()).lastModified();
    QFile::setPermissions(file(), QFile::ReadOwner); // any write attempt would show
    GetParam().start();
    GetParam().start();
    EXPECT_EQ(QFileInfo(file()).lastModified(), written);
    EXPECT_EQ(readAll(file()), bytes);
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(lcdKnown(), isFont()) << "the font in place is used on later starts too";
    EXPECT_EQ(opened, opensExpected(3));
}

// An exclusive create: what stands there is never replaced, reported,
// followed or read.
TEST_P(SupportFiles, WhatStandsInItsPlaceIsKept) {
    writeFile(file(), "not ours");
    GetParam().start();
    EXPECT_EQ(readAll(file()), QByteArray("not ours"));

    QFile::remove(file());
    const QString target = home.path() + QStringLiteral("/elsewhere");
    ASSERT_TRUE(QFile::link(target, file())); // dangling: writing through it would create
    GetParam().start();
    EXPECT_FALSE(QFileInfo::exists(target));
    writeFile(target, bytes); // a real file behind the link: still not read
    GetParam().start();
    EXPECT_TRUE(QFileInfo(file()).isSymLink());
    EXPECT_FALSE(lcdKnown());
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(opened, opensExpected(3));
}

TEST_P(SupportFiles, FolderThatCannotBeWrittenIsSilent) {
    const QString folder = QFileInfo(file()).absolutePath();
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    const bool readOnly = !QFileInfo(folder).isWritable(); // root writes anyway
    if (readOnly)
        GetParam().start();
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(QFileInfo::exists(file()));
    // A data folder that can never be made: it would lie inside a file.
    writeFile(home.path() + QStringLiteral("/plain-file"), "x");
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/plain-file/data")).toLocal8Bit());
    GetParam().start();
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(file()).absolutePath()));
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_FALSE(lcdKnown());
    if (!isFont()) {
        EXPECT_EQ(opened.last(), file());
    }
}

TEST_P(SupportFiles, ShortWriteIsReportedAndTheNextStartWritesItWhole) {
    platform::NewFile::setWriteLimitForTesting(bytes.size() - 1);
    GetParam().start();
    ASSERT_EQ(messages.shown().size(), 1);
    const platform::MessageRequest& shown = messages.shown()[0];
    EXPECT_EQ(shown.text, QStringLiteral("Error creating ") + QLatin1String(GetParam().fileName));
    EXPECT_TRUE(shown.title.isEmpty());
    EXPECT_EQ(shown.buttons, platform::MessageButtons::Ok);
    EXPECT_EQ(shown.icon, platform::MessageIcon::None);
    EXPECT_FALSE(QFileInfo::exists(file())) << "no damaged file is kept";
    EXPECT_FALSE(lcdKnown());

    platform::NewFile::setWriteLimitForTesting(-1);
    GetParam().start();
    EXPECT_EQ(readAll(file()), bytes);
    EXPECT_EQ(lcdKnown(), isFont());
    EXPECT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(opened, opensExpected(2));
}

INSTANTIATE_TEST_SUITE_P(
    Each, SupportFiles,
    ::testing::Values(SupportFile{"LCDFont.ttf", 100, CreateFiles::InstallFont},
                      SupportFile{"Vantorel.chm", 101, CreateFiles::OpenHelp}),
    [](const auto& info) { return info.param.resource == 100 ? "Font" : "Help"; });

// The folders are read afresh at every call, and a relative or missing
// XDG_DATA_HOME falls back to the home's own.
TEST(SupportFolders, FollowTheDataFolder) {
    const testsupport::ScratchHome home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    const QString fallback = home.path() + QStringLiteral("/.local/share");
    const std::pair<const char*, QString> rows[] = {
        {"/somewhere/else", QStringLiteral("/somewhere/else")},
        {"relative/data", fallback},
        {nullptr, fallback},
    };
    for (const auto& [value, folder] : rows) {
        SCOPED_TRACE(value ? value : "unset");
        value ? qputenv("XDG_DATA_HOME", value) : qunsetenv("XDG_DATA_HOME");
        EXPECT_EQ(CreateFiles::WindowsFolder(), folder);
        EXPECT_EQ(CreateFiles::FontsFolder(), folder + QStringLiteral("/fonts"));
    }
    qputenv("HOME", oldHome);
}
