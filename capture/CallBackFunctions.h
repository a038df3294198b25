#pragma once
// Registering the frame routine and switching every callback off.

#include "capture/CaptureRecords.h"

namespace CallBackFunctions {

// Capture sits below detection, so the caller names the frame routine
// (MotionDetection::FrameCallback). The answer is not looked at.
void RegisterFrameCallback(platform::CaptureHandle window, platform::FrameCallbackProc routine);
// Error, status, yield, frame, video stream, wave stream and capture control
// callbacks off, in that order; answers are not looked at.
void ClearCallbacks(platform::CaptureHandle window);

} // namespace CallBackFunctions
