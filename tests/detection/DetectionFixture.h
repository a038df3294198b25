#pragma once
// Shared pieces of the detection tests: a capture window connected to a
// driver that reports a chosen image size, frames laid out on the analysis
// grid, and a target that records every hit.

#include "detection/HitTarget.h"
#include "platform/CaptureDriver.h"
#include "platform/CaptureRecords.h"
#include "tests/support/ScratchHome.h"

#include <QWidget>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace detectiontest {

struct Hit {
    std::int32_t x;
    std::int32_t y;
    double score;
};

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

// Drivers whose format reports the given width and height; they deliver no
// frames of their own (the tests hand frames to the frame routine).
class FixedFormatSource : public platform::CaptureDriverSource {
public:
    std::int32_t width = 160;
    std::int32_t height = 120;
    std::int16_t bitCount = 24;

    bool describe(int index, std::string& name, std::string& version) override;
    std::unique_ptr<platform::CaptureDriver> open(int index) override;
};

// A frame of W x H pixels, B bytes a pixel, rows of W x B bytes (no
// padding unless given), row 0 first in memory.
class Frame {
public:
    Frame(std::int32_t width, std::int32_t height, std::int32_t bytesPerPixel = 3,
          std::int32_t rowBytes = 0);

    // Every byte of the pixel at (x, row).
    void setPixel(std::int32_t x, std::int32_t row, std::uint8_t value);
    // The compared pixel of grid cell (column, row) for step S.
    void setCell(std::int32_t column, std::int32_t row, std::int32_t step, std::uint8_t value);
    void fill(std::uint8_t value);
    std::uint8_t byteAt(std::int32_t x, std::int32_t row, std::int32_t b = 0) const;

    std::vector<std::uint8_t> bytes;
    std::int32_t width;
    std::int32_t height;
    std::int32_t bytesPerPixel;
    std::int32_t rowBytes;
};

// Process-wide detection state reset, private settings, a connected capture
// window (160 x 120 unless changed) and a recording target.
class DetectionTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Reconnects the window to a driver that reports this size.
    void useImageSize(std::int32_t width, std::int32_t height);
    // The four setters, in the start-up's order.
    void setParameters(std::int32_t n, std::int32_t s, std::int32_t t, std::int32_t m);
    // One frame through the frame routine; the byte count defaults to the frame's.
    void deliver(Frame& frame);
    void deliver(Frame& frame, std::uint32_t bytesUsed);

    testsupport::ScratchHome home;
    FixedFormatSource source;
    std::unique_ptr<QWidget> host;
    platform::CaptureHandle window = 0;
    RecordingTarget target;
};

} // namespace detectiontest
