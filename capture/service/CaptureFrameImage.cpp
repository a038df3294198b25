#include "capture/service/CaptureFrameImage.h"

#include <cstdlib>

namespace platform {

std::optional<FrameLayout> FrameLayout::of(const BITMAPINFOHEADER& header) {
    if (header.biBitCount != 24 && header.biBitCount != 32)
        return std::nullopt;
    if (header.biWidth <= 0 || header.biHeight == 0)
        return std::nullopt;
    // Guard against absurd sizes before any multiplication.
    constexpr std::int32_t limit = 1 << 14;
    if (header.biWidth > limit || header.biHeight > limit || header.biHeight < -limit)
        return std::nullopt;
    FrameLayout layout;
    layout.width = header.biWidth;
    layout.height = std::abs(header.biHeight);
    layout.bottomUp = header.biHeight > 0;
    layout.bytesPerPixel = header.biBitCount / 8;
    const std::size_t used =
        static_cast<std::size_t>(layout.width) * static_cast<std::size_t>(layout.bytesPerPixel);
    layout.rowBytes = (used + 3) & ~std::size_t{3};
    return layout;
}

QImage frameToImage(const FrameLayout& layout, std::span<const std::uint8_t> frame) {
    if (frame.size() < layout.frameBytes())
        return {};
    QImage image(layout.width, layout.height, QImage::Format_RGB32);
    for (int y = 0; y < layout.height; ++y) {
        const std::uint8_t* source = frame.data() + layout.offset(0, y);
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < layout.width; ++x, source += layout.bytesPerPixel)
            target[x] = qRgb(source[2], source[1], source[0]);
    }
    return image;
}

} // namespace platform
