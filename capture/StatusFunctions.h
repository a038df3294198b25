#pragma once
// Questions about the capture window, each asked afresh on a zeroed record.

#include "capture/CaptureRecords.h"

#include <cstdint>
#include <vector>

namespace StatusFunctions {

using capture::CaptureHandle;

bool ReadDriverCaps(CaptureHandle window, capture::CAPDRIVERCAPS& caps);
std::uint32_t GetDeviceIndex(CaptureHandle window);
bool HasVideoSourceDialog(CaptureHandle window);
bool HasVideoFormatDialog(CaptureHandle window);

bool ReadCaptureStatus(CaptureHandle window, capture::CAPSTATUS& status);
std::uint32_t GetImageWidth(CaptureHandle window);
std::uint32_t GetImageHeight(CaptureHandle window);

bool ReadCaptureParms(CaptureHandle window, capture::CAPTUREPARMS& parms);
bool WriteCaptureParms(CaptureHandle window, const capture::CAPTUREPARMS& parms);
void SetCaptureYield(CaptureHandle window, std::int16_t flag);

// The whole current format: BITMAPINFOHEADER and what follows it.
std::int32_t GetFormatSize(CaptureHandle window);
bool ReadVideoFormat(CaptureHandle window, std::vector<std::uint8_t>& format);
std::int32_t GetFormatWidth(CaptureHandle window);
std::int32_t GetFormatHeight(CaptureHandle window);
std::int32_t GetFormatBitCount(CaptureHandle window);

} // namespace StatusFunctions
