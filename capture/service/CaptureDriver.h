#pragma once
// A capture driver: one camera (real or simulated) opened by a capture window.
// The capture window owns it, asks it for its format and dialogs, and receives
// its frames, already in the driver's output format, on the GUI thread.

#include "capture/CaptureRecords.h"
#include "capture/FullFrame.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

class QWidget;

namespace capture {

class CaptureDriver {
public:
    // Called with one frame in the output format (BITMAPINFOHEADER of
    // videoFormat()); the bytes may be changed by the receiver. Beside it the
    // camera's own picture, valid during the call, or null for a driver
    // that has none larger than the frame.
    using FrameSink = std::function<void(std::span<std::uint8_t> frame, const FullFrame* picture)>;

    virtual ~CaptureDriver() = default;

    // The BITMAPINFOHEADER of the output format, plus whatever follows it.
    virtual QByteArray videoFormat() const = 0;
    virtual bool hasFormatDialog() const = 0;
    virtual bool hasSourceDialog() const = 0;
    // Modal; answer true when the dialog was shown.
    virtual bool showFormatDialog(QWidget* parent) = 0;
    virtual bool showSourceDialog(QWidget* parent) = 0;
    // Starts or stops delivering frames to the sink, about every periodMs.
    virtual void setStreaming(bool on, int periodMs, FrameSink sink) = 0;
    // While the sink runs: when the frame it holds was captured, on the shot
    // clock (platform::shotClockNow). None: the driver cannot tell, and the
    // frame counts as captured when it arrived.
    virtual std::optional<std::chrono::steady_clock::time_point> frameTime() const {
        return std::nullopt;
    }

    // Told true when the camera stops delivering (unplugged, taken by another
    // program), with the system's reason when it gave one, and false when its
    // frames come again. Drivers that cannot lose their signal never call it.
    using SignalSink = std::function<void(bool lost, const QString& reason)>;
    // Taken by value: drivers that lose their signal keep the sink.
    // NOLINTNEXTLINE(performance-unnecessary-value-param)
    virtual void setSignalSink(SignalSink /*sink*/) {}
};

// The drivers a capture service knows, by index 0..9.
class CaptureDriverSource {
public:
    virtual ~CaptureDriverSource() = default;
    // True when a driver answers at the index; fills its name and version.
    virtual bool describe(int index, std::string& name, std::string& version) = 0;
    // The driver at the index, or null when it cannot be opened.
    virtual std::unique_ptr<CaptureDriver> open(int index) = 0;
};

} // namespace capture
