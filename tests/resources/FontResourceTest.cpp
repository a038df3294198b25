// The display face carried as BIN 100: Qt reads it back as family "LCD2",
// style Bold, with the glyphs the score card and the buttons need.

#include "platform/ResourceReader.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainterPath>
#include <QRawFont>
#include <gtest/gtest.h>

namespace {

class DisplayFont : public ::testing::Test {
protected:
    void SetUp() override {
        data_ = platform::LoadResData(100, QStringLiteral("BIN"));
        ASSERT_FALSE(data_.isEmpty());
        id_ = QFontDatabase::addApplicationFontFromData(data_);
        ASSERT_GE(id_, 0) << "Qt does not accept the font";
    }
    void TearDown() override {
        if (id_ >= 0) {
            QFontDatabase::removeApplicationFont(id_);
        }
    }
    static QFont BoldLcd(int points) {
        QFont font(QStringLiteral("LCD2"), points);
        font.setBold(true);
        return font;
    }

    QByteArray data_;
    int id_ = -1;
};

TEST_F(DisplayFont, IsFamilyLcd2) {
    EXPECT_EQ(QFontDatabase::applicationFontFamilies(id_), QStringList{QStringLiteral("LCD2")});
}

TEST_F(DisplayFont, HasABoldStyle) {
    const QStringList styles = QFontDatabase::styles(QStringLiteral("LCD2"));
    EXPECT_TRUE(styles.contains(QStringLiteral("Bold"))) << styles.join(u',').toStdString();
    EXPECT_TRUE(QFontDatabase::bold(QStringLiteral("LCD2"), QStringLiteral("Bold")));
    EXPECT_EQ(QFontDatabase::weight(QStringLiteral("LCD2"), QStringLiteral("Bold")), QFont::Bold);
}

TEST_F(DisplayFont, IsChosenByNameForTheScoreCardAndTheButton) {
    for (const int points : {11, 14}) {
        const QFontInfo info(BoldLcd(points));
        EXPECT_EQ(info.family(), QStringLiteral("LCD2"));
        EXPECT_TRUE(info.bold());
    }
}

TEST_F(DisplayFont, HasDigitsCapitalsAndTheUsedPunctuation) {
    const QFontMetrics metrics(BoldLcd(11));
    QString needed = QStringLiteral(" -.,:!?'\"/()+=x");
    for (char c = '0'; c <= '9'; ++c) {
        needed += QLatin1Char(c);
    }
    for (char c = 'A'; c <= 'Z'; ++c) {
        needed += QLatin1Char(c);
    }
    for (const QChar c : needed) {
        EXPECT_TRUE(metrics.inFontUcs4(c.unicode())) << "missing '" << c.toLatin1() << "'";
    }
}

TEST_F(DisplayFont, ShowsLowerCaseLettersAsCapitals) {
    const QRawFont raw(data_, 20);
    ASSERT_TRUE(raw.isValid());
    for (char c = 'a'; c <= 'z'; ++c) {
        const QChar pair[2] = {QLatin1Char(c), QLatin1Char(char(c - 'a' + 'A'))};
        const QList<quint32> glyphs = raw.glyphIndexesForString(QString(pair, 2));
        ASSERT_EQ(glyphs.size(), 2);
        EXPECT_NE(glyphs[0], 0u) << c;
        EXPECT_EQ(glyphs[0], glyphs[1]) << c;
    }
}

TEST_F(DisplayFont, DrawsEveryDigitDifferently) {
    // A segmented face: each digit lights another set of segments, so their
    // outlines all differ.
    const QRawFont raw(data_, 40);
    ASSERT_TRUE(raw.isValid());
    QList<QPainterPath> outlines;
    for (char c = '0'; c <= '9'; ++c) {
        const QList<quint32> glyph = raw.glyphIndexesForString(QString(QLatin1Char(c)));
        ASSERT_EQ(glyph.size(), 1);
        const QPainterPath path = raw.pathForGlyph(glyph[0]);
        EXPECT_FALSE(path.isEmpty()) << c;
        for (const QPainterPath& other : outlines) {
            EXPECT_NE(path, other) << c;
        }
        outlines.append(path);
    }
}

} // namespace
