#pragma once
// The one reduction of a camera picture to the analysis frame: the 4:3
// middle of the picture (the target fills the picture's height), cut into
// one block of camera pixels for each output pixel, and each output pixel the
// brightest value of its block, channel by channel. A laser dot a few camera
// pixels wide thus keeps its full brightness however small the output is,
// as in a camera's own binned low-resolution mode. Output is
// blue-green-red(-unused), rows bottom-up for a positive height.
//
// The camera path, the replay of pictures and the replay of videos all use
// it, so a replay of a camera's frames gives the camera's hits.

#include "capture/service/FrameLayout.h"

#include <QRect>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace capture {

// How a picture's pixels lie in memory.
enum class PixelLayout {
    Yuyv,    // packed 4:2:2, Y0 U Y1 V
    Uyvy,    // packed 4:2:2, U Y0 V Y1
    Nv12,    // Y plane, then interleaved U V at half size
    Nv21,    // Y plane, then interleaved V U at half size
    Yuv420p, // Y, U and V planes, chroma at half size (I420)
    Yv12,    // Y, V and U planes, chroma at half size
    Yuv422p, // Y, U and V planes, chroma at half width
    Grey8,   // one byte of level, full range
    Rgb32,   // four bytes a pixel; redByte/greenByte/blueByte say which
    Rgb24,   // three bytes a pixel; the same
};

// A picture as the reduction reads it: up to three planes.
struct CameraPicture {
    PixelLayout layout = PixelLayout::Rgb32;
    QRect viewport; // the picture inside the planes, in pixels
    std::array<const std::uint8_t*, 3> data{};
    std::array<std::ptrdiff_t, 3> stride{};
    std::array<std::size_t, 3> size{}; // bytes readable from each plane's start
    // The byte of each colour within an RGB pixel.
    int redByte = 2;
    int greenByte = 1;
    int blueByte = 0;
    bool bt709 = false;       // the HD colour matrix instead of BT.601
    bool fullRange = false;   // YUV levels 0..255 instead of 16..235
    bool bottomToTop = false; // the first row in memory is the picture's bottom row

    // Sets the layout, with the bytes of red, green and blue for RGB ones;
    // always true, for the mappings of other pixel formats that answer.
    bool setLayout(PixelLayout to, int red = 2, int green = 1, int blue = 0) {
        layout = to;
        redByte = red;
        greenByte = green;
        blueByte = blue;
        return true;
    }
};

// The 4:3 rectangle in the middle of a picture of the given size.
QRect centreCrop43(int width, int height);

// The number of planes a layout has.
int planeCount(PixelLayout layout);

// Reduces the picture into out, resized to format.frameBytes(). False (out
// untouched) for an empty picture, an output format the capture window
// cannot show, or planes too small for the picture they claim to hold.
bool reducePicture(const CameraPicture& picture, const FrameLayout& format,
                   std::vector<std::uint8_t>& out);

} // namespace capture
