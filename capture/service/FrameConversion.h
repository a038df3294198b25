#pragma once
// Turning a picture Qt holds into the capture output format with the one
// reduction of camera pictures. Shared by the camera backend's slow path,
// the simulated camera and the replay tool.

#include "capture/service/FrameLayout.h"
#include "capture/service/FrameReduction.h"

#include <QImage>
#include <cstdint>
#include <vector>

namespace capture {

// Converts any picture Qt can hold; out is resized to format.frameBytes()
// (all black for an empty picture).
void convertImage(const QImage& picture, const FrameLayout& format, std::vector<std::uint8_t>& out);

} // namespace capture
