// The real cameras' drivers fed synthetic frames: the choice of a camera
// mode, delivery while streaming, the preview-rate limit, and the format and
// source dialogs, which also tell of a camera that went silent.

#include "cameras/qt/QtCameraSourceDialog.h"
#include "cameras/qt/VideoFrameConversion.h"
#include "platform/ShotTally.h"
#include "tests/cameras/qt/SyntheticCamera.h"
#include "tests/fixtures/ModalDialog.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

using cameratest::FedDriver;
using cameratest::greyFrame;
using fixtures::whenDialogOpens;
using Kind = qtcamera::CameraControl::Kind;
using PF = QVideoFrameFormat::PixelFormat;

namespace {

template <class Widget = QComboBox> Widget& child(QDialog& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return *widget;
}

QString text(QDialog& dialog, const char* name) {
    return child<QLabel>(dialog, name).text();
}

} // namespace

TEST(QtCameraDriver, OpensInTheClosestModeStreamsConvertedFramesAndReleases) {
    // The mode: the preview rate first, then no upscaling, then the size,
    // then a layout read directly.
    const auto mode = [](int width, float rate = 30, PF layout = PF::Format_YUYV) {
        return qtcamera::CameraMode{QSize(width, width * 3 / 4), rate, layout};
    };
    EXPECT_EQ(qtcamera::chooseCameraMode({mode(160), mode(320)}, {640, 480}), 1);
    EXPECT_EQ(
        qtcamera::chooseCameraMode({mode(640, 30, PF::Format_Jpeg), mode(640, 30)}, {160, 120}), 1);
    EXPECT_EQ(qtcamera::chooseCameraMode({}, {160, 120}), -1);
    FedDriver camera({mode(1280), mode(320), mode(160, 15)});
    const auto record = camera.feed->record;
    EXPECT_EQ(record->usedModes, std::vector<int>{1});
    camera.feed->deliver(greyFrame(100, 0)); // frames reach the sink only while streaming
    camera.stream();
    const QVideoFrame frame = greyFrame(100, 100000);
    camera.feed->deliver(frame);
    camera.driver->setStreaming(false, 33, {});
    camera.feed->deliver(greyFrame(100, 200000));
    std::vector<std::uint8_t> expected;
    ASSERT_TRUE(qtcamera::convertVideoFrame(frame, {}, expected));
    EXPECT_EQ(camera.frames, (std::vector<std::vector<std::uint8_t>>{expected}));
    camera.driver.reset();
    EXPECT_TRUE(record->released);
}

TEST(QtCameraPreviewRate, OneFramePerPeriodWithAQuarterOfSlack) {
    const std::pair<std::vector<qint64>, std::size_t> rows[] = {
        {{0, 10000, 20000, 30000, 40000, 50000, 60000}, 3}, // every third of a 100 fps camera
        {{0, 33333, 66667, 100000}, 4},                     // 30 fps loses nothing
        {{0, 24749, 24750}, 2},                             // 33 ms less a quarter is the least gap
        {{5000000, 0, 40000}, 3},                           // time stamps starting over
    };
    for (const auto& [timesUs, delivered] : rows) {
        FedDriver camera;
        camera.stream(33);
        for (const qint64 time : timesUs)
            camera.feed->deliver(greyFrame(50, time));
        EXPECT_EQ(camera.frames.size(), delivered) << timesUs.size() << " frames";
    }
}

