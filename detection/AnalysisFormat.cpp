// The one video format the program works on.

#include "capture/StatusFunctions.h"
#include "detection/MotionDetection.h"

namespace MotionDetection {

bool HasAnalysisFormat(platform::CaptureHandle window) {
    return StatusFunctions::GetFormatWidth(window) == 160 &&
           StatusFunctions::GetFormatHeight(window) == 120 &&
           StatusFunctions::GetFormatBitCount(window) == 24;
}

} // namespace MotionDetection
