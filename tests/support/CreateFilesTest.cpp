// Writing out the display font and the help file: first and later starts,
// files or links already in place, folders that cannot be made, short
// writes, and opening the help pages in the web browser, or the help file.

#include "support/CreateFiles.h"
#include "platform/NewFile.h"
#include "platform/ResourceReader.h"
#include "platform/SeamGuard.h"
#include "platform/Shell.h"
#include "tests/fixtures/MessageRecorder.h"
#include "tests/fixtures/ScratchHome.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QRegularExpression>
#include <QThread>
#include <QUrl>
#include <gtest/gtest.h>

namespace {
using fixtures::readFile;
using fixtures::writeFile;

// A private home whose shell opens what it is given, unless told otherwise.
class SupportFolder : public ::testing::Test {
protected:
    fixtures::ScratchHome home;
    fixtures::MessageRecorder messages;
    QStringList opened;
    bool helpViewer = true, browser = true;
    const platform::SeamGuard<platform::OpenHandler> shell{
        platform::setOpenHandler, [this](const QString& target, bool) {
            opened.append(target);
            return target.endsWith(".chm") ? helpViewer : browser;
        }};
};

// The font (true): what every start does. The help file (false): what every
// "Help Topics" does.
class SupportFiles : public SupportFolder, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        ASSERT_FALSE(QFontDatabase::families().contains("LCD2"))
            << "this machine knows LCD2 already";
    }
    void TearDown() override { QFontDatabase::removeAllApplicationFonts(); }
    bool isFont() const { return GetParam(); }
    void start() const { isFont() ? CreateFiles::InstallFont() : CreateFiles::OpenHelp(); }
    QString name() const { return isFont() ? "LCDFont.ttf" : "Vantorel.chm"; }
    QString path(const QString& data) const { return data + (isFont() ? "/fonts/" : "/") + name(); }
    QString file() const { return path(home.dataFolder()); }
    QString startPage() const { return home.dataFolder() + "/Vantorel-help/Overview.htm"; }
    // The font is registered for this run; the help's pages are asked to
    // open in the browser every time, whether the help file could be
    // written or not.
    void expectInUse(bool fontKnown, const QStringList& helpOpens) {
        EXPECT_EQ(QFontDatabase::families().contains("LCD2"), isFont() && fontKnown);
        EXPECT_EQ(opened, isFont() ? QStringList() : helpOpens);
    }

    const QByteArray bytes = platform::resourceData(isFont() ? 100 : 101, "BIN");
};
} // namespace

// The first start (whose folder does not exist yet) is cut short: reported,
// and the damaged file is not kept, so the next start writes it whole. Later
// starts leave it be and use it.
TEST_P(SupportFiles, ShortWriteIsRemovedThenWrittenWholeOnceAndKept) {
    ASSERT_FALSE(bytes.isEmpty());
    {
        const platform::SeamGuard fullDisk(platform::NewFile::setWriteLimitForTesting,
                                           bytes.size() - 1);
        start();
    }
    ASSERT_EQ(messages.shown().size(), 1);
    const platform::MessageRequest box = messages.shown()[0]; // plain, OK, the program's title
    EXPECT_TRUE(box.text == "Error creating " + name() && box.title.isEmpty() &&
                box.buttons == platform::MessageButtons::Ok &&
                box.icon == platform::MessageIcon::None);
    EXPECT_FALSE(QFileInfo::exists(file()));
    expectInUse(false, {startPage()});
    start();
    EXPECT_EQ(readFile(file()), bytes);
    expectInUse(true, {startPage(), startPage()});
    QFontDatabase::removeAllApplicationFonts(); // as in a fresh run
    const QDateTime written = QFileInfo(file()).lastModified();
    start();
    start();
    EXPECT_TRUE(QFileInfo(file()).lastModified() == written && readFile(file()) == bytes);
    EXPECT_EQ(messages.shown().size(), 1);
    expectInUse(true, {startPage(), startPage(), startPage(), startPage()});
}

