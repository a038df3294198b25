// The conversion of camera frames to the capture output format, for every
// pixel layout a camera hands over.

#include "platform/VideoFrameConversion.h"
#include "SyntheticFrames.h"

#include <QImage>
#include <gtest/gtest.h>

using cameratest::makeFrame;
using cameratest::quadrants;
using platform::convertVideoFrame;
using platform::OutputFormat;
using PF = QVideoFrameFormat::PixelFormat;

namespace {

struct Bgr {
    int b, g, r;
};

// The pixel at (x, y) of the picture, counted from the top left, whatever
// the row order of the buffer.
Bgr pixelAt(const std::vector<std::uint8_t>& out, const OutputFormat& format, int x, int y) {
    const int height = std::abs(format.height);
    const int row = format.height > 0 ? height - 1 - y : y;
    const std::uint8_t* px =
        out.data() + static_cast<std::size_t>(row) * format.rowBytes() +
        static_cast<std::size_t>(x) * static_cast<std::size_t>(format.bitCount / 8);
    return {px[0], px[1], px[2]};
}

::testing::AssertionResult near(Bgr actual, QColor expected, int tolerance = 3) {
    if (std::abs(actual.b - expected.blue()) <= tolerance &&
        std::abs(actual.g - expected.green()) <= tolerance &&
        std::abs(actual.r - expected.red()) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "got b,g,r " << actual.b << "," << actual.g << "," << actual.r << " wanted "
           << expected.blue() << "," << expected.green() << "," << expected.red();
}

std::vector<std::uint8_t> convert(const QVideoFrame& frame, const OutputFormat& format) {
    std::vector<std::uint8_t> out;
    EXPECT_TRUE(convertVideoFrame(frame, format, out));
    EXPECT_EQ(out.size(), format.frameBytes());
    return out;
}

const OutputFormat Default{};

class EveryColourLayout : public ::testing::TestWithParam<PF> {};

} // namespace

TEST_P(EveryColourLayout, QuadrantsKeepTheirColourAndPlaceBottomRowFirst) {
    const QSize size(640, 480);
    const auto out = convert(
        makeFrame(GetParam(), size, [&](int x, int y) { return quadrants(x, y, size); }), Default);
    // The first bytes of the buffer are the picture's bottom row: blue, then white.
    EXPECT_TRUE(near({out[0], out[1], out[2]}, Qt::blue));
    EXPECT_TRUE(near(pixelAt(out, Default, 0, 0), Qt::red));
    EXPECT_TRUE(near(pixelAt(out, Default, 159, 0), Qt::green));
    EXPECT_TRUE(near(pixelAt(out, Default, 0, 119), Qt::blue));
    EXPECT_TRUE(near(pixelAt(out, Default, 159, 119), Qt::white));
    EXPECT_TRUE(near(pixelAt(out, Default, 79, 59), Qt::red));
    EXPECT_TRUE(near(pixelAt(out, Default, 80, 60), Qt::white));
}

TEST_P(EveryColourLayout, WideFramesLoseTheirSidesNotTheirHeight) {
    // 1280 x 720: the 4:3 middle is 960 x 720 from x = 160. Red outside it,
    // green in its first and last six columns (one output pixel each), grey inside.
    const QSize size(1280, 720);
    const auto picture = [](int x, int) {
        if (x < 160 || x >= 1120)
            return QColor(255, 0, 0);
        if (x < 166 || x >= 1114)
            return QColor(0, 255, 0);
        return QColor(128, 128, 128);
    };
    const auto out = convert(makeFrame(GetParam(), size, picture), Default);
    for (int y : {0, 60, 119}) {
        EXPECT_TRUE(near(pixelAt(out, Default, 0, y), Qt::green));
        EXPECT_TRUE(near(pixelAt(out, Default, 159, y), Qt::green));
        for (int x = 1; x < 159; ++x)
            ASSERT_TRUE(near(pixelAt(out, Default, x, y), QColor(128, 128, 128))) << x << "," << y;
    }
}

TEST_P(EveryColourLayout, DotKeepsItsPlaceAfterScaling) {
    // A 6 x 6 dot on the block of output pixel (40, 30) of a 1280 x 720 frame.
    const QSize size(1280, 720);
    const auto picture = [](int x, int y) {
        const bool dot = x >= 160 + 6 * 40 && x < 160 + 6 * 41 && y >= 6 * 30 && y < 6 * 31;
        return dot ? QColor(255, 255, 255) : QColor(16, 16, 16);
    };
    const auto out = convert(makeFrame(GetParam(), size, picture), Default);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x) {
            const bool dot = x == 40 && y == 30;
            ASSERT_TRUE(
                near(pixelAt(out, Default, x, y), dot ? QColor(255, 255, 255) : QColor(16, 16, 16)))
                << x << "," << y;
        }
}

