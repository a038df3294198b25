// The picture conversion the replay tool (and the camera) use: the 4:3
// centre crop, the scaling, and the blue-green-red bottom-up layout.

#include "platform/FrameConversion.h"

#include <QImage>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

struct CropCase {
    int width;
    int height;
    QRect crop;
};

class CentreCrop : public ::testing::TestWithParam<CropCase> {};

TEST_P(CentreCrop, KeepsTheMiddle43) {
    EXPECT_EQ(platform::centreCrop43(GetParam().width, GetParam().height), GetParam().crop);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CentreCrop,
                         ::testing::Values(CropCase{160, 120, QRect(0, 0, 160, 120)},
                                           CropCase{640, 480, QRect(0, 0, 640, 480)},
                                           CropCase{1280, 720, QRect(160, 0, 960, 720)},
                                           CropCase{120, 120, QRect(0, 15, 120, 90)},
                                           CropCase{100, 200, QRect(0, 62, 100, 75)},
                                           CropCase{1, 1, QRect(0, 0, 1, 1)},
                                           CropCase{0, 120, QRect()}, CropCase{160, -1, QRect()}));

TEST(FrameConversion, SameSizeIsLaidOutBottomUpInBlueGreenRed) {
    QImage picture(160, 120, QImage::Format_RGB888);
    picture.fill(Qt::black);
    picture.setPixel(0, 0, qRgb(10, 20, 30));     // top left
    picture.setPixel(159, 119, qRgb(40, 50, 60)); // bottom right
    std::vector<std::uint8_t> out;
    platform::convertImage(picture, platform::OutputFormat{}, out);
    ASSERT_EQ(out.size(), 57600U);
    // The top row is the last in memory; the bottom row the first.
    EXPECT_EQ(out[119 * 480 + 0], 30);
    EXPECT_EQ(out[119 * 480 + 1], 20);
    EXPECT_EQ(out[119 * 480 + 2], 10);
    EXPECT_EQ(out[159 * 3 + 0], 60);
    EXPECT_EQ(out[159 * 3 + 1], 50);
    EXPECT_EQ(out[159 * 3 + 2], 40);
}

TEST(FrameConversion, TopDownAnd32BitFormats) {
    QImage picture(160, 120, QImage::Format_RGB32);
    picture.fill(Qt::black);
    picture.setPixel(1, 0, qRgb(1, 2, 3));
    std::vector<std::uint8_t> out;
    platform::OutputFormat format;
    format.height = -120;
    format.bitCount = 32;
    platform::convertImage(picture, format, out);
    ASSERT_EQ(out.size(), 160U * 4U * 120U);
    EXPECT_EQ(out[4], 3);
    EXPECT_EQ(out[5], 2);
    EXPECT_EQ(out[6], 1);
    EXPECT_EQ(out[7], 0);
}

TEST(FrameConversion, OddWidthRowsArePadded) {
    platform::OutputFormat format;
    format.width = 7;
    format.height = 3;
    EXPECT_EQ(format.rowBytes(), 24U);
    EXPECT_EQ(format.frameBytes(), 72U);
}

TEST(FrameConversion, WidePictureIsCroppedAndScaled) {
    // 320 x 120: the middle 160 x 120 is kept; the white sides go.
    QImage picture(320, 120, QImage::Format_RGB888);
    picture.fill(Qt::white);
    for (int y = 0; y < 120; ++y)
        for (int x = 80; x < 240; ++x)
            picture.setPixel(x, y, qRgb(0, 0, 200));
    std::vector<std::uint8_t> out;
    platform::convertImage(picture, platform::OutputFormat{}, out);
    ASSERT_EQ(out.size(), 57600U);
    EXPECT_EQ(out[0], 200); // blue first
    EXPECT_EQ(out[2], 0);   // no red: the white side is cut off
    EXPECT_EQ(out[57600 - 3], 200);
}

TEST(FrameConversion, NullPictureGivesABlackFrame) {
    std::vector<std::uint8_t> out(5, 9);
    platform::convertImage(QImage(), platform::OutputFormat{}, out);
    ASSERT_EQ(out.size(), 57600U);
    EXPECT_EQ(std::count(out.begin(), out.end(), 0), 57600);
}

} // namespace
