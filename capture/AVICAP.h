#pragma once
// The capture window's operations: each sends exactly one message and turns
// the answer into true/false, or hands the raw answer back.

#include "capture/CaptureRecords.h"

#include <cstdint>

namespace AVICAP {

using capture::CaptureHandle;
using capture::FrameCallbackProc;

// Callback registration; a null routine switches that callback off. The six
// callbacks other than the frame callback are only ever switched off, so they
// take no routine.
bool SetErrorCallback(CaptureHandle window);
bool SetStatusCallback(CaptureHandle window);
bool SetYieldCallback(CaptureHandle window);
bool SetFrameCallback(CaptureHandle window, FrameCallbackProc routine);
bool SetVideoStreamCallback(CaptureHandle window);
bool SetWaveStreamCallback(CaptureHandle window);
bool SetCapControlCallback(CaptureHandle window);

bool DriverConnect(CaptureHandle window, std::int16_t index);
bool DriverGetCaps(CaptureHandle window, capture::CAPDRIVERCAPS* caps, std::int32_t size);
bool VideoFormatDialog(CaptureHandle window);
bool VideoSourceDialog(CaptureHandle window);
std::int32_t GetVideoFormat(CaptureHandle window, void* buffer, std::int32_t size);
std::int32_t GetVideoFormatSize(CaptureHandle window);
bool SetPreview(CaptureHandle window, bool on);
bool SetPreviewRate(CaptureHandle window, std::int32_t periodMs);
bool GetStatus(CaptureHandle window, capture::CAPSTATUS* status, std::int32_t size);
bool GetSequenceSetup(CaptureHandle window, capture::CAPTUREPARMS* parms, std::int32_t size);
bool SetSequenceSetup(CaptureHandle window, const capture::CAPTUREPARMS* parms, std::int32_t size);
// Period = nearest(1000 / framesPerSecond), halves to even (30 gives 33).
void SetPreviewFrameRate(CaptureHandle window, std::int32_t framesPerSecond);

} // namespace AVICAP
