// The conversion of camera frames to the capture output format, for every
// pixel layout a camera hands over.

#include "platform/VideoFrameConversion.h"
#include "SyntheticCamera.h"

#include <gtest/gtest.h>

using cameratest::makeFrame;
using platform::OutputFormat;
using PF = QVideoFrameFormat::PixelFormat;
using Bytes = std::vector<std::uint8_t>;

namespace {

// The colour at (x, y) from the picture's top left, whatever the row order.
QColor pixelAt(const Bytes& out, const OutputFormat& format, int x, int y) {
    const int row = format.height > 0 ? format.height - 1 - y : y;
    const std::uint8_t* px = out.data() + static_cast<std::size_t>(row) * format.rowBytes() +
                             static_cast<std::size_t>(x) * (format.bitCount / 8);
    return {px[2], px[1], px[0]};
}

::testing::AssertionResult near(QColor actual, QColor expected) {
    if (std::abs(actual.red() - expected.red()) <= 3 &&
        std::abs(actual.green() - expected.green()) <= 3 &&
        std::abs(actual.blue() - expected.blue()) <= 3)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "got " << actual.name().toStdString() << " wanted " << expected.name().toStdString();
}

Bytes convert(const QVideoFrame& frame, const OutputFormat& format = {}) {
    Bytes out;
    EXPECT_TRUE(platform::convertVideoFrame(frame, format, out));
    EXPECT_EQ(out.size(), format.frameBytes());
    return out;
}

// Red top left, green top right, blue bottom left, white bottom right.
QColor quadrant(bool right, bool bottom) {
    return bottom ? (right ? Qt::white : Qt::blue) : (right ? Qt::green : Qt::red);
}

class EveryLayout : public ::testing::TestWithParam<PF> {};

} // namespace

TEST_P(EveryLayout, WideFrameIsCroppedScaledAndUprightWithItsColours) {
    // 1280 x 720: the 4:3 middle is 960 x 720 from x = 160, six camera pixels
    // to an output pixel. Magenta outside it; a grey dot on output pixel (40, 30).
    const QColor grey(128, 128, 128);
    const auto out = convert(makeFrame({QSize(1280, 720), GetParam()}, [&](int x, int y) {
        if (x < 160 || x >= 1120)
            return QColor(Qt::magenta);
        return (x - 160) / 6 == 40 && y / 6 == 30 ? grey : quadrant(x >= 640, y >= 360);
    }));
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x)
            ASSERT_TRUE(near(pixelAt(out, {}, x, y),
                             x == 40 && y == 30 ? grey : quadrant(x >= 80, y >= 60)))
                << x << "," << y;
    EXPECT_TRUE(near({out[2], out[1], out[0]}, Qt::blue)); // bottom row first
}

INSTANTIATE_TEST_SUITE_P(
    VideoFrameConversion, EveryLayout,
    ::testing::Values(PF::Format_YUYV, PF::Format_UYVY, PF::Format_NV12, PF::Format_NV21,
                      PF::Format_YUV420P, PF::Format_YV12, PF::Format_ARGB8888, PF::Format_XRGB8888,
                      PF::Format_BGRA8888, PF::Format_BGRX8888, PF::Format_ABGR8888,
                      PF::Format_XBGR8888, PF::Format_RGBA8888, PF::Format_RGBX8888,
                      PF::Format_AYUV),
    [](const auto& info) {
        return QVideoFrameFormat::pixelFormatToString(info.param).remove(' ').toStdString();
    });

