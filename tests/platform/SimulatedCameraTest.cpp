// The simulated camera: its drivers, the printed target it looks at, the
// sensor noise and the laser pulses.

#include "platform/SimulatedCamera.h"
#include "platform/CaptureFrameImage.h"

#include <QImage>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

using namespace platform;

namespace {

using Frame = std::vector<std::uint8_t>;

// Opens a driver of the camera and keeps every frame it delivers.
struct Stream {
    Stream(SimulatedCamera& camera, int index = 0) : driver(camera.open(index)) {
        driver->setStreaming(true, 60000, [this](std::span<std::uint8_t> frame) {
            frames.emplace_back(frame.begin(), frame.end());
        });
    }
    BITMAPINFOHEADER header() const {
        BITMAPINFOHEADER header{};
        std::memcpy(&header, driver->videoFormat().constData(), sizeof header);
        return header;
    }
    FrameLayout layout() const { return *FrameLayout::of(header()); }
    QColor pixel(std::size_t frame, int x, int y) const {
        const std::uint8_t* p = frames.at(frame).data() + layout().offset(x, y);
        return {p[2], p[1], p[0]};
    }

    std::unique_ptr<CaptureDriver> driver;
    std::vector<Frame> frames;
};

SimulatedDriverConfig format(std::int32_t width, std::int32_t height, std::int16_t bits) {
    SimulatedDriverConfig config;
    config.width = width;
    config.height = height;
    config.bitCount = bits;
    return config;
}

const QColor Laser(255, 40, 40);

} // namespace

TEST(SimulatedCamera, StartsWithOneDriverAtIndexZero) {
    SimulatedCamera camera;
    std::string name;
    std::string version;
    EXPECT_TRUE(camera.describe(0, name, version));
    EXPECT_EQ(name, "Simulated Range Camera");
    EXPECT_EQ(version, "Version 1.0");
    for (int i = 1; i < 10; ++i)
        EXPECT_FALSE(camera.describe(i, name, version)) << i;
    EXPECT_FALSE(camera.describe(10, name, version));
    EXPECT_NE(camera.open(0), nullptr);
    EXPECT_EQ(camera.open(1), nullptr);
}

TEST(SimulatedCamera, RefusingDriverIsListedButDoesNotOpen) {
    SimulatedCamera camera;
    SimulatedDriverConfig config;
    config.connectable = false;
    camera.setDriver(0, config);
    std::string name;
    std::string version;
    EXPECT_TRUE(camera.describe(0, name, version));
    EXPECT_EQ(camera.open(0), nullptr);
}

TEST(SimulatedCamera, FormatCarriesTheExtraBytes) {
    SimulatedCamera camera;
    SimulatedDriverConfig config = format(320, -240, 32);
    config.extraFormatBytes = 16;
    camera.setDriver(2, config);
    const auto driver = camera.open(2);
    const QByteArray bytes = driver->videoFormat();
    ASSERT_EQ(bytes.size(), 56);
    BITMAPINFOHEADER header{};
    std::memcpy(&header, bytes.constData(), sizeof header);
    EXPECT_EQ(header.biWidth, 320);
    EXPECT_EQ(header.biHeight, -240);
    EXPECT_EQ(header.biBitCount, 32);
    EXPECT_EQ(header.biSizeImage, 320U * 240U * 4U);
}

TEST(SimulatedCamera, NewFormatReachesOpenDrivers) {
    SimulatedCamera camera;
    camera.scene().noise = 0.0;
    Stream stream(camera);
    camera.setFormat(0, 640, 480, 32);
    EXPECT_EQ(stream.header().biWidth, 640);
    EXPECT_EQ(camera.driver(0)->bitCount, 32);
    camera.deliverNextFrame();
    EXPECT_EQ(stream.frames.at(0).size(), 640U * 480U * 4U);
}

TEST(SimulatedCamera, SameSeedSameFrames) {
    SimulatedCamera first;
    SimulatedCamera second;
    first.scene().seed = second.scene().seed = 77;
    Stream a(first);
    Stream b(second);
    for (int i = 0; i < 3; ++i) {
        first.deliverNextFrame();
        second.deliverNextFrame();
    }
    EXPECT_EQ(a.frames, b.frames);
    EXPECT_NE(a.frames[0], a.frames[1]); // the noise changes from frame to frame
}

TEST(SimulatedCamera, OtherSeedOtherNoise) {
    SimulatedCamera first;
    SimulatedCamera second;
    second.scene().seed = 2;
    Stream a(first);
    Stream b(second);
    first.deliverNextFrame();
    second.deliverNextFrame();
    EXPECT_NE(a.frames[0], b.frames[0]);
}

TEST(SimulatedCamera, NoiseHasTheRequestedSpread) {
    SimulatedCamera camera;
    camera.scene().noise = 4.0;
    camera.scene().ambient = 100;
    Stream stream(camera);
    camera.deliverNextFrame();
    // The paper just inside ring 1's line, at the picture's top left.
    double sum = 0;
    double squares = 0;
    int count = 0;
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const double level = stream.pixel(0, x, y).green() - 100.0;
            sum += level;
            squares += level * level;
            ++count;
        }
    }
    const double mean = sum / count;
    const double deviation = std::sqrt(squares / count - mean * mean);
    EXPECT_NEAR(mean, 0.0, 1.5);
    EXPECT_NEAR(deviation, 4.0, 1.5);
}

