// End to end: the simulated camera's frames flow through a capture window
// into the frame routine, and a laser pulse at a point of ring r comes out
// as a hit that the score card would record as r.

#include "capture/AVICAP.h"
#include "capture/CallBackFunctions.h"
#include "capture/ConnectionFunctions.h"
#include "detection/MotionDetection.h"
#include "detection/Testing.h"
#include "platform/CaptureService.h"
#include "platform/CaptureWindow.h"
#include "platform/SimulatedCamera.h"
#include "tests/detection/DetectionFixture.h"

#include <QWidget>
#include <cmath>

namespace detectiontest {
namespace {

class SimulatedRange : public ::testing::Test {
protected:
    void SetUp() override {
        MotionDetection::ResetFrameStateForTesting();
        MotionDetection::SetHitTarget(&target);
        MotionDetection::SetSampleEveryNthFrame(1);
        MotionDetection::SetCompareEveryNthByte(5);
        MotionDetection::SetTolerance(50);
        MotionDetection::SetMaxLaserBeam(20);
        camera.scene().noise = 4.0;
        camera.scene().dotRadius = 6.0;
        platform::installCaptureDriverSource(&camera);
        window = ConnectionFunctions::CreateCaptureWindow(
            "Range", platform::WS_CHILD | platform::WS_VISIBLE, 30, 28, 160, 120, &host, 0);
        ASSERT_TRUE(ConnectionFunctions::ConnectToDriver(window, 0));
        CallBackFunctions::RegisterFrameCallback(window, MotionDetection::FrameCallback);
        AVICAP::SetPreviewFrameRate(window, 30);
        AVICAP::SetPreview(window, true);
        // The first frame meets empty buffers; the second settles.
        deliver(2);
        target.hits.clear();
    }
    void TearDown() override {
        CallBackFunctions::ClearCallbacks(window);
        MotionDetection::SetHitTarget(nullptr);
        platform::installCaptureDriverSource(nullptr);
    }

    void deliver(int frames) {
        for (int i = 0; i < frames; ++i)
            camera.deliverNextFrame();
    }

    static int ring(double score) { return std::min(static_cast<int>(std::floor(score)) + 1, 10); }

    testsupport::ScratchHome home;
    platform::SimulatedCamera camera;
    QWidget host; // goes before the camera
    platform::CaptureHandle window = 0;
    RecordingTarget target;
};

enum class Direction { Left, Right, Up, Down };

struct PulseCase {
    int ring;
    Direction direction;
};

class PulseOnRing : public SimulatedRange, public ::testing::WithParamInterface<PulseCase> {};

TEST_P(PulseOnRing, IsScoredInThatRing) {
    const auto [wantedRing, direction] = GetParam();
    // The grid's centre lies at pixel (80, 59) of the top-down picture (pixel
    // centres at +0.5); the rings are 6 pixels wide, ring 10 inside 6 pixels.
    const double distance = (10.5 - wantedRing) * 6.0;
    double x = 80.5;
    double y = 59.5;
    switch (direction) {
    case Direction::Left:
        x -= distance;
        break;
    case Direction::Right:
        x += distance;
        break;
    case Direction::Up:
        y -= distance;
        break;
    case Direction::Down:
        y += distance;
        break;
    }
    camera.firePulse(QPointF(x / 160.0, y / 120.0), 2);
    deliver(4);

    // The dot appears, stays one frame, and vanishes: two changes, one place.
    ASSERT_EQ(target.hits.size(), 2U);
    for (const Hit& hit : target.hits) {
        EXPECT_EQ(ring(hit.score), wantedRing) << "score " << hit.score;
        // Positive X lies further right in the picture, positive Y higher up.
        switch (direction) {
        case Direction::Left:
            EXPECT_LT(hit.x, 0);
            break;
        case Direction::Right:
            EXPECT_GT(hit.x, 0);
            break;
        case Direction::Up:
            EXPECT_GT(hit.y, 0);
            break;
        case Direction::Down:
            EXPECT_LT(hit.y, 0);
            break;
        }
    }
}

std::vector<PulseCase> allPulses() {
    std::vector<PulseCase> cases;
    for (const int ring : {10, 8, 5, 2})
        for (const Direction d :
             {Direction::Left, Direction::Right, Direction::Up, Direction::Down})
            cases.push_back({ring, d});
    return cases;
}

std::string pulseName(const ::testing::TestParamInfo<PulseCase>& info) {
    static const char* const names[] = {"Left", "Right", "Up", "Down"};
    return "Ring" + std::to_string(info.param.ring) + names[static_cast<int>(info.param.direction)];
}

INSTANTIATE_TEST_SUITE_P(Rings, PulseOnRing, ::testing::ValuesIn(allPulses()), pulseName);

TEST_F(SimulatedRange, QuietRangeGivesNoHits) {
    deliver(20);
    EXPECT_TRUE(target.hits.empty());
}

TEST_F(SimulatedRange, PreviewShowsTheCross) {
    const platform::CaptureWindow* capture = platform::findCaptureWindow(window);
    ASSERT_NE(capture, nullptr);
    const QImage shown = capture->shownImage();
    ASSERT_EQ(shown.size(), QSize(160, 120));
    // Memory row 60 of the bottom-up frame is picture row 59.
    EXPECT_EQ(shown.pixel(10, 59), qRgb(255, 255, 255));
    EXPECT_EQ(shown.pixel(80, 5), qRgb(255, 255, 255));
    EXPECT_NE(shown.pixel(10, 30), qRgb(255, 255, 255));
}

TEST_F(SimulatedRange, EveryFrameIsCounted) {
    const std::int32_t before = MotionDetection::FrameStateForTesting().FrameCount;
    deliver(7);
    EXPECT_EQ(MotionDetection::FrameStateForTesting().FrameCount, before + 7);
}

} // namespace
} // namespace detectiontest
