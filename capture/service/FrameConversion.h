#pragma once
// Turning a picture into the capture output format: centre-cropped to 4:3
// (the target fills the picture's height; cropping the sides keeps the scoring
// circular), scaled, blue-green-red(-unused), rows bottom-up for a positive
// height. Shared by the camera backend and the replay tool.

#include "capture/CaptureRecords.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <cstdint>
#include <vector>

namespace platform {

struct OutputFormat {
    std::int32_t width = 160;
    std::int32_t height = 120;  // negative: rows top-down
    std::int16_t bitCount = 24; // 24 or 32
    std::size_t rowBytes() const;
    std::size_t frameBytes() const;
    // The BITMAPINFOHEADER a driver reports for this format (uncompressed).
    BITMAPINFOHEADER header() const;
    // The same header as the bytes of a video format request.
    QByteArray videoFormat() const;
};

// The 4:3 rectangle in the middle of a picture of the given size.
QRect centreCrop43(int width, int height);

// Converts any picture Qt can hold; out is resized to format.frameBytes().
void convertImage(const QImage& picture, const OutputFormat& format,
                  std::vector<std::uint8_t>& out);

} // namespace platform
