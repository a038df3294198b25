// Pictures to capture frames: centre crop to 4:3, scale, and lay the pixels
// out as blue-green-red(-unused) rows, bottom-up for a positive height.

#include "capture/service/FrameConversion.h"
#include "platform/Rounding.h"

#include <algorithm>
#include <cstdlib>

namespace platform {

QRect centreCrop43(int width, int height) {
    if (width <= 0 || height <= 0)
        return {};
    const qint64 w = width;
    const qint64 h = height;
    if (w * 3 > h * 4) { // wider than 4:3: cut the sides
        const qint64 cropWidth = std::max<qint64>(1, nearest(static_cast<double>(h) * 4.0 / 3.0));
        return {static_cast<int>((w - cropWidth) / 2), 0, static_cast<int>(cropWidth), height};
    }
    const qint64 cropHeight = std::max<qint64>(
        1, nearest(static_cast<double>(w) * 3.0 / 4.0)); // taller: cut top and bottom
    return {0, static_cast<int>((h - cropHeight) / 2), width, static_cast<int>(cropHeight)};
}

void convertImage(const QImage& picture, const FrameLayout& format,
                  std::vector<std::uint8_t>& out) {
    out.assign(format.frameBytes(), 0);
    const int width = std::abs(format.width);
    const int height = format.rows();
    const int pixelBytes = format.bytesPerPixel();
    if (picture.isNull() || width == 0 || height == 0 || pixelBytes < 3)
        return;

    QImage cropped = picture.copy(centreCrop43(picture.width(), picture.height()));
    if (cropped.width() != width || cropped.height() != height)
        cropped = cropped.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage rgb = cropped.convertToFormat(QImage::Format_RGB888);

    const std::size_t rowBytes = format.rowBytes();
    for (int row = 0; row < height; ++row) {
        // A positive height stores the bottom row of the picture first.
        const int sourceRow = format.height > 0 ? height - 1 - row : row;
        const uchar* source = rgb.constScanLine(sourceRow);
        std::uint8_t* target = out.data() + static_cast<std::size_t>(row) * rowBytes;
        for (int x = 0; x < width; ++x) {
            target[0] = source[2]; // blue
            target[1] = source[1]; // green
            target[2] = source[0]; // red
            source += 3;
            target += pixelBytes;
        }
    }
}

} // namespace platform