TEST(SimulatedCamera, TargetIsPaperWithTenBlackRingLines) {
    SimulatedCamera camera;
    camera.scene().noise = 0.0;
    camera.scene().ambient = 90;
    Stream stream(camera);
    camera.deliverNextFrame();
    // R = 60: ring lines at 6, 12, ... 60 pixels from the centre (80, 60).
    for (int ring = 1; ring <= 10; ++ring) {
        const int line = 80 + 6 * ring;
        const bool black = stream.pixel(0, line, 60) == QColor(Qt::black) ||
                           stream.pixel(0, line - 1, 60) == QColor(Qt::black);
        EXPECT_TRUE(black) << "line of radius " << 6 * ring;
        EXPECT_EQ(stream.pixel(0, 80 + 6 * ring - 3, 60).green(), 90) << "inside ring " << ring;
    }
    EXPECT_EQ(stream.pixel(0, 2, 2).green(), 90); // paper outside the rings
}

class Pulse : public ::testing::TestWithParam<SimulatedDriverConfig> {};

TEST_P(Pulse, DotShowsForExactlyItsFramesAtItsPlace) {
    SimulatedCamera camera;
    camera.scene().noise = 3.0;
    camera.setDriver(0, GetParam());
    Stream stream(camera);
    const FrameLayout layout = stream.layout();
    camera.firePulse(QPointF(0.25, 0.2), 3);
    for (int i = 0; i < 5; ++i)
        camera.deliverNextFrame();
    const int x = layout.width / 4;
    const int y = layout.height / 5;
    for (std::size_t frame = 0; frame < 5; ++frame) {
        const bool lit = stream.pixel(frame, x, y) == Laser;
        EXPECT_EQ(lit, frame < 3) << "frame " << frame;
        // Nowhere near the mirrored place: rows are where the format says.
        EXPECT_NE(stream.pixel(frame, x, layout.height - 1 - y), Laser) << "frame " << frame;
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, Pulse,
                         ::testing::Values(format(160, 120, 24), format(160, -120, 24),
                                           format(160, 120, 32), format(320, -240, 32),
                                           format(640, 480, 24)));

TEST(SimulatedCamera, DotSizeScalesWithThePictureWidth) {
    for (const int width : {160, 320}) {
        SimulatedCamera camera;
        camera.scene().noise = 0.0;
        camera.scene().dotRadius = 3.0;
        camera.setDriver(0, format(width, width * 3 / 4, 24));
        Stream stream(camera);
        camera.firePulse(QPointF(0.5, 0.5), 1);
        camera.deliverNextFrame();
        const int scale = width / 160;
        const int cx = width / 2;
        const int cy = width * 3 / 8;
        EXPECT_EQ(stream.pixel(0, cx + 2 * scale, cy), Laser) << width;
        EXPECT_NE(stream.pixel(0, cx + 4 * scale, cy), Laser) << width;
    }
}

TEST(SimulatedCamera, PulseCountsOnlyDeliveredFrames) {
    SimulatedCamera camera;
    camera.firePulse(QPointF(0.5, 0.5), 2);
    camera.deliverNextFrame(); // nobody streams: nothing is delivered
    Stream stream(camera);
    camera.deliverNextFrame();
    camera.deliverNextFrame();
    camera.deliverNextFrame();
    EXPECT_EQ(stream.pixel(0, 80, 60), Laser);
    EXPECT_EQ(stream.pixel(1, 80, 60), Laser);
    EXPECT_NE(stream.pixel(2, 80, 60), Laser);
}

TEST(SimulatedCamera, StoppedDriverDeliversNothing) {
    SimulatedCamera camera;
    Stream stream(camera);
    stream.driver->setStreaming(false, 0, {});
    camera.deliverNextFrame();
    EXPECT_TRUE(stream.frames.empty());
}

TEST(SimulatedCamera, ViewShowsTheTargetAndTheDot) {
    SimulatedCamera camera;
    camera.scene().ambient = 80;
    const QImage quiet = camera.view(400, 300);
    EXPECT_EQ(quiet.size(), QSize(400, 300));
    EXPECT_EQ(qGreen(quiet.pixel(5, 5)), 80);
    camera.firePulse(QPointF(0.75, 0.5), 1);
    const QImage lit = camera.view(400, 300);
    EXPECT_EQ(QColor(lit.pixel(300, 150)), Laser);
}

TEST(SimulatedCamera, DriverOutlivingItsCameraStaysSafe) {
    std::unique_ptr<CaptureDriver> driver;
    {
        SimulatedCamera camera;
        driver = camera.open(0);
    }
    EXPECT_FALSE(driver->showFormatDialog(nullptr));
    EXPECT_FALSE(driver->showSourceDialog(nullptr));
    EXPECT_EQ(driver->videoFormat().size(), 40);
}
