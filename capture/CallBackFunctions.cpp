#include "capture/CallBackFunctions.h"

#include "capture/AVICAP.h"

namespace CallBackFunctions {

void RegisterFrameCallback(capture::CaptureHandle window, capture::FrameCallbackProc routine) {
    AVICAP::SetFrameCallback(window, routine);
}

void ClearCallbacks(capture::CaptureHandle window) {
    AVICAP::SetErrorCallback(window);
    AVICAP::SetStatusCallback(window);
    AVICAP::SetYieldCallback(window);
    AVICAP::SetFrameCallback(window, nullptr);
    AVICAP::SetVideoStreamCallback(window);
    AVICAP::SetWaveStreamCallback(window);
    AVICAP::SetCapControlCallback(window);
}

} // namespace CallBackFunctions
