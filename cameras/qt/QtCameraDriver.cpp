#include "cameras/qt/QtCameraDriver.h"

#include "cameras/qt/QtCameraFormatDialog.h"
#include "cameras/qt/QtCameraSourceDialog.h"
#include "cameras/qt/VideoFrameConversion.h"
#include "capture/CaptureRecords.h"
#include "platform/ShotClock.h"

#include <cstdlib>

namespace qtcamera {
namespace {

// Enough camera frames to steady the measured rate, few enough to follow a
// change within a second.
constexpr std::size_t RateWindow = 16;

int meanLuma(const std::vector<std::uint8_t>& frame, const capture::FrameLayout& format) {
    const int bytesPerPixel = format.bitCount / 8;
    const int height = format.height < 0 ? -format.height : format.height;
    std::uint64_t sum = 0;
    for (int r = 0; r < height; ++r) {
        const std::uint8_t* px = frame.data() + static_cast<std::size_t>(r) * format.rowBytes();
        for (int i = 0; i < format.width; ++i, px += bytesPerPixel)
            sum += (29U * px[0] + 150U * px[1] + 77U * px[2]) >> 8;
    }
    const auto pixels =
        static_cast<std::uint64_t>(format.width) * static_cast<std::uint64_t>(height);
    return pixels == 0 ? 0 : static_cast<int>(sum / pixels);
}

} // namespace

QtCameraDriver::QtCameraDriver(std::unique_ptr<QtCameraFeed> feed,
                               std::shared_ptr<QtCameraSettings> settings)
    : feed_(std::move(feed)), settings_(std::move(settings)) {
    clock_.start();
    watchdog_.setSingleShot(true);
    watchdog_.setInterval(DefaultSignalTimeoutMs);
    QObject::connect(&watchdog_, &QTimer::timeout, &watchdog_, [this] { setLost(true); });
    QObject::connect(feed_.get(), &QtCameraFeed::frameArrived, feed_.get(),
                     [this](const QVideoFrame& frame) { frameArrived(frame); });
    QObject::connect(feed_.get(), &QtCameraFeed::failed, feed_.get(),
                     [this](const QString& reason) {
                         // The first reason is the cause; what follows is its echo.
                         if (failed_)
                             return;
                         failed_ = true;
                         failure_ = reason;
                         if (!lost_)
                             setLost(true);
                         else if (signalSink_) // silent before: now with its reason
                             signalSink_(true, failure_);
                     });
    applyMode();
    feed_->start();
    watchdog_.start();
}

QtCameraDriver::~QtCameraDriver() {
    watchdog_.stop();
    feed_->disconnect();
    feed_->release();
}

int QtCameraDriver::wantedMode() const {
    const std::vector<CameraMode> modes = feed_->modes();
    const int chosen = settings_->modeIndex;
    if (chosen >= 0 && chosen < static_cast<int>(modes.size()))
        return chosen;
    return chooseCameraMode(modes,
                            QSize(settings_->output.width, std::abs(settings_->output.height)));
}

void QtCameraDriver::applyMode() {
    activeMode_ = wantedMode();
    feed_->useMode(activeMode_);
}

QByteArray QtCameraDriver::videoFormat() const {
    return settings_->output.videoFormat();
}

bool QtCameraDriver::showFormatDialog(QWidget* parent) {
    QtCameraFormatDialog dialog(feed_->modes(), *settings_, parent);
    if (dialog.exec() == QDialog::Accepted) {
        *settings_ = dialog.chosen();
        // Switching the camera to the mode it runs in would only cost time.
        if (wantedMode() != activeMode_)
            applyMode();
    }
    return true;
}

bool QtCameraDriver::showSourceDialog(QWidget* parent) {
    QtCameraSourceDialog dialog(*this, parent);
    dialog.exec();
    return true;
}

void QtCameraDriver::setStreaming(bool on, int periodMs, FrameSink sink) {
    streaming_ = on && sink;
    stamps_.reset(); // a new stream counts its time afresh
    sink_ = streaming_ ? std::move(sink) : FrameSink{};
    limiter_.setPeriod(periodMs);
}

void QtCameraDriver::setSignalSink(SignalSink sink) {
    signalSink_ = std::move(sink);
    if (signalSink_ && lost_)
        signalSink_(true, failure_);
}

void QtCameraDriver::setSignalTimeout(int ms) {
    watchdog_.setInterval(ms);
    if (!lost_)
        watchdog_.start();
}

double QtCameraDriver::measuredFrameRate() const {
    if (arrivals_.size() < 2 || arrivals_.back() <= arrivals_.front())
        return 0;
    return static_cast<double>(arrivals_.size() - 1) * 1e6 /
           static_cast<double>(arrivals_.back() - arrivals_.front());
}

std::int64_t QtCameraDriver::timeOf(const QVideoFrame& frame) const {
    // The camera's own time stamps are steadier than the arrival time.
    return frame.startTime() >= 0 ? frame.startTime() : clock_.nsecsElapsed() / 1000;
}

void QtCameraDriver::setLost(bool lost) {
    if (lost_ == lost)
        return;
    lost_ = lost;
    if (lost)
        arrivals_.clear();
    if (signalSink_)
        signalSink_(lost, lost ? failure_ : QString());
}

void QtCameraDriver::frameArrived(const QVideoFrame& frame) {
    // Frames still on their way from a camera that failed are not news of
    // its return: it stays lost until it is connected again.
    if (!frame.isValid() || failed_)
        return;
    const std::int64_t time = timeOf(frame);
    if (!arrivals_.empty() && time < arrivals_.back())
        arrivals_.clear();
    arrivals_.push_back(time);
    if (arrivals_.size() > RateWindow)
        arrivals_.pop_front();
    watchdog_.start();
    setLost(false);
    if (!streaming_ || !limiter_.admit(time))
        return;
    // The receiver may draw into the frame; it is rebuilt from the camera's
    // picture next time. Nothing of this driver is touched after the call.
    // Shots are timed by the camera's buffer time where Qt gives one, not by
    // when the analysis gets to the frame.
    const platform::ShotTime arrival = platform::shotClockNow();
    const platform::ShotTime captured =
        frame.startTime() >= 0 ? stamps_.stamp(frame.startTime(), arrival) : arrival;
    convertVideoFrame(frame, settings_->output, frame_,
                      [this, captured](const capture::FullFrame* picture) {
                          brightness_ = meanLuma(frame_, settings_->output);
                          frameTime_ = captured;
                          sink_(std::span<std::uint8_t>(frame_), picture);
                      });
}

} // namespace qtcamera
