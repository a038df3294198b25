// Connecting the capture window to a driver: the connection, the insistence
// on 160 x 120 x 24, the frame routine, the preview and the two menu items
// that depend on the driver's dialogs.

#include "app/FrameTap.h"
#include "app/Vantorel.h"

#include "capture/AVICAP.h"
#include "capture/CallBackFunctions.h"
#include "capture/ConnectionFunctions.h"
#include "capture/StatusFunctions.h"
#include "detection/MotionDetection.h"
#include "platform/MessageBox.h"
#include "platform/Product.h"

#include <QAction>

namespace app {

void Vantorel::ConnectDevice(std::int16_t index) {
    if (ended_)
        return;
    if (!ConnectionFunctions::ConnectToDriver(captureWnd_, index)) {
        platform::showMessage({QStringLiteral("Could Not Connect To Capture Driver"),
                               platform::ProductTitle, platform::MessageButtons::Ok,
                               platform::MessageIcon::Information});
        ExitProgram();
        return;
    }
    // As often as the user wants to try the driver's format dialog.
    while (!MotionDetection::hasAnalysisFormat(captureWnd_)) {
        const int answer = platform::showMessage(
            {QStringLiteral("Please Set Video Format: 160x120x24bit!   Do You Want To Continue?"),
             QStringLiteral("Set Video Format"), platform::MessageButtons::YesNo,
             platform::MessageIcon::Information});
        if (answer != platform::IDYES || !StatusFunctions::HasVideoFormatDialog(captureWnd_)) {
            ExitProgram();
            return;
        }
        AVICAP::VideoFormatDialog(captureWnd_);
        if (ended_)
            return;
    }
    StatusFunctions::SetCaptureYield(captureWnd_, -1);
    CallBackFunctions::RegisterFrameCallback(captureWnd_, &tappedFrameCallback);
    AVICAP::SetPreviewFrameRate(captureWnd_, 30);
    AVICAP::SetPreview(captureWnd_, true);
    src->setVisible(StatusFunctions::HasVideoSourceDialog(captureWnd_));
    frt->setVisible(StatusFunctions::HasVideoFormatDialog(captureWnd_));
}

} // namespace app
