#include "capture/service/HeadlessCaptureWindow.h"

#include "capture/service/CaptureService.h"

namespace capture {

HeadlessCaptureWindow::HeadlessCaptureWindow(CaptureDriverSource& source, int index)
    : installed_(installCaptureDriverSource, &source) {
    // Not shown: nobody looks at it, and a hidden window still delivers frames.
    handle_ = capCreateCaptureWindow("Headless", 0, 0, 0, 160, 120, &host_, 0);
    connected_ = SendCaptureMessage(handle_, WM_CAP_DRIVER_CONNECT, index, 0) != 0;
}

HeadlessCaptureWindow::~HeadlessCaptureWindow() = default;

} // namespace capture
