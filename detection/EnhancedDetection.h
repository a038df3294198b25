#pragma once
// The enhanced detection mode: its switch, kept with the settings under a
// key of its own, and its frame routine, which finds flashes in the camera's
// full picture (FlashDetector) and reports them to the main window as the
// standard analysis does, through HitTarget::SetHole in the same units.

#include "capture/CaptureRecords.h"
#include "capture/FullFrame.h"
#include "detection/FlashDetector.h"

#include <cstdint>

namespace MotionDetection {

// The key under "Vantorel", "Settings"; " 1" on, " 0" off.
inline constexpr const char* EnhancedDetectionKey = "EnhancedDetection";

// Off until switched on; off is the standard analysis unchanged.
bool enhancedDetection();
// Switches the mode and saves it.
void setEnhancedDetection(bool on);
// Reads the stored switch (off when missing); saves nothing.
void loadEnhancedDetection();

// The frame routine of the enhanced mode: on every N-th frame (Sample Every
// N-th Frame) the camera's picture of the frame, or the frame itself when
// the camera has none larger, goes to the flash detector; a flash that
// begins becomes a hit. Then the aiming cross is drawn. Always answers 0.
std::int32_t enhancedFrameCallback(capture::CaptureHandle captureWindow, capture::VIDEOHDR* header);

// Forgets the scene: a new run of frames starts learning it afresh.
void resetEnhancedDetection();

// The hit of a flash at (x, y) pixels of a full frame of the given size, as
// the standard analysis at Compare Every N-th Byte 1 reports a spot at that
// place of the 160 x 120 picture, through the hit target.
void reportFlash(const Flash& flash, std::int32_t width, std::int32_t height);

} // namespace MotionDetection
