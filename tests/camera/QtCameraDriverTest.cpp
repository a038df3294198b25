// The real cameras' drivers fed synthetic frames: the camera list, the choice
// of a camera mode, delivery while streaming, the preview-rate limit, a
// camera that stops delivering, and the format and source dialogs.

#include "platform/QtCameraDriver.h"
#include "SyntheticCamera.h"
#include "platform/QtCameraSource.h"
#include "platform/QtCameraSourceDialog.h"
#include "platform/QtCameraV4l2Controls.h"
#include "platform/VideoFrameConversion.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <tuple>

using cameratest::FedDriver;
using cameratest::greyFrame;
using platform::CameraControl;
using platform::CameraMode;
using PF = QVideoFrameFormat::PixelFormat;

namespace {

// Runs the action on the modal dialog as soon as it is open.
void whenDialogOpens(std::function<void(QDialog&)> action) {
    QTimer::singleShot(0, [action = std::move(action)] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        action(*dialog);
    });
}

template <class Widget = QComboBox> Widget& child(QDialog& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return *widget;
}

QString text(QDialog& dialog, const char* name) {
    return child<QLabel>(dialog, name).text();
}

std::tuple<int, int, int> format(const FedDriver& camera) {
    const auto header = camera.header();
    return {header.biWidth, header.biHeight, header.biBitCount};
}

} // namespace

TEST(QtCameraSource, NoCamerasNoDriversButEachIndexKeepsItsFormatChoice) {
    platform::QtCameraSource source(QList<QCameraDevice>{});
    std::string name = "unchanged", version;
    for (int index = -1; index <= 10; ++index)
        EXPECT_FALSE(source.describe(index, name, version) || source.open(index)) << index;
    EXPECT_EQ(name, "unchanged");
    source.settings(3)->output.width = 320;
    EXPECT_EQ(source.settings(3)->output.width, 320);
    EXPECT_EQ(source.settings(2)->output.width, 160);
    EXPECT_EQ(source.settings(10), nullptr);
    for (const char* path : {"/dev/null", "/nonexistent/video0", "not a path"}) {
        platform::QtCameraV4l2Controls controls{QString::fromLatin1(path)};
        EXPECT_TRUE(controls.list().empty()) << path;
        EXPECT_FALSE(controls.set(CameraControl::Kind::Gain, 1)) << path;
    }
}

TEST(CameraModeChoice, RateThenNoUpscalingThenSizeThenDirectLayout) {
    const auto mode = [](int width, float rate = 30, PF layout = PF::Format_YUYV) {
        return CameraMode{QSize(width, width * 3 / 4), rate, layout};
    };
    const std::vector<CameraMode> sizes{mode(1280), mode(640), mode(176), mode(320)};
    EXPECT_EQ(platform::chooseCameraMode(sizes, {160, 120}), 2);
    EXPECT_EQ(platform::chooseCameraMode(sizes, {320, 240}), 3);
    EXPECT_EQ(platform::chooseCameraMode(sizes, {640, 480}), 1);
    EXPECT_EQ(platform::chooseCameraMode({mode(160, 15), mode(1280, 29.97F)}, {160, 120}), 1);
    EXPECT_EQ(platform::chooseCameraMode({mode(160), mode(320)}, {640, 480}), 1);
    EXPECT_EQ(platform::chooseCameraMode(
                  {mode(640, 30, PF::Format_Jpeg), mode(640, 30, PF::Format_NV12)}, {160, 120}),
              1);
    EXPECT_EQ(platform::chooseCameraMode({}, {160, 120}), -1);
}

TEST(QtCameraDriver, OpensInTheClosestModeStreamsConvertedFramesAndReleases) {
    FedDriver camera({{QSize(1280, 720), 30, PF::Format_YUYV},
                      {QSize(320, 240), 30, PF::Format_YUYV},
                      {QSize(160, 120), 15, PF::Format_YUYV}});
    const auto record = camera.feed->record;
    EXPECT_TRUE(record->started);
    EXPECT_EQ(record->usedModes, std::vector<int>{1});
    EXPECT_EQ(format(camera), std::tuple(160, 120, 24));
    EXPECT_EQ(camera.header().biSizeImage, 57600U);
    // Frames reach the sink only while streaming.
    camera.feed->deliver(greyFrame(100, 0));
    camera.stream();
    const QVideoFrame frame = greyFrame(100, 100000);
    camera.feed->deliver(frame);
    camera.driver->setStreaming(false, 33, {});
    camera.feed->deliver(greyFrame(100, 200000));
    std::vector<std::uint8_t> expected;
    ASSERT_TRUE(platform::convertVideoFrame(frame, {}, expected));
    EXPECT_EQ(camera.frames, (std::vector<std::vector<std::uint8_t>>{expected}));
    camera.driver.reset();
    EXPECT_TRUE(record->released);
}

TEST(QtCameraPreviewRate, OneFramePerPeriodWithAQuarterOfSlack) {
    const auto every = [](qint64 perSecond, qint64 count) {
        std::vector<qint64> times;
        for (qint64 i = 0; i < count; ++i)
            times.push_back(i * 1000000 / perSecond);
        return times;
    };
    const std::pair<std::vector<qint64>, std::size_t> rows[] = {
        {every(100, 100), 34},    // every third frame of a faster camera
        {every(30, 60), 60},      // a camera at the preview rate loses nothing
        {{0, 24749, 24750}, 2},   // 33 ms less a quarter is the least gap
        {{5000000, 0, 40000}, 3}, // time stamps starting over
    };
    for (const auto& [timesUs, delivered] : rows) {
        FedDriver camera;
        camera.stream(33);
        for (const qint64 time : timesUs)
            camera.feed->deliver(greyFrame(50, time));
        EXPECT_EQ(camera.frames.size(), delivered) << timesUs.size() << " frames";
    }
}

