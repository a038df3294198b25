// Help Topics without a viewer for the help file: the same pages are written
// beside it and shown in the web browser; with neither, a message names the
// file. A link standing for the pages' folder is never followed.

#include "platform/ResourceReader.h"
#include "platform/SeamGuard.h"
#include "platform/Shell.h"
#include "support/CreateFiles.h"
#include "tests/testsupport/MessageRecorder.h"
#include "tests/testsupport/ScratchHome.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

TEST(HelpPages, OpenInTheBrowserWhereTheHelpFileCannot) {
    const testsupport::ScratchHome home;
    testsupport::MessageRecorder messages;
    QStringList opened;
    bool browser = true; // there is never a viewer for the help file
    const platform::SeamGuard<platform::OpenHandler> shell{
        platform::setOpenHandler, [&](const QString& target, bool) {
            opened.append(target);
            return browser && !target.endsWith(".chm");
        }};
    const QString helpFile = home.dataFolder() + "/Vantorel.chm";
    const QString pages = home.dataFolder() + "/Vantorel-help/";
    ASSERT_TRUE(QDir().mkpath(pages));
    QFile kept(pages + "help.css"); // an earlier page stays as it is
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly) && kept.write("kept") == 4);
    kept.close();

    CreateFiles::OpenHelp();
    EXPECT_EQ(opened, QStringList({helpFile, pages + "Overview.htm"}));
    const std::vector<platform::HelpPage> carried = platform::LoadHelpPages();
    const QByteArray helpFileData = platform::LoadResData(101, "BIN");
    ASSERT_FALSE(carried.empty());
    for (const platform::HelpPage& page : carried) {
        QFile file(pages + page.name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page.name.toStdString();
        EXPECT_EQ(file.readAll(), page.name == "help.css" ? "kept" : page.data);
        EXPECT_TRUE(helpFileData.contains("/" + page.name.toLatin1())) << "one source for both";
    }

    browser = false;
    ASSERT_TRUE(QDir(pages).removeRecursively());
    const QString elsewhere = home.path() + "/elsewhere";
    ASSERT_TRUE(QFile::link(elsewhere, pages.chopped(1))); // dangling
    CreateFiles::OpenHelp();
    EXPECT_FALSE(QFile::exists(elsewhere)) << "nothing written through the link";
    EXPECT_EQ(opened.size(), 3) << "no pages to open";
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown()[0].text.endsWith(helpFile))
        << messages.shown()[0].text.toStdString();
}

} // namespace
