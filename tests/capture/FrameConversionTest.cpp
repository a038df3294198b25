// The picture conversion the replay tool (and the camera) use: the 4:3
// centre crop, the scaling, and the blue-green-red rows, bottom-up or not.

#include "capture/service/FrameConversion.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(FrameConversion, CropsTo43AndWritesBlueGreenRedRowsBottomUpUnlessTheHeightIsNegative) {
    // clang-format off
    const std::pair<QSize, QRect> rows[] = {
        {{160, 120}, {0, 0, 160, 120}}, {{1280, 720}, {160, 0, 960, 720}}, {{120, 120}, {0, 15, 120, 90}},
        {{100, 200}, {0, 62, 100, 75}}, {{1, 1}, {0, 0, 1, 1}}, {{0, 120}, {}}, {{160, -1}, {}}};
    // clang-format on
    for (const auto& [size, crop] : rows)
        EXPECT_EQ(platform::centreCrop43(size.width(), size.height()), crop) << size.width();
    // 320 x 120: the middle 160 x 120 is kept, the white sides go; the top row
    // is last in memory unless the height is negative. Odd widths are padded,
    // and a null picture is black.
    QImage picture(320, 120, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter(&picture).fillRect(80, 0, 160, 120, Qt::black); // the kept part
    picture.setPixel(80, 0, qRgb(10, 20, 30));               // its top left and bottom right
    picture.setPixel(239, 119, qRgb(40, 50, 60));
    Bytes out;
    platform::convertImage(picture, platform::FrameLayout{}, out);
    ASSERT_EQ(out.size(), 57600U);
    EXPECT_EQ(Bytes(out.begin() + 57120, out.begin() + 57123), (Bytes{30, 20, 10}));
    EXPECT_EQ(Bytes(out.begin() + 477, out.begin() + 480), (Bytes{60, 50, 40}));
    EXPECT_EQ(out[3], 0) << "no white side left";
    platform::convertImage(picture, platform::FrameLayout{160, -120, 32}, out);
    ASSERT_EQ(out.size(), 160U * 4U * 120U);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 4), (Bytes{30, 20, 10, 0}));
    EXPECT_EQ((platform::FrameLayout{7, 3, 24}.frameBytes()), 72U); // rows of 24 bytes
    platform::convertImage(QImage(), platform::FrameLayout{}, out);
    EXPECT_EQ(out, Bytes(57600, 0));
}

} // namespace
