// The camera's format and source dialogs, driven headless.

#include "SyntheticFeed.h"
#include "SyntheticFrames.h"
#include "platform/CaptureRecords.h"
#include "platform/QtCameraDriver.h"
#include "platform/QtCameraSourceDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>

using cameratest::makeFrame;
using cameratest::SyntheticFeed;
using platform::CameraControl;
using platform::CameraMode;
using platform::QtCameraDriver;
using platform::QtCameraSettings;
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

struct Camera {
    explicit Camera(platform::CameraControls controls = {})
        : settings(std::make_shared<QtCameraSettings>()) {
        auto owned = std::make_unique<SyntheticFeed>(
            std::vector<CameraMode>{{QSize(640, 480), 30, PF::Format_YUYV},
                                    {QSize(1280, 720), 10, PF::Format_Jpeg}},
            std::move(controls));
        feed = owned.get();
        record = feed->record();
        driver = std::make_unique<QtCameraDriver>(std::move(owned), settings);
    }

    platform::BITMAPINFOHEADER header() const {
        platform::BITMAPINFOHEADER h{};
        std::memcpy(&h, driver->videoFormat().constData(), sizeof h);
        return h;
    }

    std::shared_ptr<QtCameraSettings> settings;
    SyntheticFeed* feed = nullptr;
    std::shared_ptr<cameratest::FeedRecord> record;
    std::unique_ptr<QtCameraDriver> driver;
};

QString labelText(QDialog& dialog, const char* name) {
    auto* label = dialog.findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<missing>");
}

} // namespace

TEST(QtCameraFormatDialog, OffersSizesDepthsAndTheCamerasModes) {
    Camera camera;
    QStringList sizes, depths, modes;
    whenDialogOpens([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Video Format"));
        auto items = [&](const char* name) {
            QStringList list;
            if (auto* box = dialog.findChild<QComboBox*>(QLatin1String(name)))
                for (int i = 0; i < box->count(); ++i)
                    list << box->itemText(i);
            return list;
        };
        sizes = items("outputSize");
        depths = items("bitDepth");
        modes = items("cameraMode");
        dialog.reject();
    });
    EXPECT_TRUE(camera.driver->showFormatDialog(nullptr));
    EXPECT_EQ(sizes, (QStringList{"160 x 120", "320 x 240", "640 x 480"}));
    EXPECT_EQ(depths, (QStringList{"24 bits", "32 bits"}));
    ASSERT_EQ(modes.size(), 3);
    EXPECT_TRUE(modes[1].startsWith(QStringLiteral("640 x 480, 30 fps")));
    EXPECT_TRUE(modes[2].startsWith(QStringLiteral("1280 x 720, 10 fps")));
}

TEST(QtCameraFormatDialog, AcceptedChoiceBecomesTheVideoFormatAndCameraMode) {
    Camera camera;
    whenDialogOpens([](QDialog& dialog) {
        dialog.findChild<QComboBox*>(QStringLiteral("outputSize"))->setCurrentIndex(1);
        dialog.findChild<QComboBox*>(QStringLiteral("bitDepth"))->setCurrentIndex(1);
        dialog.findChild<QComboBox*>(QStringLiteral("cameraMode"))->setCurrentIndex(2);
        dialog.accept();
    });
    camera.driver->showFormatDialog(nullptr);
    const auto header = camera.header();
    EXPECT_EQ(header.biWidth, 320);
    EXPECT_EQ(header.biHeight, 240);
    EXPECT_EQ(header.biBitCount, 32);
    EXPECT_EQ(camera.settings->modeIndex, 1);
    EXPECT_EQ(camera.record->usedModes, (std::vector<int>{0, 1}));
    EXPECT_EQ(camera.driver->activeMode(), 1);
}

TEST(QtCameraFormatDialog, CancelChangesNothing) {
    Camera camera;
    whenDialogOpens([](QDialog& dialog) {
        dialog.findChild<QComboBox*>(QStringLiteral("outputSize"))->setCurrentIndex(2);
        dialog.reject();
    });
    camera.driver->showFormatDialog(nullptr);
    EXPECT_EQ(camera.header().biWidth, 160);
    EXPECT_EQ(camera.record->usedModes.size(), 1U);
}

