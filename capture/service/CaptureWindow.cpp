#include "capture/service/CaptureWindow.h"

#include "capture/service/CaptureFrameImage.h"
#include "platform/ShotClock.h"

#include <QPainter>
#include <QPointer>
#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

namespace capture {

namespace {

std::map<CaptureHandle, CaptureWindow*>& registry() {
    static std::map<CaptureHandle, CaptureWindow*> windows;
    return windows;
}

CaptureHandle nextHandle() {
    // Handles are never reused, so a stale handle can never reach a newer window.
    static CaptureHandle last = 0;
    return ++last;
}

int immediateDeliveries = 0;

// The index of a set-callback message in the window's table, or -1.
int callbackSlot(std::uint32_t message) {
    switch (message) {
    case WM_CAP_SET_CALLBACK_ERRORA:
        return 0;
    case WM_CAP_SET_CALLBACK_STATUSA:
        return 1;
    case WM_CAP_SET_CALLBACK_YIELD:
        return 2;
    case WM_CAP_SET_CALLBACK_FRAME:
        return 3;
    case WM_CAP_SET_CALLBACK_VIDEOSTREAM:
        return 4;
    case WM_CAP_SET_CALLBACK_WAVESTREAM:
        return 5;
    case WM_CAP_SET_CALLBACK_CAPCONTROL:
        return 6;
    default:
        return -1;
    }
}

CAPTUREPARMS defaultParms() {
    CAPTUREPARMS parms{};
    parms.dwRequestMicroSecPerFrame = 66667;
    parms.wPercentDropForError = 10;
    parms.dwIndexSize = 34952;
    parms.wChunkGranularity = 0;
    parms.wNumVideoRequested = 10;
    parms.wNumAudioRequested = 4;
    parms.vKeyAbort = 0x1B; // Escape
    parms.fAbortLeftMouse = 1;
    parms.fAbortRightMouse = 1;
    parms.wTimeLimit = 30;
    parms.fStepCaptureAt2x = 0;
    parms.wStepCaptureAverageFrames = 3;
    return parms;
}

} // namespace

CaptureWindow::ImmediateDelivery::ImmediateDelivery() {
    ++immediateDeliveries;
}
CaptureWindow::ImmediateDelivery::~ImmediateDelivery() {
    --immediateDeliveries;
}

CaptureWindow::CaptureWindow(QWidget* parent)
    : QWidget(parent), handle_(nextHandle()), parms_(defaultParms()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    registry().emplace(handle_, this);
}

CaptureWindow::~CaptureWindow() {
    registry().erase(handle_);
    if (driver_)
        driver_->setStreaming(false, periodMs_, {});
}

CaptureWindow* CaptureWindow::find(CaptureHandle handle) {
    const auto found = registry().find(handle);
    return found == registry().end() ? nullptr : found->second;
}

void CaptureWindow::retire(std::unique_ptr<CaptureDriver> driver) {
    if (!driver)
        return;
    driver->setStreaming(false, periodMs_, {});
    driver->setSignalSink({});
    if (deliveryDepth_ > 0)
        retired_.push_back(std::move(driver));
}

void CaptureWindow::connectDriver(std::unique_ptr<CaptureDriver> driver, int index) {
    retire(std::move(driver_));
    streaming_ = false;
    preview_ = false;
    signalLost_ = false;
    signalReason_.clear();
    driver_ = std::move(driver);
    driverIndex_ = driver_ ? index : 0;
    if (driver_) {
        const QPointer<CaptureWindow> self(this);
        driver_->setSignalSink([self](bool lost, const QString& reason) {
            if (self && (self->signalLost_ != lost || self->signalReason_ != reason)) {
                self->signalLost_ = lost;
                self->signalReason_ = reason;
                self->update();
            }
        });
    }
    update();
}

QByteArray CaptureWindow::videoFormat() const {
    return driver_ ? driver_->videoFormat() : QByteArray();
}

BITMAPINFOHEADER CaptureWindow::formatHeader() const {
    BITMAPINFOHEADER header{};
    const QByteArray format = videoFormat();
    std::memcpy(&header, format.constData(),
                std::min(sizeof header, static_cast<std::size_t>(format.size())));
    return header;
}

CAPSTATUS CaptureWindow::status() const {
    CAPSTATUS status{};
    if (!driver_)
        return status;
    const BITMAPINFOHEADER header = formatHeader();
    // In 64 bits: the magnitude of the lowest 32-bit value has no 32-bit form.
    status.uiImageWidth = static_cast<std::uint32_t>(std::abs(std::int64_t{header.biWidth}));
    status.uiImageHeight = static_cast<std::uint32_t>(std::abs(std::int64_t{header.biHeight}));
    status.fLiveWindow = preview_ ? 1 : 0;
    status.fUsingDefaultPalette = 1;
    status.dwCurrentVideoFrame = delivered_;
    status.dwCurrentTimeElapsedMS =
        sincePreviewStart_.isValid() ? static_cast<std::uint32_t>(sincePreviewStart_.elapsed()) : 0;
    return status;
}

void CaptureWindow::setPreview(bool on) {
    if (on && !preview_)
        sincePreviewStart_.start();
    preview_ = on;
    updateStreaming();
}

void CaptureWindow::setPreviewPeriod(int periodMs) {
    periodMs_ = std::max(1, periodMs);
    limiter_.setPeriod(periodMs_);
    if (streaming_)
        startStreaming(); // again, at the new period
}

void CaptureWindow::startStreaming() {
    QPointer<CaptureWindow> self(this);
    driver_->setStreaming(true, periodMs_,
                          [self](std::span<std::uint8_t> frame, const FullFrame* picture) {
                              if (self)
                                  self->receiveFrame(frame, picture);
                          });
}

void CaptureWindow::updateStreaming() {
    const bool wanted = preview_ && driver_;
    if (wanted == streaming_)
        return;
    streaming_ = wanted;
    if (wanted)
        startStreaming();
    else if (driver_)
        driver_->setStreaming(false, periodMs_, {});
}

void CaptureWindow::setCallback(std::uint32_t message, std::intptr_t address) {
    const int slot = callbackSlot(message);
    if (slot >= 0)
        callbacks_[static_cast<std::size_t>(slot)] = address;
}

std::intptr_t CaptureWindow::callback(std::uint32_t message) const {
    const int slot = callbackSlot(message);
    return slot >= 0 ? callbacks_[static_cast<std::size_t>(slot)] : 0;
}

bool CaptureWindow::runFormatDialog() {
    return driver_ && driver_->hasFormatDialog() && driver_->showFormatDialog(this);
}

bool CaptureWindow::runSourceDialog() {
    return driver_ && driver_->hasSourceDialog() && driver_->showSourceDialog(this);
}

bool CaptureWindow::dueForDelivery() {
    if (!clock_.isValid())
        clock_.start();
    const std::int64_t now = clock_.nsecsElapsed() / 1000;
    if (immediateDeliveries == 0)
        return limiter_.admit(now);
    limiter_.letThrough(now);
    return true;
}

void CaptureWindow::receiveFrame(std::span<std::uint8_t> frame, const FullFrame* picture) {
    if (!preview_ || !driver_ || !dueForDelivery())
        return;
    deliver(frame, picture);
}

void CaptureWindow::deliver(std::span<std::uint8_t> frame, const FullFrame* picture) {
    ++deliveryDepth_;
    ++delivered_;
    const QPointer<CaptureWindow> self(this);
    const CaptureDriver* const source = driver_.get();
    if (const std::intptr_t address = callback(WM_CAP_SET_CALLBACK_FRAME)) {
        VIDEOHDR header{};
        header.lpData = frame.data();
        header.dwBufferLength = static_cast<std::uint32_t>(frame.size());
        header.dwBytesUsed = static_cast<std::uint32_t>(frame.size());
        header.dwTimeCaptured = static_cast<std::uint32_t>(
            sincePreviewStart_.isValid() ? sincePreviewStart_.elapsed() : 0);
        header.dwFlags = 0x1 | 0x8; // done, key frame
        const FullFrame* const outer = std::exchange(deliveredPicture_, picture);
        // The driver's stamp when it has one, else the time of arrival.
        const auto stamped = source != nullptr ? source->frameTime() : std::nullopt;
        const auto outerTime =
            std::exchange(deliveredTime_, stamped ? *stamped : platform::shotClockNow());
        // NOLINTNEXTLINE(performance-no-int-to-ptr): the routine was registered as an address
        reinterpret_cast<FrameCallbackProc>(address)(handle_, &header);
        if (self) {
            deliveredPicture_ = outer;
            deliveredTime_ = outerTime;
        }
    }
    if (!self)
        return; // the routine closed the window
    if (driver_.get() == source)
        show(frame); // not when the routine switched drivers: the frame is the old one's
    if (--deliveryDepth_ == 0)
        retired_.clear();
}

void CaptureWindow::show(std::span<const std::uint8_t> frame) {
    const auto layout = FrameLayout::of(formatHeader());
    if (!layout)
        return;
    if (frame.size() < layout->frameBytes())
        return;
    shownFrame_.assign(frame.begin(),
                       frame.begin() + static_cast<std::ptrdiff_t>(layout->frameBytes()));
    shownLayout_ = *layout;
    shownStale_ = true;
    update();
}

QImage CaptureWindow::shownImage() const {
    if (shownStale_) {
        shown_ = frameToImage(shownLayout_, shownFrame_);
        shownStale_ = false;
    }
    return shown_;
}

void CaptureWindow::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (const QImage shown = shownImage(); shown.isNull()) {
        painter.fillRect(rect(), Qt::black);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(rect(), shown);
    }
    if (signalLost_) {
        // The last picture stays, dimmed, so the shooter sees the camera stopped.
        painter.fillRect(rect(), QColor(0, 0, 0, 160));
        painter.setPen(Qt::white);
        if (signalReason_.isEmpty()) {
            painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("No signal"));
        } else {
            // The system's reason under it, small and wrapped to the picture.
            const QRect inner = rect().adjusted(6, 6, -6, -6);
            QFont small = painter.font();
            small.setPointSizeF(small.pointSizeF() * 0.8);
            const int line = painter.fontMetrics().height();
            const QRect top(inner.left(), inner.center().y() - line, inner.width(), line);
            painter.drawText(top, Qt::AlignCenter, QStringLiteral("No signal"));
            painter.setFont(small);
            painter.drawText(inner.adjusted(0, top.bottom() - inner.top() + 4, 0, 0),
                             Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, signalReason_);
        }
    }
}

} // namespace capture
