#pragma once
// What the format dialog chose for one camera. The source keeps it per driver
// index, so the choice outlives the reconnection that follows the dialog.

#include "capture/service/FrameConversion.h"

namespace qtcamera {

struct QtCameraSettings {
    capture::FrameLayout output; // 160 x 120 x 24 until the user changes it
    int modeIndex = -1;          // the camera mode; -1 chooses the closest one
};

} // namespace qtcamera
