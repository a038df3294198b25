#pragma once
// The camera's own picture of a delivered frame, beside the 160 x 120
// analysis frame: the 4:3 middle of the picture at the camera's resolution,
// rows top-down, described where it lies in the driver's memory. The
// enhanced detection reads it; it is valid only while the frame is delivered.

#include <array>
#include <cstddef>
#include <cstdint>

namespace capture {

// One component's samples: the first sample of the first row, the bytes from
// one row to the next (negative for a picture stored bottom-up) and from one
// sample to the next (1 in a plane of its own, 2 or 4 in packed YUV, 3 or 4
// in RGB).
struct FullFramePlane {
    const std::uint8_t* data = nullptr;
    std::ptrdiff_t rowStep = 0;
    std::int32_t sampleStep = 1;
};

enum class FullFrameColours {
    YCbCr, // planes: Y, Cb, Cr; the chroma planes subsampled by chromaShiftX/Y
    Rgb,   // planes: red, green, blue, all at full resolution
    Grey,  // plane 0 only
};

struct FullFrame {
    std::int32_t width = 0; // pixels
    std::int32_t height = 0;
    FullFrameColours colours = FullFrameColours::YCbCr;
    std::array<FullFramePlane, 3> planes{};
    std::int32_t chromaShiftX = 0; // 1: one chroma sample for two columns
    std::int32_t chromaShiftY = 0; // 1: one chroma sample for two rows

    bool empty() const { return width <= 0 || height <= 0 || planes[0].data == nullptr; }
};

} // namespace capture
