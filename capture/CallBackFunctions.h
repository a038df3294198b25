#pragma once
// Registering the frame routine and switching every callback off.

#include "capture/CaptureRecords.h"

namespace CallBackFunctions {

// Capture sits below detection, so the caller names the frame routine
// (MotionDetection::FrameCallback). The answer is not looked at.
void RegisterFrameCallback(capture::CaptureHandle window, capture::FrameCallbackProc routine);
// Error, status, yield, frame, video stream, wave stream and capture control
// callbacks off, in that order; answers are not looked at.
void ClearCallbacks(capture::CaptureHandle window);

} // namespace CallBackFunctions