TEST_P(EveryColourLayout, MatchesQtsOwnConversion) {
    const QSize size(320, 240);
    const auto picture = [](int x, int y) {
        return QColor((x * 7) % 256, (y * 5) % 256, (x + y) % 256);
    };
    const QVideoFrame frame = makeFrame(GetParam(), size, picture);
    const OutputFormat format{320, -240, 32}; // no scaling, rows top-down
    const auto out = convert(frame, format);
    const QImage reference = frame.toImage();
    for (int y = 0; y < 240; y += 7)
        for (int x = 0; x < 320; x += 5)
            ASSERT_TRUE(near(pixelAt(out, format, x, y), reference.pixelColor(x, y), 4))
                << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(
    VideoFrameConversion, EveryColourLayout,
    ::testing::Values(PF::Format_YUYV, PF::Format_UYVY, PF::Format_NV12, PF::Format_NV21,
                      PF::Format_YUV420P, PF::Format_YV12, PF::Format_ARGB8888, PF::Format_XRGB8888,
                      PF::Format_BGRA8888, PF::Format_BGRX8888, PF::Format_ABGR8888,
                      PF::Format_XBGR8888, PF::Format_RGBA8888, PF::Format_RGBX8888,
                      PF::Format_AYUV),
    [](const auto& info) {
        return QVideoFrameFormat::pixelFormatToString(info.param).remove(' ').toStdString();
    });

TEST(VideoFrameConversion, GreyCamerasGiveGreyPixels) {
    const QSize size(640, 480);
    const auto out = convert(
        makeFrame(PF::Format_Y8, size, [](int x, int) { return QColor(x / 4, x / 4, x / 4); }),
        Default);
    EXPECT_TRUE(near(pixelAt(out, Default, 0, 5), QColor(0, 0, 0), 0));
    EXPECT_TRUE(near(pixelAt(out, Default, 100, 5), QColor(100, 100, 100), 0));
}

TEST(VideoFrameConversion, ThirtyTwoBitOutputLeavesTheFourthByteZero) {
    const QSize size(640, 480);
    const OutputFormat format{160, 120, 32};
    const auto out = convert(
        makeFrame(PF::Format_BGRA8888, size, [](int, int) { return QColor(10, 20, 30); }), format);
    ASSERT_EQ(out.size(), 160U * 4 * 120);
    EXPECT_EQ(out[0], 30);
    EXPECT_EQ(out[1], 20);
    EXPECT_EQ(out[2], 10);
    EXPECT_EQ(out[3], 0);
}

TEST(VideoFrameConversion, NegativeHeightPutsTheTopRowFirst) {
    const QSize size(640, 480);
    const OutputFormat format{160, -120, 24};
    const auto out = convert(
        makeFrame(PF::Format_XRGB8888, size, [&](int x, int y) { return quadrants(x, y, size); }),
        format);
    EXPECT_TRUE(near({out[0], out[1], out[2]}, Qt::red, 0));
}

TEST(VideoFrameConversion, LargerOutputRepeatsCameraPixels) {
    const QSize size(320, 240);
    const OutputFormat format{640, 480, 24};
    const auto out = convert(
        makeFrame(PF::Format_YUYV, size, [&](int x, int y) { return quadrants(x, y, size); }),
        format);
    EXPECT_TRUE(near(pixelAt(out, format, 319, 239), Qt::red));
    EXPECT_TRUE(near(pixelAt(out, format, 320, 240), Qt::white));
}

TEST(VideoFrameConversion, TallFramesLoseTopAndBottom) {
    // 480 x 480: the 4:3 middle is 480 x 360 from y = 60.
    const QSize size(480, 480);
    const auto picture = [](int, int y) {
        return y < 60 || y >= 420 ? QColor(255, 0, 0) : QColor(0, 0, 255);
    };
    const auto out = convert(makeFrame(PF::Format_RGBX8888, size, picture), Default);
    EXPECT_TRUE(near(pixelAt(out, Default, 80, 0), Qt::blue, 0));
    EXPECT_TRUE(near(pixelAt(out, Default, 80, 119), Qt::blue, 0));
}

TEST(VideoFrameConversion, ViewportLimitsThePicture) {
    // A 640 x 480 picture inside 704 x 480 planes (padding on the right).
    QVideoFrameFormat format(QSize(704, 480), PF::Format_XRGB8888);
    format.setViewport(QRect(0, 0, 640, 480));
    QVideoFrame frame(format);
    ASSERT_TRUE(frame.map(QVideoFrame::WriteOnly));
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 704; ++x) {
            uchar* px =
                frame.bits(0) + std::ptrdiff_t{y} * frame.bytesPerLine(0) + std::ptrdiff_t{x} * 4;
            px[0] = 255;
            px[1] = x < 640 ? 0 : 255; // red outside the viewport
            px[2] = 0;
            px[3] = x < 640 ? 255 : 0;
        }
    frame.unmap();
    const auto out = convert(frame, Default);
    EXPECT_TRUE(near(pixelAt(out, Default, 159, 60), Qt::blue, 0));
}

