#pragma once
// Shared pieces of the detection tests: a capture window on a simulated
// camera (whose format sets the image size), frames laid out on the analysis
// grid, and a target that records every hit.

#include "detection/MotionDetection.h"
#include "detection/Testing.h"
#include "tests/testsupport/CaptureServiceFixture.h"
#include "tests/testsupport/ScratchHome.h"

#include <algorithm>
#include <vector>

namespace detectiontest {

struct Hit {
    std::int32_t x, y;
    double score;
};
using Cell = std::pair<std::int32_t, std::int32_t>;
using Bytes = std::vector<std::uint8_t>;

// Fresh detection state, private settings, a capture window connected to the
// simulated camera (160 x 120 x 24, not previewing), and in the main window's
// place a 6000-twip target picture that records every hit.
class DetectionTest : public CaptureService, public MotionDetection::HitTarget {
protected:
    void SetUp() override {
        MotionDetection::SetHitTarget(this);
        window = connectedWindow();
        restart(5, 50, 20);
    }
    void TearDown() override { MotionDetection::SetHitTarget(nullptr); }
    // Back to the first frame with the parameters 1, S, T and M.
    static void restart(std::int32_t s, std::int32_t t, std::int32_t m) {
        MotionDetection::ResetFrameStateForTesting();
        MotionDetection::SetSampleEveryNthFrame(1);
        MotionDetection::SetCompareEveryNthByte(s);
        MotionDetection::SetTolerance(t);
        MotionDetection::SetMaxLaserBeam(m);
    }
    // Exactly these bytes through the frame routine (their own allocation, so
    // a sanitizer catches any access beyond them).
    void deliver(Bytes& bytes) {
        platform::VIDEOHDR header{};
        header.lpData = bytes.data();
        header.dwBytesUsed = static_cast<std::uint32_t>(bytes.size());
        EXPECT_EQ(MotionDetection::FrameCallback(window, &header), 0);
    }

    testsupport::ScratchHome home;
    platform::CaptureHandle window = 0;
    void SetHole(std::int32_t x, std::int32_t y, double score) override {
        hits.push_back({x, y, score});
    }
    float TargetHeight() const override { return height; }
    std::vector<Hit> hits;
    float height = 6000.0F;
    const MotionDetection::FrameState& state = MotionDetection::FrameStateForTesting();
};

} // namespace detectiontest
