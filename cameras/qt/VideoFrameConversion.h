#pragma once
// Turning a camera frame into the capture output format with the one
// reduction of camera pictures (capture/service/FrameReduction.h). The
// common camera layouts (packed and planar YUV, 8-bit grey, 32-bit RGB in any
// byte order) are read directly from the mapped planes; anything else goes
// through QVideoFrame::toImage(), which is much slower but keeps odd cameras
// usable.

#include "capture/FullFrame.h"
#include "capture/service/FrameConversion.h"

#include <QRect>
#include <QVideoFrame>
#include <QVideoFrameFormat>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace qtcamera {

// One mapped frame as the direct conversion reads it.
struct MappedPlanes {
    QVideoFrameFormat::PixelFormat pixelFormat = QVideoFrameFormat::Format_Invalid;
    QRect viewport; // the picture inside the planes, in pixels
    std::array<const std::uint8_t*, 3> data{};
    std::array<int, 3> stride{};
    std::array<std::size_t, 3> size{}; // bytes readable from each plane's start
    QVideoFrameFormat::ColorSpace colorSpace = QVideoFrameFormat::ColorSpace_BT601;
    bool fullRange = false;   // YUV levels 0..255 instead of 16..235
    bool bottomToTop = false; // the first row in memory is the picture's bottom row
};

// True for the pixel formats that convertPlanes reads itself.
bool isDirectPixelFormat(QVideoFrameFormat::PixelFormat format);

// Converts mapped planes of a direct pixel format; out is resized to
// format.frameBytes(). False (out untouched) for any other pixel format, an
// empty picture, or planes too small for the picture they claim to hold.
bool convertPlanes(const MappedPlanes& planes, const capture::FrameLayout& format,
                   std::vector<std::uint8_t>& out);

// Converts any frame Qt delivers; false (out untouched) when it cannot be read.
bool convertVideoFrame(const QVideoFrame& frame, const capture::FrameLayout& format,
                       std::vector<std::uint8_t>& out);

// The same, then hands the camera's picture (the 4:3 middle at full size) to
// use while the frame is still readable; not called when the frame cannot be
// converted.
using PictureUse = std::function<void(const capture::FullFrame* picture)>;
bool convertVideoFrame(const QVideoFrame& frame, const capture::FrameLayout& format,
                       std::vector<std::uint8_t>& out, const PictureUse& use);

} // namespace qtcamera