TEST(VideoFrameConversion, UnreadableFramesAndFormatsAreRefused) {
    std::vector<std::uint8_t> out{1, 2, 3};
    EXPECT_FALSE(convertVideoFrame(QVideoFrame(), Default, out));
    const QVideoFrame frame =
        makeFrame(PF::Format_YUYV, QSize(64, 48), [](int, int) { return Qt::gray; });
    EXPECT_FALSE(convertVideoFrame(frame, OutputFormat{160, 120, 16}, out));
    EXPECT_FALSE(convertVideoFrame(frame, OutputFormat{0, 120, 24}, out));
    EXPECT_EQ(out, (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST(VideoFrameConversion, PlanarFourTwoTwoReadsChromaFromEveryRow) {
    // 8 x 6 planes: the top three rows are red, the bottom three blue, so
    // reading chroma from half the rows would colour the bottom red.
    std::vector<std::uint8_t> y(48), u(24), v(24);
    for (std::ptrdiff_t row = 0; row < 6; ++row) {
        const bool top = row < 3;
        std::fill_n(y.begin() + row * 8, 8, top ? 82 : 41);
        std::fill_n(u.begin() + row * 4, 4, top ? 90 : 240);
        std::fill_n(v.begin() + row * 4, 4, top ? 240 : 110);
    }
    platform::MappedPlanes planes;
    planes.pixelFormat = PF::Format_YUV422P;
    planes.viewport = QRect(0, 0, 8, 6);
    planes.data = {y.data(), u.data(), v.data()};
    planes.stride = {8, 4, 4};
    planes.size = {y.size(), u.size(), v.size()};
    const OutputFormat format{8, -6, 24};
    std::vector<std::uint8_t> out;
    ASSERT_TRUE(platform::convertPlanes(planes, format, out));
    EXPECT_TRUE(near(pixelAt(out, format, 4, 0), Qt::red));
    EXPECT_TRUE(near(pixelAt(out, format, 4, 5), Qt::blue));
}

TEST(VideoFrameConversion, PlanesTooSmallForTheirPictureAreNotRead) {
    std::vector<std::uint8_t> packed(std::size_t{64} * 48 * 2, 128);
    platform::MappedPlanes planes;
    planes.pixelFormat = PF::Format_YUYV;
    planes.viewport = QRect(0, 0, 64, 48);
    planes.data = {packed.data(), nullptr, nullptr};
    planes.stride = {128, 0, 0};
    planes.size = {packed.size() - 1, 0, 0};
    std::vector<std::uint8_t> out;
    EXPECT_FALSE(platform::convertPlanes(planes, Default, out));
    planes.size[0] = packed.size();
    EXPECT_TRUE(platform::convertPlanes(planes, Default, out));
    planes.pixelFormat = PF::Format_NV12; // no chroma plane
    EXPECT_FALSE(platform::convertPlanes(planes, Default, out));
}