TEST(QtCameraFormatDialog, OffersSizesDepthsAndModesAndKeepsOnlyAnAcceptedChoice) {
    FedDriver camera(
        {{QSize(640, 480), 30, PF::Format_YUYV}, {QSize(1280, 720), 10, PF::Format_Jpeg}});
    QStringList seen; // each box's choice as the dialog opens
    bool accepted = false;
    for (const bool accept : {false, true, false}) {
        whenDialogOpens([&, accept](QDialog& dialog) {
            for (const char* name : {"outputSize", "bitDepth", "cameraMode"})
                seen << child(dialog, name).currentText();
            child(dialog, "outputSize").setCurrentIndex(1);
            child(dialog, "bitDepth").setCurrentIndex(1);
            child(dialog, "cameraMode").setCurrentIndex(2);
            accept ? dialog.accept() : dialog.reject();
        });
        EXPECT_TRUE(camera.driver->showFormatDialog(nullptr));
        accepted = accepted || accept;
        const capture::FrameLayout wanted =
            accepted ? capture::FrameLayout{320, 240, 32} : capture::FrameLayout{};
        EXPECT_EQ(camera.driver->videoFormat(), wanted.videoFormat());
    }
    const QString automatic = "Automatic (closest to the output size)";
    EXPECT_EQ(seen, (QStringList{"160 x 120", "24 bits", automatic, "160 x 120", "24 bits",
                                 automatic, "320 x 240", "32 bits", "1280 x 720, 10 fps, Jpeg"}));
    EXPECT_EQ(camera.feed->record->usedModes, (std::vector<int>{0, 1}));
}

TEST(QtCameraSourceDialog, ShowsRateBrightnessSignalTallyAndOnlyTheControlsTheCameraHas) {
    FedDriver camera({}, {{Kind::Exposure, 3, 2047, 1, 250}, {Kind::Brightness, 0, 255, 1, 128}});
    qtcamera::QtCameraSourceDialog idle(*camera.driver);
    EXPECT_EQ(text(idle, "frameRate"), "Waiting for pictures");
    EXPECT_EQ(text(idle, "meanBrightness"), "Not measured yet");
    camera.stream(1);
    for (int i = 0; i < 6; ++i)
        camera.feed->deliver(greyFrame(60, i * 1000000LL / 30, PF::Format_XRGB8888));
    whenDialogOpens([](QDialog& dialog) {
        EXPECT_EQ(text(dialog, "frameRate"), "30.0 frames per second");
        EXPECT_EQ(text(dialog, "meanBrightness"), "60 of 255");
        EXPECT_TRUE(text(dialog, "brightnessAdvice").startsWith("Dark enough"));
        EXPECT_EQ(dialog.findChild<QSlider*>("Gain"), nullptr);
        auto& exposure = child<QSlider>(dialog, "Exposure");
        EXPECT_EQ(exposure.value(), 250);
        exposure.setValue(100);
        child<QPushButton>(dialog, "close").click();
    });
    EXPECT_TRUE(camera.driver->showSourceDialog(nullptr));
    EXPECT_EQ(camera.feed->record->controlChanges, (std::vector{std::pair{Kind::Exposure, 100}}));
    std::vector<bool> told; // what the capture window hears of the signal
    QString reason;
    camera.driver->setSignalSink([&](bool lost, const QString& why) {
        told.push_back(lost);
        reason = why;
    });
    camera.feed->deliver(greyFrame(230, 1000000)); // too bright, then silent
    camera.driver->setSignalTimeout(30);
    ASSERT_TRUE(QTest::qWaitFor([&] { return camera.driver->signalLost(); }, 5000));
    platform::shotTally().reset();
    platform::shotTally().count(platform::MissReason::BeyondTarget);
    idle.refresh();
    EXPECT_TRUE(text(idle, "brightnessAdvice").startsWith("Too bright"));
    EXPECT_TRUE(text(idle, "lastMiss").startsWith("Last: Beyond the target, "));
    EXPECT_EQ(text(idle, "frameRate"), "No signal");
    EXPECT_EQ(camera.driver->measuredFrameRate(), 0);
    camera.feed->deliver(greyFrame(230, 2000000)); // pictures again
    EXPECT_EQ(told, (std::vector{true, false}));
    // A failure says why, the first reason standing; late frames do not revive it.
    camera.feed->fail(QStringLiteral("Device or resource busy"));
    camera.feed->fail(QStringLiteral("The camera stopped."));
    camera.feed->deliver(greyFrame(230, 3000000));
    idle.refresh();
    EXPECT_EQ(text(idle, "frameRate"), "No signal: Device or resource busy");
    EXPECT_EQ(told, (std::vector{true, false, true}));
    EXPECT_EQ(reason, "Device or resource busy");
    EXPECT_EQ(camera.driver->failure(), "Device or resource busy");
}
