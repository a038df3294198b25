#include "tools/replay/ReplaySession.h"

#include "capture/AVICAP.h"
#include "capture/CallBackFunctions.h"
#include "capture/service/CaptureWindow.h"
#include "capture/service/HeadlessCaptureWindow.h"
#include "detection/EnhancedDetection.h"
#include "detection/MotionDetection.h"
#include "detection/Testing.h"
#include "tools/replay/ReplayDriver.h"

namespace replay {

// Stands in for the main window: a 6000-twip target picture that keeps the
// last hit.
class ReplaySession::Target : public MotionDetection::HitTarget {
public:
    void SetHole(std::int32_t x, std::int32_t y, double score) override { hit = Hit{x, y, score}; }
    float TargetHeight() const override { return 6000.0F; }

    std::optional<Hit> hit;
};

ReplaySession::ReplaySession(const Parameters& parameters)
    : source_(std::make_unique<ReplayDriverSource>()), target_(std::make_unique<Target>()) {
    // Every run starts as the program does: empty buffers, frame count 0.
    MotionDetection::resetFrameStateForTesting();
    MotionDetection::resetEnhancedDetection();
    MotionDetection::SetSampleEveryNthFrame(parameters.sampleEvery);
    MotionDetection::SetCompareEveryNthByte(parameters.compareEvery);
    MotionDetection::SetTolerance(parameters.tolerance);
    MotionDetection::SetMaxLaserBeam(parameters.maxBeam);

    window_ = std::make_unique<capture::HeadlessCaptureWindow>(*source_);
    connected_ = window_->connected() && source_->driver() != nullptr;
    if (!connected_)
        return;
    MotionDetection::setHitTarget(target_.get());
    CallBackFunctions::RegisterFrameCallback(
        window_->handle(), parameters.enhanced ? MotionDetection::enhancedFrameCallback
                                               : MotionDetection::FrameCallback);
    AVICAP::SetPreviewFrameRate(window_->handle(), 30);
    AVICAP::SetPreview(window_->handle(), true);
}

ReplaySession::~ReplaySession() {
    if (connected_) {
        AVICAP::SetPreview(window_->handle(), false);
        CallBackFunctions::ClearCallbacks(window_->handle());
        MotionDetection::setHitTarget(nullptr);
    }
    window_.reset(); // the capture window goes before its driver
}

std::optional<Hit> ReplaySession::push(std::vector<std::uint8_t>& frame,
                                       const capture::FullFrame* picture) {
    if (!connected_)
        return std::nullopt;
    // Every pushed frame is delivered, however fast they come.
    const capture::CaptureWindow::ImmediateDelivery immediate;
    target_->hit.reset();
    source_->driver()->push(frame, picture);
    const bool first = frames_++ == 0;
    return first ? std::nullopt : target_->hit;
}

} // namespace replay
