// The simulated camera: the printed target it looks at, the
// sensor noise and the laser pulses.

#include "cameras/sim/SimulatedCamera.h"
#include "capture/service/CaptureFrameImage.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// Opens a driver of the camera and keeps every frame it delivers.
struct Stream {
    explicit Stream(SimulatedCamera& camera) : driver(camera.open(0)) {
        driver->setStreaming(true, 60000, [this](std::span<std::uint8_t> frame) {
            frames.emplace_back(frame.begin(), frame.end());
        });
    }
    QColor pixel(std::size_t frame, int x, int y) const {
        BITMAPINFOHEADER header{};
        std::memcpy(&header, driver->videoFormat().constData(), sizeof header);
        return frameToImage(*FrameLayout::of(header), frames.at(frame)).pixel(x, y);
    }
    std::unique_ptr<CaptureDriver> driver;
    std::vector<std::vector<std::uint8_t>> frames;
};

const QColor Laser(255, 40, 40);

} // namespace

// The same seed gives the same frames; another seed, or the next frame, not.
TEST(SimulatedCamera, NoiseIsSeededAndChangesFromFrameToFrame) {
    SimulatedCamera first, second, other;
    other.scene().seed = 2;
    Stream a(first), b(second), c(other);
    for (int i = 0; i < 2; ++i)
        for (SimulatedCamera* camera : {&first, &second, &other})
            camera->deliverNextFrame();
    EXPECT_EQ(a.frames, b.frames);
    EXPECT_TRUE(a.frames[0] != a.frames[1] && a.frames[0] != c.frames[0]);
}

// R = 60: ring lines at 6, 12, ... 60 pixels from the centre (80, 60).
TEST(SimulatedCamera, TargetIsPaperWithTenBlackRingLines) {
    SimulatedCamera camera;
    camera.scene().noise = 0.0;
    camera.scene().ambient = 90;
    Stream stream(camera);
    camera.deliverNextFrame();
    for (int line = 86; line <= 140; line += 6) {
        EXPECT_TRUE(stream.pixel(0, line, 60) == Qt::black ||
                    stream.pixel(0, line - 1, 60) == Qt::black)
            << line;
        EXPECT_EQ(stream.pixel(0, line - 3, 60).green(), 90) << line;
    }
    EXPECT_EQ(stream.pixel(0, 2, 2).green(), 90);
    EXPECT_EQ(qGreen(camera.view(400, 300).pixel(5, 5)), 90); // the range window's view
}

// Bottom-up and top-down, 24 and 32 bits, any size: the pulse sits where it
// was fired, in exactly the frames delivered to a stream while it lasts.
TEST(SimulatedCamera, PulseShowsForExactlyItsDeliveredFramesWhereTheFormatPutsIt) {
    for (const SimulatedDriverConfig& config : {SimulatedDriverConfig{},
                                                {.height = -120, .bitCount = 32},
                                                {.width = 640, .height = 480}}) {
        SCOPED_TRACE(config.width * config.height * config.bitCount);
        SimulatedCamera camera;
        camera.scene().noise = 3.0;
        camera.setDriver(0, config);
        camera.firePulse(QPointF(0.25, 0.2), 3);
        camera.deliverNextFrame(); // nobody streams: this frame does not count
        Stream stream(camera);
        for (int i = 0; i < 4; ++i)
            camera.deliverNextFrame();
        const int x = config.width / 4, y = std::abs(config.height) / 5;
        for (std::size_t frame = 0; frame < 4; ++frame) {
            EXPECT_EQ(stream.pixel(frame, x, y) == Laser, frame < 3) << "frame " << frame;
            EXPECT_NE(stream.pixel(frame, x, std::abs(config.height) - 1 - y), Laser);
        }
    }
}

TEST(SimulatedCamera, DriverOutlivingItsCameraStaysSafe) {
    std::unique_ptr<CaptureDriver> driver = SimulatedCamera().open(0);
    EXPECT_FALSE(driver->showFormatDialog(nullptr) || driver->showSourceDialog(nullptr));
    EXPECT_EQ(driver->videoFormat().size(), 40);
}
