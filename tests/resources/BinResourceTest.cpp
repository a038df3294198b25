// The files carried as BIN: the display face (100), which Qt reads back as
// family "LCD2", style Bold, and the help file (101), Compiled HTML Help
// "ITSF" version 3 with its pages, pictures, printable targets, window
// title and default page.

#include "platform/ResourceReader.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainterPath>
#include <QRawFont>
#include <gtest/gtest.h>

// A segmented face: every digit lights another set of segments; lower-case
// letters are the capitals' glyphs.
TEST(DisplayFont, IsBoldLcd2WithTheGlyphsTheProgramShows) {
    const QByteArray data = platform::LoadResData(100, QStringLiteral("BIN"));
    const int id = QFontDatabase::addApplicationFontFromData(data);
    ASSERT_GE(id, 0) << "Qt does not accept the font";
    EXPECT_EQ(QFontDatabase::applicationFontFamilies(id), QStringList{QStringLiteral("LCD2")});
    EXPECT_EQ(QFontDatabase::weight(QStringLiteral("LCD2"), QStringLiteral("Bold")), QFont::Bold);
    QFont font(QStringLiteral("LCD2"), 11);
    font.setBold(true);
    EXPECT_TRUE(QFontInfo(font).family() == QStringLiteral("LCD2") && QFontInfo(font).bold());
    const QFontMetrics metrics(font);
    for (const QChar c : QStringLiteral(" -.,:!?'\"/()+=x0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"))
        EXPECT_TRUE(metrics.inFontUcs4(c.unicode())) << "missing '" << c.toLatin1() << "'";
    QFontDatabase::removeApplicationFont(id);
    const QRawFont raw(data, 40);
    const auto glyph = [&raw](char c) {
        return raw.glyphIndexesForString(QString(QChar(c))).value(0);
    };
    QList<QPainterPath> outlines;
    for (char c = '0'; c <= '9'; ++c) {
        outlines.append(raw.pathForGlyph(glyph(c)));
        EXPECT_FALSE(outlines.last().isEmpty() || outlines.indexOf(outlines.last()) < c - '0') << c;
    }
    for (char c = 'a'; c <= 'z'; ++c)
        EXPECT_TRUE(glyph(c) != 0 && glyph(c) == glyph(char(c - 'a' + 'A'))) << c;
}

// Names in the directory, and the #SYSTEM records (code, length, text with
// its terminating zero) of the default page (2) and the window title (3),
// lie uncompressed in the file.
TEST(HelpFile, IsItsfVersion3WithItsPagesTitleAndDefaultPage) {
    const QByteArray help = platform::LoadResData(101, QStringLiteral("BIN"));
    EXPECT_TRUE(help.startsWith(QByteArrayView("ITSF\3\0\0\0", 8)));
    for (const char* name :
         {"/Overview.htm", "/Settings.htm", "/MakeAGun.htm", "/Contents.hhc", "/setup.png",
          "/target.png", "/settings.png", "/circuit.png", "/Target-A4.pdf", "/Target-Letter.pdf"})
        EXPECT_TRUE(help.contains(name)) << name;
    EXPECT_TRUE(help.contains(QByteArrayView("\2\0\15\0Overview.htm\0", 17)));
    EXPECT_TRUE(help.contains(QByteArrayView("\3\0\30\0Quillmere Vantorel Help\0", 28)));
}
