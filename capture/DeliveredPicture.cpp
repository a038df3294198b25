#include "capture/DeliveredPicture.h"

#include "capture/service/CaptureWindow.h"

namespace capture {

const FullFrame* deliveredPicture(CaptureHandle window) {
    const CaptureWindow* const found = CaptureWindow::find(window);
    return found != nullptr ? found->deliveredPicture() : nullptr;
}

} // namespace capture
