// Cameras unplugged while the program previews them: "No signal" over the
// dimmed last picture and no more frames; another camera chosen instead, and
// the camera back when it is plugged in again and chosen. Neither camera has
// the output size: their pictures are converted without a question.

#include "tests/cameras/qt/FakeCameraProgram.h"

#include <QImage>

namespace {

class FakeCameraUnplug : public cameratest::FakeCameraProgram {
protected:
    // No frame reaches the frame routine for a while.
    bool staysSilent() {
        const std::uint32_t before = capture().deliveredFrames();
        QTest::qWait(300);
        return capture().deliveredFrames() == before;
    }
    bool previews() {
        const std::uint32_t before = capture().deliveredFrames();
        return QTest::qWaitFor([&] { return capture().deliveredFrames() > before + 5; }, 5000) &&
               !capture().signalLost();
    }
    // The grey level shown near the right edge, where the grey ramp is light.
    int shownLevel() {
        const QImage shown = capture().grab().toImage();
        return qGray(shown.pixel(shown.width() - 5, 5));
    }
};

const cameratest::FakeCamera First{"First", "YUY2 640x480", ""};
const cameratest::FakeCamera Second{"Second", "I420 320x240", ""};

} // namespace

TEST_F(FakeCameraUnplug, IsSeenAtOnceAndAnotherOrTheReturningCameraIsChosen) {
    start({First, Second});
    ASSERT_TRUE(previews());
    const int light = shownLevel();
    ASSERT_TRUE(cameratest::plugCameras({Second}));
    // Told by the device list, before any silence could tell.
    EXPECT_TRUE(capture().signalLost());
    EXPECT_TRUE(staysSilent());
    const int dimmed = shownLevel(); // the last picture stays
    EXPECT_TRUE(dimmed > light / 5 && dimmed < light / 2) << light << " to " << dimmed;
    entry(1).trigger();
    EXPECT_EQ(capture().driverIndex(), 1);
    EXPECT_TRUE(previews());
    ASSERT_TRUE(cameratest::plugCameras({First, Second}));
    entry(0).trigger(); // under a new device now
    EXPECT_EQ(capture().driverIndex(), 0);
    EXPECT_TRUE(previews());
    EXPECT_TRUE(messages.shown().isEmpty());
}
