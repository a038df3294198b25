#include "capture/CallBackFunctions.h"

#include "capture/AVICAP.h"

namespace CallBackFunctions {

void RegisterFrameCallback(platform::CaptureHandle window, platform::FrameCallbackProc routine) {
    AVICAP::SetFrameCallback(window, routine);
}

void ClearCallbacks(platform::CaptureHandle window) {
    AVICAP::SetErrorCallback(window);
    AVICAP::SetStatusCallback(window);
    AVICAP::SetYieldCallback(window);
    AVICAP::SetFrameCallback(window, nullptr);
    AVICAP::SetVideoStreamCallback(window);
    AVICAP::SetWaveStreamCallback(window);
    AVICAP::SetCapControlCallback(window);
}

} // namespace CallBackFunctions