TEST(QtCameraSignal, SilentCameraIsLostUntilFramesComeBackFailingOneAtOnce) {
    FedDriver camera;
    std::vector<bool> reports;
    camera.driver->setSignalSink([&](bool lost) { reports.push_back(lost); });
    camera.driver->setSignalTimeout(30);
    camera.stream();
    camera.feed->deliver(greyFrame(80, 0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return camera.driver->signalLost(); }, 5000));
    EXPECT_EQ(camera.driver->measuredFrameRate(), 0);
    camera.feed->deliver(greyFrame(80, 1000000));
    EXPECT_EQ(camera.frames.size(), 2U);
    camera.feed->fail();
    EXPECT_EQ(reports, (std::vector<bool>{true, false, true}));
    bool late = false; // a sink set after the loss hears of it at once
    camera.driver->setSignalSink([&](bool lost) { late = lost; });
    EXPECT_TRUE(late);
}

TEST(QtCameraFormatDialog, OffersSizesDepthsAndModesAndKeepsOnlyAnAcceptedChoice) {
    FedDriver camera(
        {{QSize(640, 480), 30, PF::Format_YUYV}, {QSize(1280, 720), 10, PF::Format_Jpeg}});
    for (const bool accept : {false, true}) {
        whenDialogOpens([=](QDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Video Format"));
            child(dialog, "outputSize").setCurrentIndex(1);
            child(dialog, "bitDepth").setCurrentIndex(1);
            child(dialog, "cameraMode").setCurrentIndex(2);
            accept ? dialog.accept() : dialog.reject();
        });
        EXPECT_TRUE(camera.driver->showFormatDialog(nullptr));
        EXPECT_EQ(format(camera), accept ? std::tuple(320, 240, 32) : std::tuple(160, 120, 24));
    }
    EXPECT_EQ(camera.settings->modeIndex, 1);
    EXPECT_EQ(camera.feed->record->usedModes, (std::vector<int>{0, 1}));
    QStringList seen; // the modes offered, and each box's choice when reopened
    whenDialogOpens([&](QDialog& dialog) {
        for (int i = 0; i < child(dialog, "cameraMode").count(); ++i)
            seen << child(dialog, "cameraMode").itemText(i);
        for (const char* name : {"outputSize", "bitDepth", "cameraMode"})
            seen << child(dialog, name).currentText();
        dialog.reject();
    });
    camera.driver->showFormatDialog(nullptr);
    EXPECT_EQ(seen, (QStringList{"Automatic (closest to the output size)",
                                 "640 x 480, 30 fps, YUYV", "1280 x 720, 10 fps, Jpeg", "320 x 240",
                                 "32 bits", "1280 x 720, 10 fps, Jpeg"}));
}

TEST(QtCameraSourceDialog, ShowsRateBrightnessAndOnlyTheControlsTheCameraHas) {
    FedDriver camera({}, {{CameraControl::Kind::Exposure, 3, 2047, 1, 250},
                          {CameraControl::Kind::Brightness, 0, 255, 1, 128}});
    camera.stream(1);
    for (int i = 0; i < 6; ++i)
        camera.feed->deliver(greyFrame(60, i * 1000000LL / 30, PF::Format_XRGB8888));
    whenDialogOpens([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Video Source"));
        EXPECT_EQ(text(dialog, "frameRate"), QStringLiteral("30.0 frames per second"));
        EXPECT_EQ(text(dialog, "meanBrightness"), QStringLiteral("60 of 255"));
        EXPECT_TRUE(text(dialog, "brightnessAdvice").startsWith(QStringLiteral("Dark enough")));
        EXPECT_EQ(dialog.findChild<QSlider*>(QStringLiteral("Gain")), nullptr);
        auto& exposure = child<QSlider>(dialog, "Exposure");
        EXPECT_EQ(exposure.value(), 250);
        exposure.setValue(100);
        child<QPushButton>(dialog, "close").click();
    });
    EXPECT_TRUE(camera.driver->showSourceDialog(nullptr));
    using Change = std::pair<CameraControl::Kind, int>;
    EXPECT_EQ(camera.feed->record->controlChanges,
              (std::vector{Change{CameraControl::Kind::Exposure, 100}}));
}

TEST(QtCameraSourceDialog, SaysSoWhenTheCameraIsSilentLostOrTooBright) {
    FedDriver camera;
    platform::QtCameraSourceDialog dialog(*camera.driver);
    EXPECT_EQ(text(dialog, "frameRate"), QStringLiteral("Waiting for pictures"));
    EXPECT_EQ(text(dialog, "meanBrightness"), QStringLiteral("Not measured yet"));
    EXPECT_TRUE(dialog.findChildren<QSlider*>().isEmpty());
    camera.stream(1);
    camera.feed->deliver(greyFrame(230, 0));
    dialog.refresh();
    EXPECT_TRUE(text(dialog, "brightnessAdvice").startsWith(QStringLiteral("Too bright")));
    camera.feed->fail();
    dialog.refresh();
    EXPECT_EQ(text(dialog, "frameRate"), QStringLiteral("No signal"));
}
