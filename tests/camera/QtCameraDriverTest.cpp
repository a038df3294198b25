// The real cameras' drivers fed synthetic frames: the camera list, the choice
// of a camera mode, the output format, delivery while streaming, the
// preview-rate limit, and a camera that stops delivering.

#include "platform/QtCameraDriver.h"
#include "SyntheticFeed.h"
#include "SyntheticFrames.h"
#include "platform/QtCameraSource.h"
#include "platform/QtCameraV4l2Controls.h"
#include "platform/VideoFrameConversion.h"

#include <QTest>
#include <gtest/gtest.h>

using cameratest::FedDriver;
using cameratest::greyFrame;
using platform::CameraMode;
using PF = QVideoFrameFormat::PixelFormat;

TEST(QtCameraSource, NoCamerasNoDriversButEachIndexKeepsItsFormatChoice) {
    platform::QtCameraSource source(QList<QCameraDevice>{});
    for (int index = -1; index <= 10; ++index) {
        std::string name = "unchanged", version;
        EXPECT_FALSE(source.describe(index, name, version)) << index;
        EXPECT_EQ(name, "unchanged");
        EXPECT_EQ(source.open(index), nullptr) << index;
    }
    source.settings(3)->output.width = 320;
    EXPECT_EQ(source.settings(3)->output.width, 320);
    EXPECT_EQ(source.settings(2)->output.width, 160);
    EXPECT_EQ(source.settings(10), nullptr);
    for (const char* path : {"/dev/null", "/nonexistent/video0", "not a path"}) {
        platform::QtCameraV4l2Controls controls{QString::fromLatin1(path)};
        EXPECT_TRUE(controls.list().empty()) << path;
        EXPECT_FALSE(controls.set(platform::CameraControl::Kind::Gain, 1)) << path;
    }
}

TEST(CameraModeChoice, RateThenNoUpscalingThenSizeThenDirectLayout) {
    const CameraMode hd{QSize(1280, 720), 30, PF::Format_YUYV},
        vga{QSize(640, 480), 30, PF::Format_YUYV}, cif{QSize(176, 144), 30, PF::Format_YUYV},
        qvga{QSize(320, 240), 30, PF::Format_YUYV}, slow{QSize(160, 120), 15, PF::Format_YUYV},
        ntsc{QSize(1280, 720), 29.97F, PF::Format_YUYV},
        qqvga{QSize(160, 120), 30, PF::Format_YUYV}, jpeg{QSize(640, 480), 30, PF::Format_Jpeg},
        nv12{QSize(640, 480), 30, PF::Format_NV12};
    const struct {
        const char* name;
        std::vector<CameraMode> modes;
        QSize output;
        int chosen;
    } rows[] = {
        {"smallest at least 160 x 120", {hd, vga, cif, qvga}, {160, 120}, 2},
        {"exactly 320 x 240", {hd, vga, cif, qvga}, {320, 240}, 3},
        {"exactly 640 x 480", {hd, vga, cif, qvga}, {640, 480}, 1},
        {"29.97 per second before size", {slow, ntsc}, {160, 120}, 1},
        {"too small only when nothing larger", {qqvga, qvga}, {640, 480}, 1},
        {"direct layout before compressed", {jpeg, nv12}, {160, 120}, 1},
        {"no modes", {}, {160, 120}, -1},
    };
    for (const auto& row : rows)
        EXPECT_EQ(platform::chooseCameraMode(row.modes, row.output), row.chosen) << row.name;
    EXPECT_EQ(vga.label(), QStringLiteral("640 x 480, 30 fps, YUYV"));
}

TEST(QtCameraDriver, OpensInTheClosestModeOffersTheProgramsFormatAndReleases) {
    FedDriver camera({{QSize(1280, 720), 30, PF::Format_YUYV},
                      {QSize(320, 240), 30, PF::Format_YUYV},
                      {QSize(160, 120), 15, PF::Format_YUYV}});
    EXPECT_TRUE(camera.record->started);
    EXPECT_EQ(camera.record->usedModes, std::vector<int>{1});
    EXPECT_EQ(camera.driver->activeMode(), 1);
    const auto header = camera.header();
    EXPECT_EQ(header.biSize, 40U);
    EXPECT_EQ(header.biWidth, 160);
    EXPECT_EQ(header.biHeight, 120);
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biSizeImage, 57600U);
    EXPECT_TRUE(camera.driver->hasFormatDialog() && camera.driver->hasSourceDialog());
    camera.driver.reset();
    EXPECT_TRUE(camera.record->released);
}

TEST(QtCameraDriver, ConvertedFramesReachTheSinkOnlyWhileStreaming) {
    FedDriver camera;
    camera.feed->deliver(greyFrame(100, 0));
    EXPECT_TRUE(camera.frames.empty());
    camera.stream();
    const QVideoFrame frame = greyFrame(100, 100000);
    camera.feed->deliver(frame);
    std::vector<std::uint8_t> expected;
    ASSERT_TRUE(platform::convertVideoFrame(frame, {}, expected));
    EXPECT_EQ(camera.frames, (std::vector<std::vector<std::uint8_t>>{expected}));
    camera.driver->setStreaming(false, 33, {});
    camera.feed->deliver(greyFrame(100, 200000));
    EXPECT_EQ(camera.frames.size(), 1U);
}

TEST(QtCameraPreviewRate, OneFramePerPeriodWithAQuarterOfSlack) {
    const auto every = [](qint64 perSecond, int count) {
        std::vector<qint64> times;
        for (qint64 i = 0; i < count; ++i)
            times.push_back(i * 1000000 / perSecond);
        return times;
    };
    const struct {
        const char* name;
        std::vector<qint64> timesUs;
        std::size_t delivered;
    } rows[] = {
        {"camera at 100 per second: every third frame", every(100, 100), 34},
        {"camera at the preview rate loses nothing", every(30, 60), 60},
        {"24.749 ms is too soon, 24.750 ms is not", {0, 24749, 24750}, 2},
        {"time stamps starting over", {5000000, 0, 40000}, 3},
    };
    for (const auto& row : rows) {
        FedDriver camera;
        camera.stream(33);
        for (const qint64 time : row.timesUs)
            camera.feed->deliver(greyFrame(50, time));
        EXPECT_EQ(camera.frames.size(), row.delivered) << row.name;
    }
}

TEST(QtCameraSignal, SilentCameraIsLostUntilFramesComeBack) {
    FedDriver camera;
    std::vector<bool> reports;
    camera.driver->setSignalSink([&](bool lost) { reports.push_back(lost); });
    camera.driver->setSignalTimeout(30);
    camera.stream();
    camera.feed->deliver(greyFrame(80, 0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return camera.driver->signalLost(); }, 5000));
    EXPECT_EQ(reports, std::vector<bool>{true});
    EXPECT_EQ(camera.driver->measuredFrameRate(), 0);
    camera.feed->deliver(greyFrame(80, 1000000));
    EXPECT_FALSE(camera.driver->signalLost());
    EXPECT_EQ(reports, (std::vector<bool>{true, false}));
    EXPECT_EQ(camera.frames.size(), 2U);
}

TEST(QtCameraSignal, FailingCameraIsLostAtOnceEvenForALateSink) {
    FedDriver camera;
    camera.feed->fail();
    EXPECT_TRUE(camera.driver->signalLost());
    bool lost = false;
    camera.driver->setSignalSink([&](bool l) { lost = l; });
    EXPECT_TRUE(lost);
}
