#pragma once
// Turning a picture into the capture output format: centre-cropped to 4:3
// (the target fills the picture's height; cropping the sides keeps the scoring
// circular), scaled, blue-green-red(-unused), rows bottom-up for a positive
// height. Shared by the camera backend and the replay tool.

#include "capture/service/FrameLayout.h"

#include <QImage>
#include <QRect>
#include <cstdint>
#include <vector>

namespace platform {

// The 4:3 rectangle in the middle of a picture of the given size.
QRect centreCrop43(int width, int height);

// Converts any picture Qt can hold; out is resized to format.frameBytes().
void convertImage(const QImage& picture, const FrameLayout& format, std::vector<std::uint8_t>& out);

} // namespace platform
