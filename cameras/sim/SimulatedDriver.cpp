#include "cameras/sim/SimulatedDriver.h"

#include "cameras/sim/SimulatedCameraDialogs.h"
#include "capture/service/FrameConversion.h"
#include "platform/ShotClock.h"

#include <cstring>

namespace simcamera {

SimulatedDriver::SimulatedDriver(std::shared_ptr<SimulatedCameraState> state, int index,
                                 SimulatedDriverConfig config)
    : state_(std::move(state)), index_(index), config_(std::move(config)) {
    state_->openDrivers.push_back(this);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { produceFrame(); });
}

SimulatedDriver::~SimulatedDriver() {
    timer_.stop();
    std::erase(state_->openDrivers, this);
}

QByteArray SimulatedDriver::videoFormat() const {
    const capture::BITMAPINFOHEADER fields = config_.format.header();
    const int extra = std::max(0, config_.extraFormatBytes);
    QByteArray format(static_cast<qsizetype>(sizeof fields) + extra, '\0');
    std::memcpy(format.data(), &fields, sizeof fields);
    // Recognisable bytes after the header, so a reader can tell it got them all.
    for (int i = 0; i < extra; ++i)
        format[static_cast<qsizetype>(sizeof fields) + i] = static_cast<char>(0xA0 + i % 16);
    return format;
}

void SimulatedDriver::setFormat(std::int32_t width, std::int32_t height, std::int16_t bitCount) {
    config_.format = {width, height, bitCount};
}

bool SimulatedDriver::showFormatDialog(QWidget* parent) {
    if (!config_.hasFormatDialog || state_->camera == nullptr)
        return false;
    const auto state = state_; // this driver may be replaced while the dialog is open
    if (state->formatAction) {
        state->formatAction(index_, *state->camera);
        return true;
    }
    SimulatedFormatDialog dialog(config_.format.width, config_.format.height,
                                 config_.format.bitCount, parent);
    if (dialog.exec() == QDialog::Accepted && state->camera != nullptr) {
        // The rows keep their order: a top-down driver stays top-down.
        const std::int32_t height =
            config_.format.height < 0 ? -dialog.chosenHeight() : dialog.chosenHeight();
        state->camera->setFormat(index_, dialog.chosenWidth(), height, dialog.chosenBitCount());
    }
    return true;
}

bool SimulatedDriver::showSourceDialog(QWidget* parent) {
    if (!config_.hasSourceDialog || state_->camera == nullptr)
        return false;
    const auto state = state_;
    if (state->sourceAction) {
        state->sourceAction(index_, *state->camera);
        return true;
    }
    SimulatedSourceDialog dialog(state->scene, parent);
    if (dialog.exec() == QDialog::Accepted)
        dialog.applyTo(state->scene);
    return true;
}

void SimulatedDriver::setStreaming(bool on, int periodMs, FrameSink sink) {
    if (!on) {
        timer_.stop();
        sink_ = nullptr;
        return;
    }
    sink_ = std::move(sink);
    timer_.start(std::max(1, periodMs));
}

void SimulatedDriver::produceFrame() {
    if (!sink_)
        return;
    std::optional<LaserDot> dot;
    if (state_->pulseFramesLeft > 0) {
        --state_->pulseFramesLeft;
        dot = LaserDot{state_->pulsePoint, state_->scene.dotRadius, state_->scene.dotColor};
    }
    renderer_.render(config_.format, state_->scene, dot, frame_);
    frameTime_ = platform::shotClockNow();
    // The sink may drop this driver; the capture window keeps it alive until
    // the frame has been handled, and nothing here runs after the call.
    const FrameSink sink = sink_;
    sink(frame_, nullptr); // the rendered frame is all the range has
}

} // namespace simcamera
