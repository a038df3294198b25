#pragma once
// One opened driver of the simulated camera: its output format, its dialogs
// and a timer that renders and hands out frames while streaming.

#include "cameras/sim/SimulatedCameraRenderer.h"
#include "cameras/sim/SimulatedCameraState.h"
#include "capture/service/CaptureDriver.h"

#include <QTimer>
#include <memory>
#include <vector>

namespace simcamera {

class SimulatedDriver : public capture::CaptureDriver {
public:
    SimulatedDriver(std::shared_ptr<SimulatedCameraState> state, int index,
                    SimulatedDriverConfig config);
    ~SimulatedDriver() override;
    SimulatedDriver(const SimulatedDriver&) = delete;
    SimulatedDriver& operator=(const SimulatedDriver&) = delete;

    int index() const { return index_; }
    bool isStreaming() const { return static_cast<bool>(sink_); }
    void setFormat(std::int32_t width, std::int32_t height, std::int16_t bitCount);
    // Renders the next frame and hands it to the sink (if streaming).
    void produceFrame();

    QByteArray videoFormat() const override;
    bool hasFormatDialog() const override { return config_.hasFormatDialog; }
    bool hasSourceDialog() const override { return config_.hasSourceDialog; }
    bool showFormatDialog(QWidget* parent) override;
    bool showSourceDialog(QWidget* parent) override;
    void setStreaming(bool on, int periodMs, FrameSink sink) override;
    // The shot clock's time when the frame was rendered: the range's camera
    // captures at once, so a test that sets the clock knows every frame's time.
    std::optional<std::chrono::steady_clock::time_point> frameTime() const override {
        return frameTime_;
    }

private:
    std::shared_ptr<SimulatedCameraState> state_;
    int index_;
    SimulatedDriverConfig config_;
    SimulatedCameraRenderer renderer_;
    std::vector<std::uint8_t> frame_;
    FrameSink sink_;
    QTimer timer_;
    std::optional<std::chrono::steady_clock::time_point> frameTime_;
};

} // namespace simcamera
