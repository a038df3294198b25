#pragma once
// An uncompressed capture frame as a picture.

#include "capture/service/FrameLayout.h"

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace capture {

// The frame as a top-down RGB picture; null when the frame is too short.
QImage frameToImage(const FrameLayout& layout, std::span<const std::uint8_t> frame);

} // namespace capture
