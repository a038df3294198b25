// The resource reader: every carried resource is found by its id and type
// name, each is its own, and nothing else is found.

#include "platform/ResourceReader.h"

#include <QImage>
#include <gtest/gtest.h>

#include <string_view>

using namespace std::string_view_literals;

TEST(ResourceReader, FindsEachCarriedResourceWithItsFileSignature) {
    const struct {
        int id;
        const char* type;
        std::string_view signature;
    } rows[] = {{100, "WAVE", "RIFF"sv}, {101, "WAVE", "RIFF"sv},    {102, "WAVE", "RIFF"sv},
                {103, "WAVE", "RIFF"sv}, {100, "BIN", "\0\1\0\0"sv}, // TrueType 1.0
                {101, "BIN", "ITSF"sv}};
    QList<QByteArray> seen;
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.type) + " " + std::to_string(row.id));
        const QByteArray data = platform::LoadResData(row.id, QLatin1String(row.type));
        EXPECT_TRUE(data.startsWith(QByteArrayView(row.signature.data(), row.signature.size())));
        EXPECT_FALSE(seen.contains(data)) << "the same bytes as another id";
        seen.append(data);
    }
}

TEST(ResourceReader, GivesNothingForUnknownIdsAndTypes) {
    const std::pair<int, const char*> rows[] = {{99, "WAVE"},   {104, "WAVE"}, {0, "WAVE"},
                                                {-100, "WAVE"}, {102, "BIN"},  {99, "BIN"},
                                                {100, "wave"},  {100, "Bin"},  {100, "WAVE "},
                                                {100, ""},      {100, "ICON"}, {101, "CURSOR"}};
    for (const auto& [id, type] : rows)
        EXPECT_TRUE(platform::LoadResData(id, QLatin1String(type)).isEmpty()) << type << " " << id;
}

TEST(ResourceReader, PicturesHaveTheirSizes) {
    using platform::Picture;
    const std::pair<Picture, QSize> rows[] = {{Picture::Background, {650, 459}},
                                              {Picture::Target, {400, 400}},
                                              {Picture::Icon, {32, 32}},
                                              {Picture::AboutPistol, {225, 132}}};
    for (const auto& [picture, size] : rows)
        EXPECT_EQ(platform::LoadResPicture(picture).size(), size) << int(picture);
}

// A black and white hand, 32 x 32, whose hot spot lies just inside the
// outline of the finger tip: the pixel above it is the outline, the one
// above that is clear.
TEST(ResourceReader, HandCursorPointsWithItsFingerTip) {
    const QCursor cursor = platform::LoadHandCursor();
    EXPECT_EQ(cursor.hotSpot(), QPoint(12, 9));
    const QImage image = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(32, 32));
    EXPECT_EQ(image.pixel(12, 9), qRgba(255, 255, 255, 255));
    EXPECT_EQ(image.pixel(12, 8), qRgba(0, 0, 0, 255));
    EXPECT_EQ(qAlpha(image.pixel(12, 7)), 0);
    int counts[2] = {0, 0}; // black, white
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) == 0)
                continue;
            ASSERT_TRUE(p == qRgb(0, 0, 0) || p == qRgb(255, 255, 255)) << x << "," << y;
            ++counts[p == qRgb(0, 0, 0) ? 0 : 1];
        }
    }
    EXPECT_GT(counts[0], 50);
    EXPECT_GT(counts[1], 100);
}
