#pragma once
// The capture window: a child widget that owns the connection to one capture
// driver, streams its frames while the preview is on, hands each delivered
// frame to the registered frame routine and then shows that frame, scaled to
// the widget. Every window has a process-wide handle that is never reused.

#include "capture/CaptureRecords.h"
#include "capture/service/CaptureDriver.h"
#include "capture/service/FrameLayout.h"
#include "capture/service/PreviewRateLimiter.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QImage>
#include <QWidget>
#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace capture {

class CaptureWindow : public QWidget {
    Q_OBJECT
public:
    // The window registers itself under a fresh handle.
    explicit CaptureWindow(QWidget* parent);
    ~CaptureWindow() override;

    CaptureHandle handle() const { return handle_; }
    static CaptureWindow* find(CaptureHandle handle);

    // The driver: connecting drops (and stops) the current one first; the
    // preview is left off until it is switched on again.
    void connectDriver(std::unique_ptr<CaptureDriver> driver, int index);
    bool isConnected() const { return driver_ != nullptr; }
    int driverIndex() const { return driverIndex_; }
    CaptureDriver* driver() const { return driver_.get(); }

    // The driver's output format (BITMAPINFOHEADER and what follows); empty
    // without a driver.
    QByteArray videoFormat() const;
    BITMAPINFOHEADER formatHeader() const;

    CAPTUREPARMS& captureParms() { return parms_; }
    CAPSTATUS status() const;

    void setPreview(bool on);
    bool isPreviewing() const { return preview_; }
    void setPreviewPeriod(int periodMs);
    int previewPeriod() const { return periodMs_; }

    // Callback addresses by message; the frame callback is the one called.
    void setCallback(std::uint32_t message, std::intptr_t address);
    std::intptr_t callback(std::uint32_t message) const;

    // Modal driver dialogs; true when the driver has the dialog.
    bool runFormatDialog();
    bool runSourceDialog();

    // The last frame shown (top-down RGB, after the frame routine drew into
    // it); null before the first frame.
    QImage shownImage() const;
    // The camera's own picture of the frame being handed to the frame
    // routine; null outside the routine or when the driver has none.
    const FullFrame* deliveredPicture() const { return deliveredPicture_; }
    // When the frame being handed to the frame routine was captured, on the
    // shot clock: the driver's stamp, or the time it arrived; none outside
    // the routine.
    std::optional<std::chrono::steady_clock::time_point> deliveredTime() const {
        return deliveredTime_;
    }
    // Frames handed to the frame routine since the window was created.
    std::uint32_t deliveredFrames() const { return delivered_; }
    // True while the driver's camera has stopped delivering: the preview
    // shows the last frame dimmed, with "No signal".
    bool signalLost() const { return signalLost_; }
    // The driver's reason for the loss, shown under "No signal"; may be empty.
    const QString& signalReason() const { return signalReason_; }

    // While one of these lives, frames reach the window whatever the time
    // since the last one (a simulated camera's "deliver now").
    class ImmediateDelivery {
    public:
        ImmediateDelivery();
        ~ImmediateDelivery();
        ImmediateDelivery(const ImmediateDelivery&) = delete;
        ImmediateDelivery& operator=(const ImmediateDelivery&) = delete;
    };

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void receiveFrame(std::span<std::uint8_t> frame, const FullFrame* picture);
    bool dueForDelivery();
    void deliver(std::span<std::uint8_t> frame, const FullFrame* picture);
    void show(std::span<const std::uint8_t> frame);
    void updateStreaming();
    void startStreaming();
    void retire(std::unique_ptr<CaptureDriver> driver);

    CaptureHandle handle_ = 0;
    std::unique_ptr<CaptureDriver> driver_;
    int driverIndex_ = 0;
    // Drivers dropped while one of their frames was being delivered; freed
    // once the delivery is over, so the frame buffer stays valid meanwhile.
    std::vector<std::unique_ptr<CaptureDriver>> retired_;
    int deliveryDepth_ = 0;
    CAPTUREPARMS parms_{};
    bool preview_ = false;
    bool streaming_ = false;
    int periodMs_ = 66;
    std::array<std::intptr_t, 7> callbacks_{};
    PreviewRateLimiter limiter_{periodMs_};
    QElapsedTimer clock_; // the limiter's time
    QElapsedTimer sincePreviewStart_;
    std::uint32_t delivered_ = 0;
    const FullFrame* deliveredPicture_ = nullptr;
    std::optional<std::chrono::steady_clock::time_point> deliveredTime_;
    // The last frame's bytes, made into a picture only when one is asked
    // for: a replay runs thousands of frames a second that no one sees.
    std::vector<std::uint8_t> shownFrame_;
    FrameLayout shownLayout_;
    mutable QImage shown_;
    mutable bool shownStale_ = false;
    bool signalLost_ = false;
    QString signalReason_;
};

} // namespace capture
