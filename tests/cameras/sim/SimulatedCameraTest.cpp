// The simulated camera: its laser pulses in every format, and a driver that
// outlives its camera.

#include "cameras/sim/SimulatedCamera.h"
#include "capture/service/CaptureFrameImage.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace capture;
using namespace simcamera;

namespace {

// Opens a driver of the camera and keeps every frame it delivers.
struct Stream {
    explicit Stream(SimulatedCamera& camera) : driver(camera.open(0)) {
        driver->setStreaming(
            true, 60000,
            [this](std::span<std::uint8_t> frame, const capture::FullFrame* /*picture*/) {
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

// Bottom-up and top-down, 24 and 32 bits, any size: the pulse sits where it
// was fired, in exactly the frames delivered to a stream while it lasts.
TEST(SimulatedCamera, PulseShowsForExactlyItsDeliveredFramesWhereTheFormatPutsIt) {
    for (const SimulatedDriverConfig& config :
         {SimulatedDriverConfig{}, {.format = {160, -120, 32}}, {.format = {640, 480}}}) {
        const capture::FrameLayout& format = config.format;
        SCOPED_TRACE(format.width * format.height * format.bitCount);
        SimulatedCamera camera;
        camera.scene().noise = 3.0;
        camera.setDriver(0, config);
        camera.firePulse(QPointF(0.25, 0.2), 3);
        camera.deliverNextFrame(); // nobody streams: this frame does not count
        Stream stream(camera);
        for (int i = 0; i < 4; ++i)
            camera.deliverNextFrame();
        const int x = format.width / 4, y = std::abs(format.height) / 5;
        for (std::size_t frame = 0; frame < 4; ++frame) {
            EXPECT_EQ(stream.pixel(frame, x, y) == Laser, frame < 3) << "frame " << frame;
            EXPECT_NE(stream.pixel(frame, x, std::abs(format.height) - 1 - y), Laser);
        }
    }
}

TEST(SimulatedCamera, DriverOutlivingItsCameraStaysSafe) {
    std::unique_ptr<CaptureDriver> driver = SimulatedCamera().open(0);
    EXPECT_FALSE(driver->showFormatDialog(nullptr) || driver->showSourceDialog(nullptr));
    EXPECT_EQ(driver->videoFormat().size(), 40);
}
