// The program on the fake cameras. Without one, it says so, tells on stderr
// what to check and ends with status 1; with
// some, each is listed once under its own name and the first is connected and
// previewed at the camera's full rate, start after start. Unplugged while
// previewed, a camera shows "No signal" over its dimmed last picture and no
// more frames; another is chosen instead, and the camera comes back when it
// is plugged in again and chosen. And the device node of a camera, for its
// controls.

#include "tests/cameras/qt/FakeCameraProgram.h"
#include "cameras/qt/QtCameraV4l2Controls.h"

#include <QDir>
#include <QTemporaryDir>

using FakeCameraProgram = cameratest::FakeCameraProgram;

TEST_F(FakeCameraProgram, StartsListsPreviewsAndFollowsCamerasUnpluggedAndPluggedInAgain) {
    ::testing::internal::CaptureStderr();
    start({});
    const QString advice = QString::fromStdString(::testing::internal::GetCapturedStderr());
    std::string name = "unchanged", version; // no index answers, none opens
    for (int index = -1; index <= 10; ++index)
        EXPECT_FALSE(source->describe(index, name, version) || source->open(index)) << index;
    EXPECT_EQ(name, "unchanged");
    EXPECT_TRUE(window().Ended());
    EXPECT_EQ(endStatus_, 1);
    EXPECT_EQ(messages_.shown().value(0).text, "No Capture Hardware Detected");
    for (const char* check :
         {"No camera was found.", "ls /dev/video*", "'video' group", "sudo usermod -aG video $USER",
          "no other program holds the camera", "start vantorel-sim"})
        EXPECT_TRUE(advice.contains(check)) << check << " in: " << advice.toStdString();
    // The second has no mode of the output size: its pictures are converted,
    // without a question.
    const fakecamera::FakeCamera first{"Caméra Ōsaka", "", ""};
    const fakecamera::FakeCamera second{"Second", "I420 320x240", ""};
    for (int run = 0; run < 20; ++run) {
        start({first, second});
        EXPECT_EQ(action("dev_0")->text().toStdString(), "Caméra Ōsaka");
        EXPECT_EQ(action("dev_1")->text().toStdString(), "Second");
        EXPECT_FALSE(action("dev_2")->isVisible());
        EXPECT_EQ(capture()->driverIndex(), 0);
        // 30 a second; a camera stalled at half rate gives 30, a loaded machine
        // somewhat under 60.
        EXPECT_GT(framesOver(2000), 35U) << "start " << run;
    }
    const int light = shownLevel();
    ASSERT_TRUE(fakecamera::plugCameras({second}));
    // Told by the device list, before any silence could tell, and said so.
    EXPECT_TRUE(capture()->signalLost());
    EXPECT_EQ(capture()->signalReason(), "The camera was unplugged.");
    // No more frames, and the last picture stays, dimmed.
    const std::uint32_t frames = capture()->deliveredFrames();
    QTest::qWait(300);
    EXPECT_EQ(capture()->deliveredFrames(), frames);
    const int dimmed = shownLevel();
    EXPECT_TRUE(dimmed > light / 5 && dimmed < light / 2) << light << " to " << dimmed;
    action("dev_1")->trigger();
    EXPECT_EQ(capture()->driverIndex(), 1);
    EXPECT_GT(framesOver(1000), 15U);
    EXPECT_FALSE(capture()->signalLost());
    ASSERT_TRUE(fakecamera::plugCameras({first, second}));
    action("dev_0")->trigger(); // under a new device now
    EXPECT_EQ(capture()->driverIndex(), 0);
    EXPECT_GT(framesOver(1000), 15U);
    EXPECT_EQ(messages_.shown().size(), 1);
}

TEST(QtCameraV4l2Node, IsTheCaptureNodeNamedLikeTheCameraInSysfs) {
    const QTemporaryDir sys;
    const struct {
        const char* node;
        QByteArray name, index;
    } nodes[] = {{"video0", "Caméra HD\n", "0\n"},
                 {"video1", "Caméra HD\n", "1\n"},
                 {"video2", "Other\n", "0\n"},
                 {"video10", "Caméra HD\n", "0\n"},
                 {"video3", "Camera with a name of 31 bytes.", "0"}};
    for (const auto& node : nodes) {
        QDir(sys.path()).mkdir(node.node);
        for (const auto& [file, text] : {std::pair{"name", node.name}, {"index", node.index}}) {
            QFile out(sys.filePath(QStringLiteral("%1/%2").arg(node.node, file)));
            out.open(QIODevice::WriteOnly);
            out.write(text);
        }
    }
    const auto find = [&](const char* id, const QString& name, int before = 0) {
        return qtcamera::QtCameraV4l2Controls::findNode(id, name, before, sys.path()).toStdString();
    };
    EXPECT_EQ(find("0", "Caméra HD"), "/dev/video0"); // not its metadata node
    EXPECT_EQ(find("1", "Caméra HD", 1), "/dev/video10");
    EXPECT_EQ(find("2", "Other"), "/dev/video2");
    EXPECT_EQ(find("3", "Camera with a name of 31 bytes. and more"), "/dev/video3"); // cut
    EXPECT_EQ(find("4", "Absent"), "");
    EXPECT_EQ(find("/dev/video7", "Any"), "/dev/video7");
}
