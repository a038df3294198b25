#pragma once
// The capture driver of a camera read through Qt Multimedia. It turns every
// camera frame that falls due into the output format and hands it to the
// capture window, measures the camera's frame rate and the picture's
// brightness for the source dialog, and notices when the camera stops
// delivering ("No signal").

#include "cameras/qt/QtCameraFeed.h"
#include "cameras/qt/QtCameraSettings.h"
#include "capture/service/CaptureDriver.h"
#include "capture/service/FrameStamps.h"
#include "capture/service/PreviewRateLimiter.h"

#include <QElapsedTimer>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace qtcamera {

class QtCameraDriver : public capture::CaptureDriver {
public:
    // Starts the feed in the mode the settings name (or the closest one).
    QtCameraDriver(std::unique_ptr<QtCameraFeed> feed, std::shared_ptr<QtCameraSettings> settings);
    ~QtCameraDriver() override;
    QtCameraDriver(const QtCameraDriver&) = delete;
    QtCameraDriver& operator=(const QtCameraDriver&) = delete;

    // CaptureDriver
    QByteArray videoFormat() const override;
    bool hasFormatDialog() const override { return true; }
    bool hasSourceDialog() const override { return true; }
    bool showFormatDialog(QWidget* parent) override;
    bool showSourceDialog(QWidget* parent) override;
    void setStreaming(bool on, int periodMs, FrameSink sink) override;
    void setSignalSink(SignalSink sink) override;
    std::optional<std::chrono::steady_clock::time_point> frameTime() const override {
        return frameTime_;
    }

    // Camera frames per second over the last frames; 0 before two frames.
    double measuredFrameRate() const;
    // Mean brightness (0..255) of the last delivered picture; none yet.
    std::optional<int> meanBrightness() const { return brightness_; }
    bool signalLost() const { return lost_; }
    // Why the camera stopped for good, as the system said it; empty while it
    // runs or when it only fell silent.
    const QString& failure() const { return failure_; }
    // How long the camera may stay silent before the signal counts as lost.
    void setSignalTimeout(int ms);
    static constexpr int DefaultSignalTimeoutMs = 3000;

    QtCameraFeed& feed() { return *feed_; }
    QtCameraSettings& settings() { return *settings_; }
    // The mode the camera runs in, an index of feed().modes(); -1 if none.
    int activeMode() const { return activeMode_; }

private:
    void frameArrived(const QVideoFrame& frame);
    void setLost(bool lost);
    std::int64_t timeOf(const QVideoFrame& frame) const;
    int wantedMode() const;
    void applyMode();

    std::unique_ptr<QtCameraFeed> feed_;
    std::shared_ptr<QtCameraSettings> settings_;
    int activeMode_ = -1;
    bool streaming_ = false;
    FrameSink sink_;
    SignalSink signalSink_;
    capture::PreviewRateLimiter limiter_;
    QTimer watchdog_;
    bool lost_ = false;
    bool failed_ = false; // the feed said it stopped for good
    QString failure_;
    QElapsedTimer clock_;
    std::deque<std::int64_t> arrivals_; // time stamps of the last camera frames
    std::optional<int> brightness_;
    std::vector<std::uint8_t> frame_;
    capture::FrameStamps stamps_; // the camera's buffer times on the shot clock
    // The capture time of the frame in the sink, while it is there.
    std::optional<std::chrono::steady_clock::time_point> frameTime_;
};

} // namespace qtcamera
