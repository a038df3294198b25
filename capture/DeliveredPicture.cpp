#include "capture/DeliveredPicture.h"

#include "capture/service/CaptureWindow.h"

namespace capture {

const FullFrame* deliveredPicture(CaptureHandle window) {
    const CaptureWindow* const found = CaptureWindow::find(window);
    return found != nullptr ? found->deliveredPicture() : nullptr;
}

std::optional<std::chrono::steady_clock::time_point> deliveredFrameTime(CaptureHandle window) {
    const CaptureWindow* const found = CaptureWindow::find(window);
    return found != nullptr ? found->deliveredTime() : std::nullopt;
}

} // namespace capture
