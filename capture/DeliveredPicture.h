#pragma once
// The camera's own picture of the frame a capture window is handing to its
// frame routine, for the enhanced detection, which reads the full picture
// where the standard analysis reads the 160 x 120 frame.

#include "capture/CaptureRecords.h"
#include "capture/FullFrame.h"

namespace capture {

// Null outside the frame routine, for an unknown window, or when the
// window's driver delivers no larger picture than the frame.
const FullFrame* deliveredPicture(CaptureHandle window);

} // namespace capture
