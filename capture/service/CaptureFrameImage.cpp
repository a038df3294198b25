#include "capture/service/CaptureFrameImage.h"

#include <cstdlib>

namespace capture {

QImage frameToImage(const FrameLayout& layout, std::span<const std::uint8_t> frame) {
    if (frame.size() < layout.frameBytes())
        return {};
    QImage image(layout.width, layout.rows(), QImage::Format_RGB32);
    for (int y = 0; y < layout.rows(); ++y) {
        const std::uint8_t* source = frame.data() + layout.offset(0, y);
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < layout.width; ++x, source += layout.bytesPerPixel())
            target[x] = qRgb(source[2], source[1], source[0]);
    }
    return image;
}

} // namespace capture
