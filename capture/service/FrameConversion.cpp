#include "capture/service/FrameConversion.h"

namespace platform {

void convertImage(const QImage& picture, const FrameLayout& format,
                  std::vector<std::uint8_t>& out) {
    // Red, green, blue, unused in memory on every machine.
    const QImage rgb = picture.format() == QImage::Format_RGBX8888
                           ? picture
                           : picture.convertToFormat(QImage::Format_RGBX8888);
    CameraPicture planes;
    planes.layout = PixelLayout::Rgb32;
    planes.viewport = rgb.rect();
    planes.data[0] = rgb.constBits();
    planes.stride[0] = rgb.bytesPerLine();
    planes.size[0] = static_cast<std::size_t>(rgb.sizeInBytes());
    planes.redByte = 0;
    planes.greenByte = 1;
    planes.blueByte = 2;
    if (rgb.isNull() || !reducePicture(planes, format, out))
        out.assign(format.frameBytes(), 0);
}

} // namespace platform
