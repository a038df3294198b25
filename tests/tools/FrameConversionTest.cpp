// The picture conversion the replay tool (and the camera) use: the 4:3
// centre crop, the scaling, and the blue-green-red rows, bottom-up or not.

#include "platform/FrameConversion.h"

#include <QImage>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

TEST(FrameConversion, CentreCropKeepsTheMiddle43) {
    const std::pair<QSize, QRect> rows[] = {
        {{160, 120}, {0, 0, 160, 120}},
        {{1280, 720}, {160, 0, 960, 720}},
        {{120, 120}, {0, 15, 120, 90}},
        {{100, 200}, {0, 62, 100, 75}},
        {{1, 1}, {0, 0, 1, 1}},
        {{0, 120}, {}},
        {{160, -1}, {}},
    };
    for (const auto& [size, crop] : rows)
        EXPECT_EQ(platform::centreCrop43(size.width(), size.height()), crop) << size.width();
}

TEST(FrameConversion, RowsAreBlueGreenRedBottomUpUnlessTheHeightIsNegative) {
    // 320 x 120: the middle 160 x 120 is kept, the white sides go.
    QImage picture(320, 120, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 0; y < 120; ++y)
        for (int x = 80; x < 240; ++x)
            picture.setPixel(x, y, qRgb(0, 0, 0));
    picture.setPixel(80, 0, qRgb(10, 20, 30));    // top left of the kept part
    picture.setPixel(239, 119, qRgb(40, 50, 60)); // its bottom right
    std::vector<std::uint8_t> out;
    platform::convertImage(picture, platform::OutputFormat{}, out);
    ASSERT_EQ(out.size(), 57600U);
    // The top row is last in memory (from byte 119 x 480), the bottom row first.
    EXPECT_EQ(std::vector(out.begin() + 57120, out.begin() + 57123),
              (std::vector<std::uint8_t>{30, 20, 10}));
    EXPECT_EQ(std::vector(out.begin() + 477, out.begin() + 480),
              (std::vector<std::uint8_t>{60, 50, 40}));
    EXPECT_EQ(out[3], 0); // no white side left

    platform::convertImage(picture, platform::OutputFormat{160, -120, 32}, out);
    ASSERT_EQ(out.size(), 160U * 4U * 120U);
    EXPECT_EQ(std::vector(out.begin(), out.begin() + 4),
              (std::vector<std::uint8_t>{30, 20, 10, 0}));
}

TEST(FrameConversion, OddWidthsArePaddedAndANullPictureIsBlack) {
    EXPECT_EQ((platform::OutputFormat{7, 3, 24}.rowBytes()), 24U);
    EXPECT_EQ((platform::OutputFormat{7, 3, 24}.frameBytes()), 72U);
    std::vector<std::uint8_t> out(5, 9);
    platform::convertImage(QImage(), platform::OutputFormat{}, out);
    ASSERT_EQ(out.size(), 57600U);
    EXPECT_EQ(std::count(out.begin(), out.end(), 0), 57600);
}

} // namespace
