// The simulated camera: its drivers, the printed target it looks at, the
// sensor noise, the laser pulses, and its format dialog.

#include "platform/SimulatedCamera.h"
#include "platform/CaptureFrameImage.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTimer>
#include <cstring>
#include <gtest/gtest.h>
#include <tuple>

using namespace platform;

namespace {

// Opens a driver of the camera and keeps every frame it delivers.
struct Stream {
    explicit Stream(SimulatedCamera& camera, int index = 0) : driver(camera.open(index)) {
        driver->setStreaming(true, 60000, [this](std::span<std::uint8_t> frame) {
            frames.emplace_back(frame.begin(), frame.end());
        });
    }
    BITMAPINFOHEADER header() const {
        BITMAPINFOHEADER header{};
        std::memcpy(&header, driver->videoFormat().constData(), sizeof header);
        return header;
    }
    QColor pixel(std::size_t frame, int x, int y) const {
        return frameToImage(*FrameLayout::of(header()), frames.at(frame)).pixel(x, y);
    }
    std::unique_ptr<CaptureDriver> driver;
    std::vector<std::vector<std::uint8_t>> frames;
};

const QColor Laser(255, 40, 40);

} // namespace

TEST(SimulatedCamera, DriversAnswerAsConfiguredAndFollowTheirFormat) {
    SimulatedCamera camera;
    std::string name, version;
    EXPECT_TRUE(camera.describe(0, name, version) && camera.open(0));
    EXPECT_EQ(name + ", " + version, "Simulated Range Camera, Version 1.0");
    for (int i = 1; i <= 10; ++i)
        EXPECT_FALSE(camera.describe(i, name, version) || camera.open(i)) << i;
    camera.setDriver(2, SimulatedDriverConfig{.width = 320, .height = -240, .bitCount = 32});
    const Stream stream(camera, 2);
    EXPECT_EQ(stream.header().biSizeImage, 320U * 240U * 4U);
    camera.setFormat(2, 640, 480, 24); // reaches the open driver
    camera.deliverNextFrame();
    EXPECT_EQ(stream.frames.at(0).size(), 640U * 480U * 3U);
    stream.driver->setStreaming(false, 0, {});
    camera.deliverNextFrame();
    EXPECT_EQ(stream.frames.size(), 1U);
}

TEST(SimulatedCamera, NoiseIsSeededAndChangesFromFrameToFrame) {
    SimulatedCamera first, second, other;
    other.scene().seed = 2;
    Stream a(first), b(second), c(other);
    for (int i = 0; i < 2; ++i)
        for (SimulatedCamera* camera : {&first, &second, &other})
            camera->deliverNextFrame();
    EXPECT_EQ(a.frames, b.frames);
    EXPECT_NE(a.frames[0], a.frames[1]);
    EXPECT_NE(a.frames[0], c.frames[0]);
}

TEST(SimulatedCamera, TargetIsPaperWithTenBlackRingLines) {
    SimulatedCamera camera;
    camera.scene().noise = 0.0;
    camera.scene().ambient = 90;
    Stream stream(camera);
    camera.deliverNextFrame();
    // R = 60: ring lines at 6, 12, ... 60 pixels from the centre (80, 60).
    for (int ring = 1; ring <= 10; ++ring) {
        SCOPED_TRACE(ring);
        const int line = 80 + 6 * ring;
        EXPECT_TRUE(stream.pixel(0, line, 60) == Qt::black ||
                    stream.pixel(0, line - 1, 60) == Qt::black);
        EXPECT_EQ(stream.pixel(0, line - 3, 60).green(), 90);
    }
    EXPECT_EQ(stream.pixel(0, 2, 2).green(), 90);
    // The range window's view: the paper, and a pulse while it lasts.
    EXPECT_EQ(qGreen(camera.view(400, 300).pixel(5, 5)), 90);
    camera.firePulse(QPointF(0.75, 0.5), 1);
    EXPECT_EQ(QColor(camera.view(400, 300).pixel(300, 150)), Laser);
}

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

TEST(SimulatedCamera, FormatDialogSetsTheFormatAndKeepsTopDownRows) {
    SimulatedCamera camera;
    camera.setDriver(0, SimulatedDriverConfig{.height = -120});
    const Stream stream(camera);
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QComboBox*>(QStringLiteral("sizeBox"))->setCurrentText("640 x 480");
        dialog->findChild<QComboBox*>(QStringLiteral("depthBox"))->setCurrentText("32");
        dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))
            ->button(QDialogButtonBox::Ok)
            ->click();
    });
    EXPECT_TRUE(stream.driver->showFormatDialog(nullptr));
    const BITMAPINFOHEADER header = stream.header();
    EXPECT_EQ(std::tuple(header.biWidth, header.biHeight, int{header.biBitCount}),
              std::tuple(640, -480, 32));
}

TEST(SimulatedCamera, DriverOutlivingItsCameraStaysSafe) {
    std::unique_ptr<CaptureDriver> driver = SimulatedCamera().open(0);
    EXPECT_FALSE(driver->showFormatDialog(nullptr) || driver->showSourceDialog(nullptr));
    EXPECT_EQ(driver->videoFormat().size(), 40);
}
