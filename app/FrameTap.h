#pragma once
// The frame routine that the main window registers: it shows every frame of
// 160 x 120 x 24 bits to the frame recorder, when one is recording, before
// the frame analysis draws its aiming cross into it.

#include "capture/CaptureRecords.h"

#include <cstdint>

namespace record {
class FrameRecorder;
}

namespace app {

// The recorder that sees the frames; null records nothing. The program has
// one main window, so one recorder at a time. Answers the one it replaces
// (for platform::SeamGuard).
record::FrameRecorder* setFrameRecorder(record::FrameRecorder* recorder);
record::FrameRecorder* activeFrameRecorder();

// Records the frame, then runs MotionDetection::FrameCallback on it, or the
// enhanced detection's routine while Options > Enhanced Detection is on.
std::int32_t tappedFrameCallback(capture::CaptureHandle captureWindow, capture::VIDEOHDR* header);

} // namespace app
