#include "capture/service/FrameConversion.h"

#include <QSysInfo>

namespace capture {

void convertImage(const QImage& picture, const FrameLayout& format,
                  std::vector<std::uint8_t>& out) {
    // Pictures read from files mostly come as 32-bit words 0xAARRGGBB, read
    // as they are; anything else as red, green, blue, unused bytes.
    const bool words =
        picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32;
    const QImage rgb = words || picture.format() == QImage::Format_RGBX8888
                           ? picture
                           : picture.convertToFormat(QImage::Format_RGBX8888);
    CameraPicture planes;
    planes.layout = PixelLayout::Rgb32;
    planes.viewport = rgb.rect();
    planes.data[0] = rgb.constBits();
    planes.stride[0] = rgb.bytesPerLine();
    planes.size[0] = static_cast<std::size_t>(rgb.sizeInBytes());
    const bool littleEndian = QSysInfo::ByteOrder == QSysInfo::LittleEndian;
    planes.redByte = !words ? 0 : littleEndian ? 2 : 1;
    planes.greenByte = !words ? 1 : littleEndian ? 1 : 2;
    planes.blueByte = !words ? 2 : littleEndian ? 0 : 3;
    if (rgb.isNull() || !reducePicture(planes, format, out))
        out.assign(format.frameBytes(), 0);
}

} // namespace capture
