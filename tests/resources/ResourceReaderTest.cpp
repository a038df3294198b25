// The resource reader: every carried resource is found by its id and type
// name, nothing else is, and the embedded files really reach an executable
// that links the resources library.

#include "platform/ResourceReader.h"

#include <QFile>
#include <QImage>
#include <QString>
#include <gtest/gtest.h>

#include <string_view>
#include <tuple>

using namespace std::string_view_literals;

namespace {

struct RawCase {
    int id;
    const char* type;
    std::string_view signature; // the first bytes of the file
};

class CarriedResource : public ::testing::TestWithParam<RawCase> {};

TEST_P(CarriedResource, IsFoundByIdAndTypeWithItsFileSignature) {
    const RawCase& c = GetParam();
    const QByteArray data = platform::LoadResData(c.id, QString::fromLatin1(c.type));
    ASSERT_FALSE(data.isEmpty());
    EXPECT_EQ(data.left(qsizetype(c.signature.size())),
              QByteArray(c.signature.data(), qsizetype(c.signature.size())))
        << c.type << " " << c.id;
}

TEST_P(CarriedResource, GivesTheSameBytesEveryTime) {
    const RawCase& c = GetParam();
    EXPECT_EQ(platform::LoadResData(c.id, QString::fromLatin1(c.type)),
              platform::LoadResData(c.id, QString::fromLatin1(c.type)));
}

INSTANTIATE_TEST_SUITE_P(
    ResourceReader, CarriedResource,
    ::testing::Values(RawCase{100, "WAVE", "RIFF"sv}, RawCase{101, "WAVE", "RIFF"sv},
                      RawCase{102, "WAVE", "RIFF"sv}, RawCase{103, "WAVE", "RIFF"sv},
                      // TrueType's version tag 1.0
                      RawCase{100, "BIN", "\0\1\0\0"sv}, RawCase{101, "BIN", "ITSF"sv}));

TEST(ResourceReader, EachIdOfATypeIsADifferentResource) {
    for (int a = 100; a <= 103; ++a) {
        for (int b = a + 1; b <= 103; ++b) {
            EXPECT_NE(platform::LoadResData(a, QStringLiteral("WAVE")),
                      platform::LoadResData(b, QStringLiteral("WAVE")))
                << a << " " << b;
        }
    }
    EXPECT_NE(platform::LoadResData(100, QStringLiteral("BIN")),
              platform::LoadResData(101, QStringLiteral("BIN")));
}

class UnknownResource : public ::testing::TestWithParam<std::tuple<int, const char*>> {};

TEST_P(UnknownResource, GivesEmptyData) {
    const auto [id, type] = GetParam();
    EXPECT_TRUE(platform::LoadResData(id, QString::fromLatin1(type)).isEmpty())
        << type << " " << id;
}

INSTANTIATE_TEST_SUITE_P(ResourceReader, UnknownResource,
                         ::testing::Values(std::tuple{99, "WAVE"}, std::tuple{104, "WAVE"},
                                           std::tuple{0, "WAVE"}, std::tuple{-100, "WAVE"},
                                           std::tuple{102, "BIN"}, std::tuple{99, "BIN"},
                                           std::tuple{100, "wave"}, std::tuple{100, "Bin"},
                                           std::tuple{100, "WAVE "}, std::tuple{100, ""},
                                           std::tuple{100, "ICON"}, std::tuple{101, "CURSOR"}));

TEST(ResourceReader, EmbeddedFilesReachTheLinkingExecutable) {
    // The resources are built into a static library; this executable only
    // links it, so the files are there only if their registration survived
    // the static link.
    for (const char* path : {":/font/LCDFont.ttf", ":/help/Vantorel.chm", ":/sounds/shot.wav",
                             ":/pictures/target.png", ":/pictures/hand_cursor.png"}) {
        EXPECT_TRUE(QFile::exists(QString::fromLatin1(path))) << path;
    }
}

struct PictureCase {
    platform::Picture picture;
    int width;
    int height;
};

class WindowPicture : public ::testing::TestWithParam<PictureCase> {};

TEST_P(WindowPicture, HasItsSize) {
    const PictureCase& c = GetParam();
    const QPixmap pixmap = platform::LoadResPicture(c.picture);
    ASSERT_FALSE(pixmap.isNull());
    EXPECT_EQ(pixmap.width(), c.width);
    EXPECT_EQ(pixmap.height(), c.height);
}

INSTANTIATE_TEST_SUITE_P(ResourceReader, WindowPicture,
                         ::testing::Values(PictureCase{platform::Picture::Background, 650, 459},
                                           PictureCase{platform::Picture::Target, 400, 400},
                                           PictureCase{platform::Picture::Icon, 32, 32},
                                           PictureCase{platform::Picture::AboutPistol, 225, 132}));

TEST(HandCursor, Is32By32WithItsHotSpotOnTheFingerTip) {
    const QCursor cursor = platform::LoadHandCursor();
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), QPoint(12, 9));
    const QImage image = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(32, 32));
    // The hot spot is on the hand, just inside the outline of the tip; the
    // pixel above it is the outline itself and the one above that is clear.
    EXPECT_EQ(image.pixel(12, 9), qRgba(255, 255, 255, 255));
    EXPECT_EQ(image.pixel(12, 8), qRgba(0, 0, 0, 255));
    EXPECT_EQ(qAlpha(image.pixel(12, 7)), 0);
}

TEST(HandCursor, IsMonochrome) {
    const QImage image =
        platform::LoadHandCursor().pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    int black = 0;
    int white = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) == 0) {
                continue;
            }
            ASSERT_EQ(qAlpha(p), 255) << x << "," << y;
            const bool isBlack = (p & 0xffffff) == 0;
            const bool isWhite = (p & 0xffffff) == 0xffffff;
            ASSERT_TRUE(isBlack || isWhite) << x << "," << y;
            (isBlack ? black : white) += 1;
        }
    }
    EXPECT_GT(black, 50);
    EXPECT_GT(white, 100);
}

} // namespace
