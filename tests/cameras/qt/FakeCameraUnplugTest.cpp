// Cameras unplugged while the program previews them: "No signal" and no more
// frames, the preview back when the camera is plugged in again and chosen,
// and another camera chosen when one is gone.

#include "tests/cameras/qt/FakeCameraProgram.h"

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
};

const cameratest::FakeCamera First{"First", "YUY2 640x480", ""};
const cameratest::FakeCamera Second{"Second", "I420 320x240", ""};

} // namespace

TEST_F(FakeCameraUnplug, IsSeenAtOnceAndTheCameraComesBackWhenPluggedInAndChosen) {
    start({First});
    ASSERT_TRUE(previews());
    ASSERT_TRUE(cameratest::plugCameras({}));
    // Told by the device list, before any silence could tell.
    EXPECT_TRUE(capture().signalLost());
    EXPECT_TRUE(staysSilent());
    ASSERT_TRUE(cameratest::plugCameras({First}));
    entry(0).trigger(); // under a new device now
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_TRUE(previews());
}

TEST_F(FakeCameraUnplug, ChoosingTheOtherCameraConnectsIt) {
    start({First, Second});
    ASSERT_TRUE(previews());
    ASSERT_TRUE(cameratest::plugCameras({Second}));
    EXPECT_TRUE(capture().signalLost());
    entry(1).trigger();
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(capture().driverIndex(), 1);
    EXPECT_TRUE(previews());
}
