// The Qt camera driver fed synthetic frames: output format, delivery while
// streaming, the preview-rate limit, a camera that stops delivering.

#include "platform/QtCameraDriver.h"
#include "SyntheticFeed.h"
#include "SyntheticFrames.h"
#include "platform/CaptureRecords.h"
#include "platform/VideoFrameConversion.h"

#include <QTest>
#include <cstring>
#include <gtest/gtest.h>

using cameratest::makeFrame;
using cameratest::SyntheticFeed;
using platform::CameraMode;
using platform::QtCameraDriver;
using platform::QtCameraSettings;
using PF = QVideoFrameFormat::PixelFormat;

namespace {

struct DriverUnderTest {
    explicit DriverUnderTest(std::vector<CameraMode> modes = {},
                             platform::CameraControls controls = {})
        : settings(std::make_shared<QtCameraSettings>()) {
        auto owned = std::make_unique<SyntheticFeed>(std::move(modes), std::move(controls));
        feed = owned.get();
        record = feed->record();
        driver = std::make_unique<QtCameraDriver>(std::move(owned), settings);
    }

    // Streams into a list of the frames received.
    void stream(int periodMs = 33) {
        driver->setStreaming(true, periodMs, [this](std::span<std::uint8_t> frame) {
            frames.emplace_back(frame.begin(), frame.end());
        });
    }

    QVideoFrame grey(int level, qint64 timeUs) const {
        return makeFrame(
            PF::Format_YUYV, QSize(64, 48),
            [level](int, int) { return QColor(level, level, level); }, timeUs);
    }

    std::shared_ptr<QtCameraSettings> settings;
    SyntheticFeed* feed = nullptr;
    std::shared_ptr<cameratest::FeedRecord> record;
    std::unique_ptr<QtCameraDriver> driver;
    std::vector<std::vector<std::uint8_t>> frames;
};

platform::BITMAPINFOHEADER headerOf(const QByteArray& format) {
    platform::BITMAPINFOHEADER header{};
    EXPECT_GE(format.size(), static_cast<int>(sizeof header));
    std::memcpy(&header, format.constData(), sizeof header);
    return header;
}

} // namespace

TEST(QtCameraDriver, DeliversTheProgramsFormatUnlessChanged) {
    DriverUnderTest camera;
    const auto header = headerOf(camera.driver->videoFormat());
    EXPECT_EQ(header.biSize, 40U);
    EXPECT_EQ(header.biWidth, 160);
    EXPECT_EQ(header.biHeight, 120);
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biSizeImage, 57600U);
    EXPECT_TRUE(camera.driver->hasFormatDialog());
    EXPECT_TRUE(camera.driver->hasSourceDialog());
}

TEST(QtCameraDriver, StartsTheCameraInTheModeClosestToTheOutput) {
    DriverUnderTest camera({{QSize(1280, 720), 30, PF::Format_YUYV},
                            {QSize(320, 240), 30, PF::Format_YUYV},
                            {QSize(160, 120), 15, PF::Format_YUYV}});
    EXPECT_TRUE(camera.record->started);
    ASSERT_EQ(camera.record->usedModes.size(), 1U);
    EXPECT_EQ(camera.record->usedModes.front(), 1);
    EXPECT_EQ(camera.driver->activeMode(), 1);
}

TEST(QtCameraDriver, FramesReachTheSinkOnlyWhileStreaming) {
    DriverUnderTest camera;
    camera.feed->deliver(camera.grey(100, 0));
    EXPECT_TRUE(camera.frames.empty());
    camera.stream();
    const QVideoFrame frame = camera.grey(100, 100000);
    camera.feed->deliver(frame);
    ASSERT_EQ(camera.frames.size(), 1U);
    std::vector<std::uint8_t> expected;
    ASSERT_TRUE(platform::convertVideoFrame(frame, platform::OutputFormat{}, expected));
    EXPECT_EQ(camera.frames.front(), expected);
    camera.driver->setStreaming(false, 33, {});
    camera.feed->deliver(camera.grey(100, 200000));
    EXPECT_EQ(camera.frames.size(), 1U);
}

