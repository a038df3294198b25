// The camera's format and source dialogs, driven headless.

#include "SyntheticFeed.h"
#include "SyntheticFrames.h"
#include "platform/QtCameraSourceDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <array>
#include <functional>
#include <gtest/gtest.h>

using cameratest::FedDriver;
using cameratest::greyFrame;
using platform::CameraControl;
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

QString labelText(QDialog& dialog, const char* name) {
    auto* label = dialog.findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<missing>");
}

struct FormatDialogSeen {
    std::array<QStringList, 3> items;
    std::array<int, 3> current{};
};

// Opens the format dialog, notes its size, depth and mode boxes, picks the
// given entries and presses OK or Cancel.
FormatDialogSeen useFormatDialog(FedDriver& camera, std::array<int, 3> pick, bool accept) {
    FormatDialogSeen seen;
    whenDialogOpens([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Video Format"));
        for (int i = 0; const char* name : {"outputSize", "bitDepth", "cameraMode"}) {
            auto* box = dialog.findChild<QComboBox*>(QLatin1String(name));
            ASSERT_NE(box, nullptr) << name;
            for (int j = 0; j < box->count(); ++j)
                seen.items[i] << box->itemText(j);
            seen.current[i] = box->currentIndex();
            box->setCurrentIndex(pick[i++]);
        }
        accept ? dialog.accept() : dialog.reject();
    });
    EXPECT_TRUE(camera.driver->showFormatDialog(nullptr));
    return seen;
}

} // namespace

TEST(QtCameraFormatDialog, OffersSizesDepthsAndModesAndKeepsOnlyAnAcceptedChoice) {
    FedDriver camera(
        {{QSize(640, 480), 30, PF::Format_YUYV}, {QSize(1280, 720), 10, PF::Format_Jpeg}});
    const auto first = useFormatDialog(camera, {2, 1, 2}, false);
    EXPECT_EQ(first.items[0], (QStringList{"160 x 120", "320 x 240", "640 x 480"}));
    EXPECT_EQ(first.items[1], (QStringList{"24 bits", "32 bits"}));
    ASSERT_EQ(first.items[2].size(), 3);
    EXPECT_TRUE(first.items[2][1].startsWith(QStringLiteral("640 x 480, 30 fps")));
    EXPECT_TRUE(first.items[2][2].startsWith(QStringLiteral("1280 x 720, 10 fps")));
    EXPECT_EQ(camera.header().biWidth, 160); // cancelled
    EXPECT_EQ(camera.record->usedModes, std::vector<int>{0});

    useFormatDialog(camera, {1, 1, 2}, true);
    EXPECT_EQ(camera.header().biWidth, 320);
    EXPECT_EQ(camera.header().biHeight, 240);
    EXPECT_EQ(camera.header().biBitCount, 32);
    EXPECT_EQ(camera.settings->modeIndex, 1);
    EXPECT_EQ(camera.record->usedModes, (std::vector<int>{0, 1}));
    EXPECT_EQ(camera.driver->activeMode(), 1);
    EXPECT_EQ(useFormatDialog(camera, {0, 0, 0}, false).current, (std::array<int, 3>{1, 1, 2}));
}

TEST(QtCameraSourceDialog, ShowsRateBrightnessAndOnlyTheControlsTheCameraHas) {
    FedDriver camera({}, {{CameraControl::Kind::Exposure, 3, 2047, 1, 250},
                          {CameraControl::Kind::Brightness, 0, 255, 1, 128}});
    camera.stream(1);
    for (int i = 0; i < 6; ++i)
        camera.feed->deliver(greyFrame(60, i * 1000000LL / 30, PF::Format_XRGB8888));
    QString rate, brightness, advice;
    bool hasGain = true;
    int exposure = -1;
    whenDialogOpens([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Video Source"));
        rate = labelText(dialog, "frameRate");
        brightness = labelText(dialog, "meanBrightness");
        advice = labelText(dialog, "brightnessAdvice");
        hasGain = dialog.findChild<QSlider*>(QStringLiteral("Gain")) != nullptr;
        if (auto* slider = dialog.findChild<QSlider*>(QStringLiteral("Exposure"))) {
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
    using Change = std::pair<CameraControl::Kind, int>;
    EXPECT_EQ(camera.record->controlChanges,
              (std::vector{Change{CameraControl::Kind::Exposure, 100}}));
}

TEST(QtCameraSourceDialog, SaysSoWhenTheCameraIsSilentLostOrTooBright) {
    FedDriver camera;
    platform::QtCameraSourceDialog dialog(*camera.driver);
    EXPECT_EQ(labelText(dialog, "frameRate"), QStringLiteral("Waiting for pictures"));
    EXPECT_EQ(labelText(dialog, "meanBrightness"), QStringLiteral("Not measured yet"));
    EXPECT_TRUE(dialog.findChildren<QSlider*>().isEmpty());
    camera.stream(1);
    camera.feed->deliver(greyFrame(230, 0));
    dialog.refresh();
    EXPECT_TRUE(labelText(dialog, "brightnessAdvice").startsWith(QStringLiteral("Too bright")));
    camera.feed->fail();
    dialog.refresh();
    EXPECT_EQ(labelText(dialog, "frameRate"), QStringLiteral("No signal"));
}