TEST(VideoFrameConversion, SizesDepthsRowOrdersAndViewports) {
    QVideoFrameFormat padded(QSize(704, 480), PF::Format_XRGB8888); // a picture 640 wide
    padded.setViewport(QRect(0, 0, 640, 480));
    const auto quadrants = [](int width) {
        return [=](int x, int y) { return quadrant(x >= width / 2, y >= width * 3 / 8); };
    };
    const struct {
        const char* name;
        QVideoFrameFormat frame;
        cameratest::Picture picture;
        OutputFormat output;
        QPoint probe;
        QColor colour;
    } rows[] = {
        {"grey camera",
         {QSize(640, 480), PF::Format_Y8},
         [](int x, int) { return QColor(x / 4, x / 4, x / 4); },
         {},
         {100, 5},
         QColor(100, 100, 100)},
        {"larger output",
         {QSize(320, 240), PF::Format_YUYV},
         quadrants(320),
         {640, 480, 24},
         {320, 240},
         Qt::white},
        {"tall frame loses top and bottom",
         {QSize(480, 480), PF::Format_RGBX8888},
         [](int, int y) { return y < 60 || y >= 420 ? Qt::red : Qt::blue; },
         {},
         {80, 0},
         Qt::blue},
        {"32 bits top-down",
         {QSize(640, 480), PF::Format_BGRA8888},
         quadrants(640),
         {160, -120, 32},
         {0, 0},
         Qt::red},
        {"viewport",
         padded,
         [](int x, int) { return x < 640 ? Qt::blue : Qt::red; },
         {},
         {159, 60},
         Qt::blue},
    };
    for (const auto& row : rows) {
        const auto out = convert(makeFrame(row.frame, row.picture), row.output);
        EXPECT_TRUE(near(pixelAt(out, row.output, row.probe.x(), row.probe.y()), row.colour))
            << row.name;
        for (std::size_t i = 3; row.output.bitCount == 32 && i < out.size(); i += 4)
            ASSERT_EQ(out[i], 0) << "unused byte " << i;
    }
}

TEST(VideoFrameConversion, PlanarFourTwoTwoReadsChromaFromEveryRow) {
    // 8 x 6 planes: the top three rows red, the bottom three blue, so reading
    // chroma from half the rows would colour the bottom red.
    Bytes y(48), u(24), v(24);
    for (std::ptrdiff_t row = 0; row < 6; ++row) {
        std::fill_n(y.begin() + row * 8, 8, row < 3 ? 82 : 41);
        std::fill_n(u.begin() + row * 4, 4, row < 3 ? 90 : 240);
        std::fill_n(v.begin() + row * 4, 4, row < 3 ? 240 : 110);
    }
    const platform::MappedPlanes planes{PF::Format_YUV422P,
                                        QRect(0, 0, 8, 6),
                                        {y.data(), u.data(), v.data()},
                                        {8, 4, 4},
                                        {y.size(), u.size(), v.size()}};
    const OutputFormat format{8, -6, 24};
    Bytes out;
    ASSERT_TRUE(platform::convertPlanes(planes, format, out));
    EXPECT_TRUE(near(pixelAt(out, format, 4, 0), Qt::red));
    EXPECT_TRUE(near(pixelAt(out, format, 4, 5), Qt::blue));
}

TEST(VideoFrameConversion, BadFramesFormatsAndPlanesAreRefused) {
    Bytes out{1, 2, 3};
    EXPECT_FALSE(platform::convertVideoFrame(QVideoFrame(), {}, out));
    const QVideoFrame frame = cameratest::greyFrame(128, 0);
    EXPECT_FALSE(platform::convertVideoFrame(frame, {160, 120, 16}, out));
    EXPECT_FALSE(platform::convertVideoFrame(frame, {0, 120, 24}, out));
    // Planes one byte short of the picture they claim, or without chroma.
    Bytes packed(std::size_t{64} * 48 * 2, 128);
    platform::MappedPlanes planes{
        PF::Format_YUYV, QRect(0, 0, 64, 48), {packed.data()}, {128}, {packed.size() - 1}};
    EXPECT_FALSE(platform::convertPlanes(planes, {}, out));
    EXPECT_EQ(out, (Bytes{1, 2, 3}));
    planes.size[0] = packed.size();
    EXPECT_TRUE(platform::convertPlanes(planes, {}, out));
    planes.pixelFormat = PF::Format_NV12;
    EXPECT_FALSE(platform::convertPlanes(planes, {}, out));
}
