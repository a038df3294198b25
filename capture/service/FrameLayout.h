#pragma once
// The layout of an uncompressed capture frame, the one place of its row
// arithmetic: 24 or 32 bits a pixel, blue-green-red(-unused), rows padded to
// a multiple of 4 bytes, bottom-up for a positive height.

#include "capture/CaptureRecords.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace capture {

struct FrameLayout {
    std::int32_t width = 160;
    std::int32_t height = 120;  // negative: rows top-down
    std::int16_t bitCount = 24; // 24 or 32

    // The layout of a format header, or nothing for one the capture window
    // cannot show (not 24/32 bits, empty, absurdly large).
    static std::optional<FrameLayout> of(const BITMAPINFOHEADER& header);
    // True for a layout the capture window can show.
    bool isShowable() const;

    int rows() const;
    bool bottomUp() const { return height > 0; }
    int bytesPerPixel() const { return bitCount / 8; }
    std::size_t rowBytes() const;
    std::size_t frameBytes() const;
    // The row in memory that holds picture row y (0 = top).
    int memoryRow(int y) const { return bottomUp() ? rows() - 1 - y : y; }
    std::size_t offset(int x, int y) const {
        return static_cast<std::size_t>(memoryRow(y)) * rowBytes() +
               static_cast<std::size_t>(x) * static_cast<std::size_t>(bytesPerPixel());
    }
    bool operator==(const FrameLayout&) const = default;
    // The BITMAPINFOHEADER a driver reports for this layout (uncompressed).
    BITMAPINFOHEADER header() const;
    // The same header as the bytes of a video format request.
    QByteArray videoFormat() const;
};

} // namespace capture
