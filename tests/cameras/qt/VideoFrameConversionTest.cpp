// The conversion of camera frames to the capture output format, for every
// pixel layout a camera hands over.

#include "cameras/qt/VideoFrameConversion.h"
#include "tests/cameras/qt/SyntheticCamera.h"

#include <gtest/gtest.h>

using capture::FrameLayout;
using PF = QVideoFrameFormat::PixelFormat;
using Bytes = std::vector<std::uint8_t>;

TEST(VideoFrameConversion, EveryLayoutIsCroppedScaledAndUprightWithItsColours) {
    // 1280 x 720: the 4:3 middle is 960 x 720 from x = 160, six camera pixels
    // to an output pixel. Magenta outside it; red, green, blue and white
    // quarters inside, and a grey dot on output pixel (40, 30).
    const auto wanted = [](int x, int y) { // at an output pixel
        const bool right = x >= 80, bottom = y >= 60;
        return x == 40 && y == 30 ? QColor(128, 128, 128)
                                  : QColor(bottom ? (right ? Qt::white : Qt::blue)
                                                  : (right ? Qt::green : Qt::red));
    };
    const auto picture = [&](int x, int y) {
        return x < 160 || x >= 1120 ? QColor(Qt::magenta) : wanted((x - 160) / 6, y / 6);
    };
    const PF layouts[] = {PF::Format_YUYV,     PF::Format_UYVY,     PF::Format_NV12,
                          PF::Format_NV21,     PF::Format_YUV420P,  PF::Format_YV12,
                          PF::Format_ARGB8888, PF::Format_XRGB8888, PF::Format_BGRA8888,
                          PF::Format_BGRX8888, PF::Format_ABGR8888, PF::Format_XBGR8888,
                          PF::Format_RGBA8888, PF::Format_RGBX8888, PF::Format_AYUV,
                          PF::Format_Y8}; // grey: the level is the colour's green
    for (const PF layout : layouts) {
        // One of them to 32 bits with the rows top-down.
        const FrameLayout format =
            layout == PF::Format_BGRA8888 ? FrameLayout{160, -120, 32} : FrameLayout{};
        SCOPED_TRACE(QVideoFrameFormat::pixelFormatToString(layout).toStdString());
        Bytes out;
        ASSERT_TRUE(qtcamera::convertVideoFrame(
            cameratest::makeFrame({QSize(1280, 720), layout}, picture), format, out));
        ASSERT_EQ(out.size(), format.frameBytes());
        for (int y = 0; y < 120; ++y) {
            for (int x = 0; x < 160; ++x) {
                const std::uint8_t* px = out.data() + format.offset(x, y);
                QColor want = wanted(x, y);
                if (layout == PF::Format_Y8)
                    want = QColor(want.green(), want.green(), want.green());
                const auto off = [&](int i, int v) { return std::abs(px[i] - v) > 3; };
                ASSERT_FALSE(off(2, want.red()) || off(1, want.green()) || off(0, want.blue()) ||
                             (format.bitCount == 32 && px[3] != 0))
                    << x << "," << y << " wanted " << want.name().toStdString();
            }
        }
    }
}

TEST(VideoFrameConversion, EmptyFramesOddDepthsAndShortPlanesAreRefused) {
    Bytes out{1, 2, 3}, packed(std::size_t{64} * 48 * 2, 128);
    qtcamera::MappedPlanes planes{PF::Format_YUYV,
                                  QRect(0, 0, 64, 48),
                                  {packed.data()},
                                  {128},
                                  {packed.size() - 1}}; // one byte short of the picture
    EXPECT_FALSE(qtcamera::convertVideoFrame(QVideoFrame(), {}, out));
    EXPECT_FALSE(qtcamera::convertVideoFrame(cameratest::greyFrame(128, 0), {160, 120, 16}, out));
    EXPECT_FALSE(qtcamera::convertPlanes(planes, {}, out));
    EXPECT_EQ(out, (Bytes{1, 2, 3}));
    planes.size[0] = packed.size();
    EXPECT_TRUE(qtcamera::convertPlanes(planes, {}, out));
}
