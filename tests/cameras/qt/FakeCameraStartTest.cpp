// Start-up on the fake cameras: each listed once under its own name, the
// first connected and previewed at the camera's full rate, start after start;
// the format question; the device node of a camera for its controls.

#include "cameras/qt/QtCameraV4l2Controls.h"
#include "tests/cameras/qt/FakeCameraProgram.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

using cameratest::FakeCamera;

namespace {

class FakeCameraStart : public cameratest::FakeCameraProgram {};

} // namespace

TEST_F(FakeCameraStart, ListsEachCameraOnceByItsNameAndPreviewsTheFirstAtFullRate) {
    start({{"Caméra Ōsaka", "", ""}, {"Second", "YUY2 320x240", ""}});
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(entry(0).text().toStdString(), "Caméra Ōsaka");
    EXPECT_EQ(entry(1).text().toStdString(), "Second");
    EXPECT_FALSE(entry(2).isVisible());
    EXPECT_EQ(capture().driverIndex(), 0);
    EXPECT_GT(framesOver(3000), 60U); // 30 a second; half rate would be 45
}

TEST_F(FakeCameraStart, NoneOfTwentyStartsStallsOrRunsAtHalfRate) {
    ASSERT_TRUE(cameratest::plugCameras({{"Camera", "YUY2 640x480", ""}}));
    for (int run = 0; run < 20; ++run) {
        restart();
        EXPECT_GT(framesOver(2000), 40U) << "start " << run; // half rate: 30
    }
}

TEST_F(FakeCameraStart, ACameraWithout160x120IsConvertedButAnotherSizeIsQuestioned) {
    start({{"Wide", "BGRx 1280x720, YUY2 640x480", ""}});
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_GT(framesOver(500), 0U);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QComboBox*>("outputSize")->setCurrentText("320 x 240");
        dialog->accept();
    });
    window->frt_Click();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().front().text,
              "Please Set Video Format: 160x120x24bit!   Do You Want To Continue?");
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
        return platform::QtCameraV4l2Controls::findNode(id, name, before, sys.path()).toStdString();
    };
    EXPECT_EQ(find("0", "Caméra HD"), "/dev/video0"); // not its metadata node
    EXPECT_EQ(find("1", "Caméra HD", 1), "/dev/video10");
    EXPECT_EQ(find("2", "Other"), "/dev/video2");
    EXPECT_EQ(find("3", "Camera with a name of 31 bytes. and more"), "/dev/video3"); // cut
    EXPECT_EQ(find("4", "Absent"), "");
    EXPECT_EQ(find("/dev/video7", "Any"), "/dev/video7");
}