// An exclusive create: a file, a link, or a folder that cannot be made is
// never replaced, reported, followed or read.
TEST_P(SupportFiles, WhatStandsInTheWayIsKept) {
    ASSERT_TRUE(writeFile(file(), "not ours"));
    start();
    EXPECT_EQ(readFile(file()), QByteArray("not ours"));
    QFile::remove(file());
    const QString target = home.path() + "/elsewhere";
    ASSERT_TRUE(QFile::link(target, file())); // dangling: writing through it would create
    start();
    EXPECT_FALSE(QFileInfo::exists(target));
    ASSERT_TRUE(writeFile(target, bytes)); // a real file behind the link: still not read
    start();
    EXPECT_TRUE(QFileInfo(file()).isSymLink());
    // Nothing can be written inside a file: said once for the help, which
    // hands over no file that is not there (the font is silent).
    qputenv("XDG_DATA_HOME", (target + "/data").toLocal8Bit());
    start();
    expectInUse(false, {startPage(), startPage(), startPage()});
    if (isFont()) {
        EXPECT_TRUE(messages.shown().isEmpty());
    } else {
        ASSERT_EQ(messages.shown().size(), 1);
        EXPECT_EQ(messages.shown()[0].text, "The help pages could not be written to " + target +
                                                "/data/Vantorel-help: Not a directory.");
    }
}

INSTANTIATE_TEST_SUITE_P(Each, SupportFiles, ::testing::Bool(),
                         [](const auto& file) { return file.param ? "Font" : "Help"; });

// A relative or missing XDG_DATA_HOME means the home's own. Only names are
// asked for: the real home is not touched.
TEST(SupportFolders, FallBackToTheHomesOwn) {
    const fixtures::ScratchHome home; // puts XDG_DATA_HOME back afterwards
    qputenv("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(CreateFiles::WindowsFolder(), QDir::homePath() + "/.local/share");
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(CreateFiles::FontsFolder(), QDir::homePath() + "/.local/share/fonts");
}

// Help Topics writes the pages beside the help file and shows them in the
// web browser, even where a viewer for the help file is installed; the help
// file only where there is no browser and a viewer is the default for it;
// with neither, a message names both. A link standing for the pages' folder
// is never followed, and said.
using HelpPages = SupportFolder;

TEST_F(HelpPages, OpenInTheBrowserFirstAndTheHelpFileOnlyWithItsViewer) {
    const QString helpFile = home.dataFolder() + "/Vantorel.chm";
    const QString pages = home.dataFolder() + "/Vantorel-help/";
    ASSERT_TRUE(writeFile(pages + "help.css", "kept")); // an earlier page stays as it is

    CreateFiles::OpenHelp();
    EXPECT_EQ(opened, QStringList(pages + "Overview.htm"));
    const std::vector<platform::HelpPage> carried = platform::helpPages();
    const QByteArray helpFileData = platform::resourceData(101, "BIN");
    ASSERT_FALSE(carried.empty());
    for (const platform::HelpPage& page : carried) {
        EXPECT_EQ(readFile(pages + page.name), page.name == "help.css" ? "kept" : page.data)
            << page.name.toStdString();
        EXPECT_TRUE(helpFileData.contains("/" + page.name.toLatin1())) << "one source for both";
    }
    EXPECT_TRUE(readFile(helpFile) == helpFileData && messages.shown().isEmpty());

    browser = false; // the help file's viewer, then neither
    CreateFiles::OpenHelp();
    EXPECT_EQ(opened.mid(1), QStringList({pages + "Overview.htm", helpFile}));
    EXPECT_TRUE(messages.shown().isEmpty());
    helpViewer = false;
    CreateFiles::OpenHelp();
    EXPECT_EQ(opened.mid(3), QStringList({pages + "Overview.htm", helpFile}));
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text,
              "No program to show the help was found.\nInstall a web browser and xdg-utils, or "
              "a viewer for Compiled HTML Help.\nThe help pages start at " +
                  pages + "Overview.htm\nThe help file is " + helpFile);

    ASSERT_TRUE(QDir(pages).removeRecursively());
    const QString elsewhere = home.path() + "/elsewhere";
    ASSERT_TRUE(QFile::link(elsewhere, pages.chopped(1))); // dangling
    CreateFiles::OpenHelp();
    EXPECT_FALSE(QFile::exists(elsewhere)) << "nothing written through the link";
    EXPECT_EQ(opened.mid(5), QStringList(helpFile)) << "no pages to open";
    ASSERT_EQ(messages.shown().size(), 2);
    EXPECT_EQ(messages.shown()[1].text, "The help pages could not be written to " +
                                            pages.chopped(1) +
                                            ": a symbolic link stands in its place.");
    helpViewer = true; // the help file's viewer needs no pages
    CreateFiles::OpenHelp();
    EXPECT_EQ(opened.mid(6), QStringList(helpFile));
    EXPECT_EQ(messages.shown().size(), 2);
}

