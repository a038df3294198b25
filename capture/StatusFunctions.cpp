#include "capture/StatusFunctions.h"

#include "capture/AVICAP.h"

#include <algorithm>
#include <cstring>

namespace StatusFunctions {

using capture::BITMAPINFOHEADER;
using capture::CAPDRIVERCAPS;
using capture::CAPSTATUS;
using capture::CAPTUREPARMS;

namespace {

// Room kept for a format at the least: the header and a little more.
constexpr std::int32_t MinimumFormatBytes = 44;

CAPDRIVERCAPS freshCaps(CaptureHandle window) {
    CAPDRIVERCAPS caps{};
    ReadDriverCaps(window, caps);
    return caps;
}

CAPSTATUS freshStatus(CaptureHandle window) {
    CAPSTATUS status{};
    ReadCaptureStatus(window, status);
    return status;
}

BITMAPINFOHEADER freshFormatHeader(CaptureHandle window) {
    std::vector<std::uint8_t> format;
    ReadVideoFormat(window, format);
    BITMAPINFOHEADER header{};
    std::memcpy(&header, format.data(), std::min(sizeof header, format.size()));
    return header;
}

} // namespace

bool ReadDriverCaps(CaptureHandle window, CAPDRIVERCAPS& caps) {
    return AVICAP::DriverGetCaps(window, &caps, sizeof(CAPDRIVERCAPS));
}

std::uint32_t GetDeviceIndex(CaptureHandle window) {
    return freshCaps(window).wDeviceIndex;
}

bool HasVideoSourceDialog(CaptureHandle window) {
    return freshCaps(window).fHasDlgVideoSource != 0;
}

bool HasVideoFormatDialog(CaptureHandle window) {
    return freshCaps(window).fHasDlgVideoFormat != 0;
}

bool ReadCaptureStatus(CaptureHandle window, CAPSTATUS& status) {
    return AVICAP::GetStatus(window, &status, sizeof(CAPSTATUS));
}

std::uint32_t GetImageWidth(CaptureHandle window) {
    return freshStatus(window).uiImageWidth;
}

std::uint32_t GetImageHeight(CaptureHandle window) {
    return freshStatus(window).uiImageHeight;
}

bool ReadCaptureParms(CaptureHandle window, CAPTUREPARMS& parms) {
    return AVICAP::GetSequenceSetup(window, &parms, sizeof(CAPTUREPARMS));
}

bool WriteCaptureParms(CaptureHandle window, const CAPTUREPARMS& parms) {
    return AVICAP::SetSequenceSetup(window, &parms, sizeof(CAPTUREPARMS));
}

void SetCaptureYield(CaptureHandle window, std::int16_t flag) {
    CAPTUREPARMS parms{};
    ReadCaptureParms(window, parms);
    parms.fYield = static_cast<std::int32_t>(flag); // true (-1) stays -1
    WriteCaptureParms(window, parms);
}

std::int32_t GetFormatSize(CaptureHandle window) {
    return AVICAP::GetVideoFormatSize(window);
}

bool ReadVideoFormat(CaptureHandle window, std::vector<std::uint8_t>& format) {
    // The buffer always holds the whole format as reported, and the window is
    // told exactly that size, so no format can run past its end.
    const std::int32_t size = std::max(MinimumFormatBytes, GetFormatSize(window));
    format.assign(static_cast<std::size_t>(size), 0);
    return AVICAP::GetVideoFormat(window, format.data(), size) != 0;
}

std::int32_t GetFormatWidth(CaptureHandle window) {
    return freshFormatHeader(window).biWidth;
}

std::int32_t GetFormatHeight(CaptureHandle window) {
    return freshFormatHeader(window).biHeight;
}

std::int32_t GetFormatBitCount(CaptureHandle window) {
    return static_cast<std::int32_t>(freshFormatHeader(window).biBitCount);
}

} // namespace StatusFunctions
