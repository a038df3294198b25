#include "app/FrameTap.h"

#include "detection/EnhancedDetection.h"
#include "detection/MotionDetection.h"
#include "record/FrameRecorder.h"

#include <span>
#include <utility>

namespace app {

namespace {

record::FrameRecorder* activeRecorder = nullptr;

constexpr std::uint32_t RecordedBytes = 160 * 120 * 3;

} // namespace

record::FrameRecorder* setFrameRecorder(record::FrameRecorder* recorder) {
    return std::exchange(activeRecorder, recorder);
}

record::FrameRecorder* activeFrameRecorder() {
    return activeRecorder;
}

std::int32_t tappedFrameCallback(capture::CaptureHandle captureWindow, capture::VIDEOHDR* header) {
    if (activeRecorder != nullptr && header != nullptr && header->lpData != nullptr &&
        header->dwBytesUsed == RecordedBytes && MotionDetection::hasAnalysisFormat(captureWindow))
        activeRecorder->writeFrame(std::span<const std::uint8_t>(header->lpData, RecordedBytes));
    if (MotionDetection::enhancedDetection())
        return MotionDetection::enhancedFrameCallback(captureWindow, header);
    return MotionDetection::FrameCallback(captureWindow, header);
}

} // namespace app
