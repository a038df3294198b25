#include "capture/AVICAP.h"

#include "capture/service/CaptureService.h"
#include "platform/Rounding.h"

namespace AVICAP {

using namespace capture;

namespace {

bool sendForTruth(CaptureHandle window, std::uint32_t message, std::int32_t wParam,
                  std::intptr_t lParam) {
    return SendCaptureMessage(window, message, wParam, lParam) != 0;
}

std::intptr_t address(const void* record) {
    return reinterpret_cast<std::intptr_t>(record);
}

} // namespace

bool SetErrorCallback(CaptureHandle window) {
    return sendForTruth(window, WM_CAP_SET_CALLBACK_ERRORA, 0, 0);
}

bool SetStatusCallback(CaptureHandle window) {
    return sendForTruth(window, WM_CAP_SET_CALLBACK_STATUSA, 0, 0);
}

bool SetYieldCallback(CaptureHandle window) {
    return sendForTruth(window, WM_CAP_SET_CALLBACK_YIELD, 0, 0);
}

bool SetFrameCallback(CaptureHandle window, FrameCallbackProc routine) {
    return sendForTruth(window, WM_CAP_SET_CALLBACK_FRAME, 0,
                        reinterpret_cast<std::intptr_t>(routine));
}

bool SetVideoStreamCallback(CaptureHandle window) {
    return sendForTruth(window, WM_CAP_SET_CALLBACK_VIDEOSTREAM, 0, 0);
}

bool SetWaveStreamCallback(CaptureHandle window) {
    return sendForTruth(window, WM_CAP_SET_CALLBACK_WAVESTREAM, 0, 0);
}

bool SetCapControlCallback(CaptureHandle window) {
    return sendForTruth(window, WM_CAP_SET_CALLBACK_CAPCONTROL, 0, 0);
}

bool DriverConnect(CaptureHandle window, std::int16_t index) {
    return sendForTruth(window, WM_CAP_DRIVER_CONNECT, index, 0);
}

bool DriverGetCaps(CaptureHandle window, CAPDRIVERCAPS* caps, std::int32_t size) {
    return sendForTruth(window, WM_CAP_DRIVER_GET_CAPS, size, address(caps));
}

bool VideoFormatDialog(CaptureHandle window) {
    return sendForTruth(window, WM_CAP_DLG_VIDEOFORMAT, 0, 0);
}

bool VideoSourceDialog(CaptureHandle window) {
    return sendForTruth(window, WM_CAP_DLG_VIDEOSOURCE, 0, 0);
}

std::int32_t GetVideoFormat(CaptureHandle window, void* buffer, std::int32_t size) {
    return SendCaptureMessage(window, WM_CAP_GET_VIDEOFORMAT, size, address(buffer));
}

std::int32_t GetVideoFormatSize(CaptureHandle window) {
    return SendCaptureMessage(window, WM_CAP_GET_VIDEOFORMAT, 0, 0);
}

bool SetPreview(CaptureHandle window, bool on) {
    return sendForTruth(window, WM_CAP_SET_PREVIEW, on ? CaptureTrue : CaptureFalse, 0);
}

bool SetPreviewRate(CaptureHandle window, std::int32_t periodMs) {
    return sendForTruth(window, WM_CAP_SET_PREVIEWRATE, periodMs, 0);
}

bool GetStatus(CaptureHandle window, CAPSTATUS* status, std::int32_t size) {
    return sendForTruth(window, WM_CAP_GET_STATUS, size, address(status));
}

bool GetSequenceSetup(CaptureHandle window, CAPTUREPARMS* parms, std::int32_t size) {
    return sendForTruth(window, WM_CAP_GET_SEQUENCE_SETUP, size, address(parms));
}

bool SetSequenceSetup(CaptureHandle window, const CAPTUREPARMS* parms, std::int32_t size) {
    return sendForTruth(window, WM_CAP_SET_SEQUENCE_SETUP, size, address(parms));
}

void SetPreviewFrameRate(CaptureHandle window, std::int32_t framesPerSecond) {
    // A rate below one frame a second has no period (and 0 would divide by zero).
    if (framesPerSecond < 1)
        return;
    const auto periodMs = static_cast<std::int16_t>(platform::nearest(1000.0 / framesPerSecond));
    SetPreviewRate(window, periodMs);
}

} // namespace AVICAP