TEST(QtCameraDriver, ReleasesTheCameraWhenDropped) {
    DriverUnderTest camera;
    const auto record = camera.record;
    camera.driver.reset();
    EXPECT_TRUE(record->released);
}

TEST(QtCameraPreviewRate, FasterCameraIsThinnedToThePreviewPeriod) {
    DriverUnderTest camera;
    camera.stream(33);
    std::vector<qint64> delivered;
    for (qint64 t = 0; t < 1000000; t += 10000) { // a camera at 100 frames a second
        const auto before = camera.frames.size();
        camera.feed->deliver(camera.grey(50, t));
        if (camera.frames.size() != before)
            delivered.push_back(t);
    }
    ASSERT_GE(delivered.size(), 30U); // about one per period over the second
    EXPECT_LE(delivered.size(), 40U);
    for (std::size_t i = 1; i < delivered.size(); ++i)
        EXPECT_GE(delivered[i] - delivered[i - 1], 25000) << i;
}

TEST(QtCameraPreviewRate, CameraAtThePreviewRateLosesNoFrame) {
    DriverUnderTest camera;
    camera.stream(33);
    for (int i = 0; i < 60; ++i) // 30 frames a second, time stamps of 33.333 ms
        camera.feed->deliver(camera.grey(50, i * 1000000LL / 30));
    EXPECT_EQ(camera.frames.size(), 60U);
}

TEST(QtCameraPreviewRate, TimeStampsStartingOverDoNotStopTheFrames) {
    DriverUnderTest camera;
    camera.stream(33);
    camera.feed->deliver(camera.grey(50, 5000000));
    camera.feed->deliver(camera.grey(50, 0)); // the camera restarted its clock
    camera.feed->deliver(camera.grey(50, 40000));
    EXPECT_EQ(camera.frames.size(), 3U);
}

TEST(QtCameraSignal, SilentCameraIsReportedLostAndFramesBringItBack) {
    DriverUnderTest camera;
    std::vector<bool> reports;
    camera.driver->setSignalSink([&](bool lost) { reports.push_back(lost); });
    camera.driver->setSignalTimeout(30);
    camera.stream();
    camera.feed->deliver(camera.grey(80, 0));
    ASSERT_EQ(camera.frames.size(), 1U);
    ASSERT_TRUE(QTest::qWaitFor([&] { return camera.driver->signalLost(); }, 5000));
    EXPECT_EQ(reports, std::vector<bool>{true});
    EXPECT_EQ(camera.frames.size(), 1U);
    EXPECT_EQ(camera.driver->measuredFrameRate(), 0);

    camera.feed->deliver(camera.grey(80, 1000000));
    EXPECT_FALSE(camera.driver->signalLost());
    EXPECT_EQ(reports, (std::vector<bool>{true, false}));
    EXPECT_EQ(camera.frames.size(), 2U);
}

TEST(QtCameraSignal, FailingCameraIsLostAtOnce) {
    DriverUnderTest camera;
    bool lost = false;
    camera.driver->setSignalSink([&](bool l) { lost = l; });
    camera.feed->fail();
    EXPECT_TRUE(lost);
    EXPECT_TRUE(camera.driver->signalLost());
}

TEST(QtCameraSignal, SinkSetAfterTheLossHearsOfItAtOnce) {
    DriverUnderTest camera;
    camera.feed->fail();
    bool lost = false;
    camera.driver->setSignalSink([&](bool l) { lost = l; });
    EXPECT_TRUE(lost);
}

TEST(QtCameraMeasurement, RateAndBrightnessOfThePicture) {
    DriverUnderTest camera;
    EXPECT_EQ(camera.driver->measuredFrameRate(), 0);
    EXPECT_FALSE(camera.driver->meanBrightness().has_value());
    camera.stream(1);
    for (int i = 0; i < 10; ++i)
        camera.feed->deliver(camera.grey(200, i * qint64{40000})); // 25 frames a second
    EXPECT_NEAR(camera.driver->measuredFrameRate(), 25.0, 0.01);
    ASSERT_TRUE(camera.driver->meanBrightness().has_value());
    EXPECT_NEAR(*camera.driver->meanBrightness(), 200, 3);
}
