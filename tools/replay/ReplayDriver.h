#pragma once
// A capture driver that serves frames its user pushes: recorded frames for
// the replay, made-up ones for the fuzz targets and benchmarks. Each frame
// goes through the capture window that has the driver connected, exactly as
// a camera would deliver it. It reports 160 x 120, 24 bits, rows bottom-up,
// unless told to report another format record.

#include "capture/service/CaptureDriver.h"
#include "capture/service/FrameLayout.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace replay {

class ReplayDriver : public capture::CaptureDriver {
public:
    QByteArray videoFormat() const override { return format_; }
    void setVideoFormat(QByteArray format) { format_ = std::move(format); }
    bool hasFormatDialog() const override { return false; }
    bool hasSourceDialog() const override { return false; }
    bool showFormatDialog(QWidget* /*parent*/) override { return false; }
    bool showSourceDialog(QWidget* /*parent*/) override { return false; }
    void setStreaming(bool on, int periodMs, FrameSink sink) override;

    // Hands one frame, with the camera's picture it was made from when there
    // is one, to the capture window; false when it is not streaming.
    bool push(std::vector<std::uint8_t>& frame, const capture::FullFrame* picture = nullptr);

private:
    QByteArray format_ = capture::FrameLayout{}.videoFormat();
    FrameSink sink_;
};

// The one driver, at index 0.
class ReplayDriverSource : public capture::CaptureDriverSource {
public:
    bool describe(int index, std::string& name, std::string& version) override;
    std::unique_ptr<capture::CaptureDriver> open(int index) override;
    // The driver the capture window opened last; null before.
    ReplayDriver* driver() const { return driver_; }

private:
    ReplayDriver* driver_ = nullptr;
};

} // namespace replay