// The pages as a browser reads them: every link and picture of every page,
// the printable targets included, is a page written beside it.
TEST_F(HelpPages, EveryLinkOfThePagesLeadsToAWrittenFile) {
    CreateFiles::OpenHelp();
    const QString pages = home.dataFolder() + "/Vantorel-help/";
    const QRegularExpression reference(R"re((?:href|src)\s*=\s*"([^"]*)")re",
                                       QRegularExpression::CaseInsensitiveOption);
    QStringList pdfs;
    int links = 0;
    for (const QString& name : QDir(pages).entryList({"*.htm"}, QDir::Files)) {
        const QUrl page = QUrl::fromLocalFile(pages + name);
        auto matches = reference.globalMatch(QString::fromUtf8(readFile(pages + name)));
        while (matches.hasNext()) {
            const QUrl link = page.resolved(QUrl(matches.next().captured(1)));
            ++links;
            ASSERT_TRUE(link.isLocalFile()) << link.toString().toStdString();
            const QString target = link.toLocalFile();
            EXPECT_TRUE(QFileInfo(target).isFile() &&
                        QFileInfo(target).absolutePath() == QFileInfo(pages).absolutePath())
                << name.toStdString() << ": " << link.toString().toStdString();
            if (target.endsWith(".pdf"))
                pdfs << QFileInfo(target).fileName();
        }
    }
    EXPECT_GT(links, 10);
    EXPECT_EQ(pdfs, QStringList({"Target-A4.pdf", "Target-Letter.pdf"}));
    for (const QString& pdf : pdfs)
        EXPECT_TRUE(readFile(pages + pdf).startsWith("%PDF-")) << pdf.toStdString();
}

// Help Topics with a data folder nothing can be written into: it says that
// the pages could not be written, where and why, instead of that no viewer
// was found, and hands the desktop no file that is not there.
TEST_F(HelpPages, WithoutAWritableDataFolderSayWhyTheyCannotBeWritten) {
    ASSERT_TRUE(writeFile(home.path() + "/file", "a file, not a folder"));
    qputenv("XDG_DATA_HOME", (home.path() + "/file/data").toLocal8Bit());
    CreateFiles::OpenHelp();
    EXPECT_EQ(opened, QStringList());
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text, "The help pages could not be written to " + home.path() +
                                            "/file/data/Vantorel-help: Not a directory.");
}

// The desktop is asked for a viewer beside the event loop: however long it
// takes to answer, the window goes on, and what follows from the answer
// comes after it. A stand-in xdg-mime notes what it is asked and answers
// "no program" only once the test lets it; the message then says so.
TEST(HelpTopics, AskTheDesktopWithoutHoldingTheWindow) {
    const fixtures::ScratchHome home;
    const fixtures::MessageRecorder messages;
    const QString bin = home.path() + "/bin";
    const QString gate = home.path() + "/answer-now";
    const QString asked = home.path() + "/asked";
    ASSERT_TRUE(
        writeFile(bin + "/xdg-mime", QStringLiteral("#!/bin/sh\necho \"$3\" >> '%2'\nn=0\n"
                                                    "while [ ! -e '%1' ] && [ $n -lt 1200 ]; "
                                                    "do sleep 0.05; n=$((n+1)); done\n")
                                         .arg(gate, asked)
                                         .toUtf8()));
    ASSERT_TRUE(QFile::setPermissions(bin + "/xdg-mime", QFile::ReadOwner | QFile::ExeOwner));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin) + ':' + path);

    CreateFiles::OpenHelp(); // returns while the desktop still thinks
    EXPECT_TRUE(messages.shown().isEmpty()) << "answered before the desktop did";
    ASSERT_TRUE(writeFile(gate, {}));
    for (int wait = 0; wait < 3000 && messages.shown().isEmpty(); ++wait) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    qputenv("PATH", path);
    EXPECT_EQ(readFile(asked), "text/html\napplication/vnd.ms-htmlhelp\n"); // the browser first
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown()[0].text.startsWith("No program to show the help was found."));
}
