#pragma once
// The aiming cross alone, for a frame routine that analyses the camera's
// picture elsewhere but shows the frame as the frame analysis does.

#include "capture/CaptureRecords.h"

namespace MotionDetection {

// Draws the one-pixel white cross through the middle of the frame, exactly
// as FrameCallback draws it.
void drawAimingCross(capture::CaptureHandle captureWindow, capture::VIDEOHDR* header);

} // namespace MotionDetection