TEST(QtCameraFormatDialog, ReopensWithTheCurrentChoice) {
    Camera camera;
    camera.settings->output = platform::OutputFormat{640, 480, 32};
    camera.settings->modeIndex = 1;
    int size = -1, depth = -1, mode = -1;
    whenDialogOpens([&](QDialog& dialog) {
        size = dialog.findChild<QComboBox*>(QStringLiteral("outputSize"))->currentIndex();
        depth = dialog.findChild<QComboBox*>(QStringLiteral("bitDepth"))->currentIndex();
        mode = dialog.findChild<QComboBox*>(QStringLiteral("cameraMode"))->currentIndex();
        dialog.reject();
    });
    camera.driver->showFormatDialog(nullptr);
    EXPECT_EQ(size, 2);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(mode, 2);
}

TEST(QtCameraSourceDialog, ShowsRateBrightnessAndOnlyTheControlsTheCameraHas) {
    Camera camera({{CameraControl::Kind::Exposure, 3, 2047, 1, 250},
                   {CameraControl::Kind::Brightness, 0, 255, 1, 128}});
    camera.driver->setStreaming(true, 1, [](std::span<std::uint8_t>) {});
    for (int i = 0; i < 6; ++i)
        camera.feed->deliver(makeFrame(
            PF::Format_XRGB8888, QSize(64, 48), [](int, int) { return QColor(60, 60, 60); },
            i * 1000000LL / 30));
    QString rate, brightness, advice;
    bool hasGain = true;
    int exposure = -1;
    whenDialogOpens([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Video Source"));
        rate = labelText(dialog, "frameRate");
        brightness = labelText(dialog, "meanBrightness");
        advice = labelText(dialog, "brightnessAdvice");
        hasGain = dialog.findChild<QSlider*>(QStringLiteral("Gain")) != nullptr;
        auto* slider = dialog.findChild<QSlider*>(QStringLiteral("Exposure"));
        if (slider) {
            exposure = slider->value();
            slider->setValue(100);
        }
        dialog.findChild<QPushButton*>(QStringLiteral("close"))->click();
    });
    EXPECT_TRUE(camera.driver->showSourceDialog(nullptr));
    EXPECT_EQ(rate, QStringLiteral("30.0 frames per second"));
    EXPECT_EQ(brightness, QStringLiteral("60 of 255"));
    EXPECT_TRUE(advice.startsWith(QStringLiteral("Dark enough")));
    EXPECT_FALSE(hasGain);
    EXPECT_EQ(exposure, 250);
    ASSERT_EQ(camera.record->controlChanges.size(), 1U);
    EXPECT_EQ(camera.record->controlChanges.front().first, CameraControl::Kind::Exposure);
    EXPECT_EQ(camera.record->controlChanges.front().second, 100);
}

TEST(QtCameraSourceDialog, WarnsWhenTheRoomIsTooBright) {
    Camera camera;
    camera.driver->setStreaming(true, 1, [](std::span<std::uint8_t>) {});
    camera.feed->deliver(makeFrame(
        PF::Format_YUYV, QSize(64, 48), [](int, int) { return QColor(230, 230, 230); }, 0));
    platform::QtCameraSourceDialog dialog(*camera.driver);
    EXPECT_TRUE(labelText(dialog, "brightnessAdvice").startsWith(QStringLiteral("Too bright")));
    EXPECT_TRUE(dialog.findChildren<QSlider*>().isEmpty());
}

TEST(QtCameraSourceDialog, SaysSoWhenTheCameraIsSilent) {
    Camera camera;
    platform::QtCameraSourceDialog dialog(*camera.driver);
    EXPECT_EQ(labelText(dialog, "frameRate"), QStringLiteral("Waiting for pictures"));
    EXPECT_EQ(labelText(dialog, "meanBrightness"), QStringLiteral("Not measured yet"));
    camera.feed->fail();
    dialog.refresh();
    EXPECT_EQ(labelText(dialog, "frameRate"), QStringLiteral("No signal"));
}
