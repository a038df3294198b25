#pragma once
// Shared pieces of the detection tests: a capture window on a simulated
// camera (whose format sets the image size), frames laid out on the analysis
// grid, and a target that records every hit.

#include "capture/AVICAP.h"
#include "capture/ConnectionFunctions.h"
#include "detection/MotionDetection.h"
#include "detection/Testing.h"
#include "platform/CaptureService.h"
#include "platform/SimulatedCamera.h"
#include "tests/support/ScratchHome.h"

#include <QWidget>
#include <algorithm>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace detectiontest {

struct Hit {
    std::int32_t x;
    std::int32_t y;
    double score;
};
using Cell = std::pair<std::int32_t, std::int32_t>;

// Stands in for the main window: a 6000-twip target picture.
class RecordingTarget : public MotionDetection::HitTarget {
public:
    void SetHole(std::int32_t x, std::int32_t y, double score) override {
        hits.push_back({x, y, score});
    }
    float TargetHeight() const override { return height; }
    std::vector<Hit> hits;
    float height = 6000.0F;
};

using Bytes = std::vector<std::uint8_t>;
// Lights bytes `from`..2 of the compared pixel of grid cell (column, row) at
// step S in a 160 x 120 frame (rows of 480 bytes, row 0 first in memory).
inline void lightCell(Bytes& frame, Cell cell, std::int32_t step, std::uint8_t value,
                      std::int32_t from = 0) {
    const auto pixel = (std::ptrdiff_t{cell.second} * 160 + cell.first) * step * 3;
    std::fill(frame.begin() + pixel + from, frame.begin() + pixel + 3, value);
}

// Fresh detection state, private settings, a capture window connected to the
// simulated camera (160 x 120 x 24, not previewing) and a recording target.
class DetectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        MotionDetection::ResetFrameStateForTesting();
        MotionDetection::SetHitTarget(&target);
        platform::installCaptureDriverSource(&camera);
        window = ConnectionFunctions::CreateCaptureWindow("Test", platform::WS_CHILD, 0, 0, 160,
                                                          120, &host, 0);
        ASSERT_TRUE(AVICAP::DriverConnect(window, 0));
        setParameters(1, 5, 50, 20);
    }
    void TearDown() override {
        MotionDetection::SetHitTarget(nullptr);
        platform::installCaptureDriverSource(nullptr);
    }
    static void setParameters(std::int32_t n, std::int32_t s, std::int32_t t, std::int32_t m) {
        MotionDetection::SetSampleEveryNthFrame(n);
        MotionDetection::SetCompareEveryNthByte(s);
        MotionDetection::SetTolerance(t);
        MotionDetection::SetMaxLaserBeam(m);
    }
    void useImageSize(std::int32_t w, std::int32_t h) { camera.setFormat(0, w, h, 24); }
    // Exactly these bytes through the frame routine (their own allocation, so
    // a sanitizer catches any access beyond them).
    void deliver(Bytes& bytes) {
        platform::VIDEOHDR header{};
        header.lpData = bytes.data();
        header.dwBytesUsed = static_cast<std::uint32_t>(bytes.size());
        EXPECT_EQ(MotionDetection::FrameCallback(window, &header), 0);
    }
    static const MotionDetection::FrameState& state() {
        return MotionDetection::FrameStateForTesting();
    }

    testsupport::ScratchHome home;
    platform::SimulatedCamera camera;
    QWidget host; // after the camera, so its capture window goes first
    platform::CaptureHandle window = 0;
    RecordingTarget target;
};

} // namespace detectiontest
