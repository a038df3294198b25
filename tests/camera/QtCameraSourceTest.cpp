// The list of real cameras and the choice of a camera's mode.

#include "platform/QtCameraSource.h"
#include "platform/QtCameraModes.h"
#include "platform/QtCameraV4l2Controls.h"

#include <gtest/gtest.h>

using platform::CameraMode;
using platform::chooseCameraMode;
using PF = QVideoFrameFormat::PixelFormat;

TEST(QtCameraSource, NoCamerasMeansNoDriverAnswers) {
    platform::QtCameraSource source(QList<QCameraDevice>{});
    EXPECT_EQ(source.count(), 0);
    for (int index = -1; index <= 10; ++index) {
        std::string name = "unchanged", version = "unchanged";
        EXPECT_FALSE(source.describe(index, name, version)) << index;
        EXPECT_EQ(name, "unchanged");
        EXPECT_EQ(source.open(index), nullptr) << index;
    }
}

TEST(QtCameraSource, KeepsEachDriversFormatChoiceAcrossConnections) {
    platform::QtCameraSource source(QList<QCameraDevice>{});
    source.settings(3)->output.width = 320;
    EXPECT_EQ(source.settings(3)->output.width, 320);
    EXPECT_EQ(source.settings(2)->output.width, 160);
    EXPECT_EQ(source.settings(10), nullptr);
}

TEST(QtCameraSource, VersionNamesTheBackend) {
    qunsetenv("QT_MEDIA_BACKEND");
#ifdef Q_OS_LINUX
    EXPECT_EQ(platform::QtCameraSource::backendName(), QStringLiteral("gstreamer"));
#endif
    qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    EXPECT_EQ(platform::QtCameraSource::backendName(), QStringLiteral("ffmpeg"));
    qunsetenv("QT_MEDIA_BACKEND");
}

TEST(QtCameraV4l2Controls, SomethingThatIsNoCameraOffersNoControls) {
    for (const char* path : {"/dev/null", "/nonexistent/video0", "not a path"}) {
        platform::QtCameraV4l2Controls controls{QString::fromLatin1(path)};
        EXPECT_TRUE(controls.list().empty()) << path;
        EXPECT_FALSE(controls.set(platform::CameraControl::Kind::Gain, 1)) << path;
    }
}

TEST(CameraModeChoice, PrefersTheSmallestModeAtLeastAsLargeAsTheOutput) {
    const std::vector<CameraMode> modes{{QSize(1280, 720), 30, PF::Format_YUYV},
                                        {QSize(640, 480), 30, PF::Format_YUYV},
                                        {QSize(176, 144), 30, PF::Format_YUYV},
                                        {QSize(320, 240), 30, PF::Format_YUYV}};
    EXPECT_EQ(chooseCameraMode(modes, QSize(160, 120)), 2);
    EXPECT_EQ(chooseCameraMode(modes, QSize(320, 240)), 3);
    EXPECT_EQ(chooseCameraMode(modes, QSize(640, 480)), 1);
}

TEST(CameraModeChoice, ThirtyFramesASecondComeBeforeSize) {
    const std::vector<CameraMode> modes{{QSize(160, 120), 15, PF::Format_YUYV},
                                        {QSize(1280, 720), 29.97F, PF::Format_YUYV}};
    EXPECT_EQ(chooseCameraMode(modes, QSize(160, 120)), 1);
}

TEST(CameraModeChoice, TooSmallModesOnlyWhenNothingLarger) {
    const std::vector<CameraMode> modes{{QSize(160, 120), 30, PF::Format_YUYV},
                                        {QSize(320, 240), 30, PF::Format_YUYV}};
    EXPECT_EQ(chooseCameraMode(modes, QSize(640, 480)), 1);
}

TEST(CameraModeChoice, DirectLayoutsBeforeCompressedOnes) {
    const std::vector<CameraMode> modes{{QSize(640, 480), 30, PF::Format_Jpeg},
                                        {QSize(640, 480), 30, PF::Format_NV12}};
    EXPECT_EQ(chooseCameraMode(modes, QSize(160, 120)), 1);
}

TEST(CameraModeChoice, NoModesNoChoice) {
    EXPECT_EQ(chooseCameraMode({}, QSize(160, 120)), -1);
}

TEST(CameraModeChoice, LabelNamesSizeRateAndLayout) {
    const CameraMode mode{QSize(640, 480), 30, PF::Format_YUYV};
    EXPECT_EQ(mode.label(), QStringLiteral("640 x 480, 30 fps, YUYV"));
}
