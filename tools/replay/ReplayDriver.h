#pragma once
// A capture driver that serves recorded frames: 160 x 120, 24 bits, rows
// bottom-up. The replay pushes each frame through the capture window that
// has it connected, exactly as a camera would deliver it.

#include "capture/service/CaptureDriver.h"

#include <cstdint>
#include <vector>

namespace replay {

class ReplayDriver : public platform::CaptureDriver {
public:
    QByteArray videoFormat() const override;
    bool hasFormatDialog() const override { return false; }
    bool hasSourceDialog() const override { return false; }
    bool showFormatDialog(QWidget* /*parent*/) override { return false; }
    bool showSourceDialog(QWidget* /*parent*/) override { return false; }
    void setStreaming(bool on, int periodMs, FrameSink sink) override;

    // Hands one frame to the capture window; false when it is not streaming.
    bool push(std::vector<std::uint8_t>& frame);

private:
    FrameSink sink_;
};

// The one driver, at index 0.
class ReplayDriverSource : public platform::CaptureDriverSource {
public:
    bool describe(int index, std::string& name, std::string& version) override;
    std::unique_ptr<platform::CaptureDriver> open(int index) override;
    // The driver the capture window opened last; null before.
    ReplayDriver* driver() const { return driver_; }

private:
    ReplayDriver* driver_ = nullptr;
};

} // namespace replay
