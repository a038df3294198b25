#pragma once
// The layout of an uncompressed capture frame (24 or 32 bits a pixel,
// blue-green-red(-unused), rows padded to 4 bytes, bottom-up for a positive
// height) and its conversion to a picture.

#include "capture/CaptureRecords.h"

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace platform {

struct FrameLayout {
    int width = 0;
    int height = 0; // always positive; see bottomUp
    bool bottomUp = true;
    int bytesPerPixel = 3;
    std::size_t rowBytes = 0;

    // Null for formats the capture window cannot show (not 24/32 bits, empty).
    static std::optional<FrameLayout> of(const BITMAPINFOHEADER& header);
    std::size_t frameBytes() const { return rowBytes * static_cast<std::size_t>(height); }
    // The row in memory that holds picture row y (0 = top).
    int memoryRow(int y) const { return bottomUp ? height - 1 - y : y; }
    std::size_t offset(int x, int y) const {
        return static_cast<std::size_t>(memoryRow(y)) * rowBytes +
               static_cast<std::size_t>(x) * static_cast<std::size_t>(bytesPerPixel);
    }
};

// The frame as a top-down RGB picture; null when the frame is too short.
QImage frameToImage(const FrameLayout& layout, std::span<const std::uint8_t> frame);

} // namespace platform
