// The one video format the program works on.

#include "capture/StatusFunctions.h"
#include "detection/MotionDetection.h"

namespace MotionDetection {

bool hasAnalysisFormat(capture::CaptureHandle window) {
    // All three are read on every call, whatever the first answers.
    const std::uint32_t width = StatusFunctions::GetFormatWidth(window);
    const std::uint32_t height = StatusFunctions::GetFormatHeight(window);
    const std::uint32_t bitCount = StatusFunctions::GetFormatBitCount(window);
    return width == 160 && height == 120 && bitCount == 24;
}

} // namespace MotionDetection
