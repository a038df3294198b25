#include "cameras/qt/VideoFrameConversion.h"

#include "capture/service/FrameReduction.h"
#include "capture/service/FullFrameDescription.h"

#include <algorithm>

namespace qtcamera {
namespace {

using PF = QVideoFrameFormat::PixelFormat;

// The reduction's layout of a direct pixel format, with the bytes of red,
// green and blue for RGB; false for any other format.
bool layoutOf(PF format, capture::CameraPicture& picture) {
    switch (format) {
    case PF::Format_YUYV:
        return picture.setLayout(capture::PixelLayout::Yuyv);
    case PF::Format_UYVY:
        return picture.setLayout(capture::PixelLayout::Uyvy);
    case PF::Format_NV12:
        return picture.setLayout(capture::PixelLayout::Nv12);
    case PF::Format_NV21:
        return picture.setLayout(capture::PixelLayout::Nv21);
    case PF::Format_YUV420P:
        return picture.setLayout(capture::PixelLayout::Yuv420p);
    case PF::Format_YV12:
        return picture.setLayout(capture::PixelLayout::Yv12);
    case PF::Format_YUV422P:
        return picture.setLayout(capture::PixelLayout::Yuv422p);
    case PF::Format_Y8:
        return picture.setLayout(capture::PixelLayout::Grey8);
    case PF::Format_ARGB8888:
    case PF::Format_ARGB8888_Premultiplied:
    case PF::Format_XRGB8888:
        return picture.setLayout(capture::PixelLayout::Rgb32, 1, 2, 3);
    case PF::Format_BGRA8888:
    case PF::Format_BGRA8888_Premultiplied:
    case PF::Format_BGRX8888:
        return picture.setLayout(capture::PixelLayout::Rgb32, 2, 1, 0);
    case PF::Format_ABGR8888:
    case PF::Format_XBGR8888:
        return picture.setLayout(capture::PixelLayout::Rgb32, 3, 2, 1);
    case PF::Format_RGBA8888:
    case PF::Format_RGBX8888:
        return picture.setLayout(capture::PixelLayout::Rgb32, 0, 1, 2);
    default:
        return false;
    }
}

} // namespace

bool isDirectPixelFormat(QVideoFrameFormat::PixelFormat format) {
    capture::CameraPicture picture;
    return layoutOf(format, picture);
}

bool convertPlanes(const MappedPlanes& planes, const capture::FrameLayout& format,
                   std::vector<std::uint8_t>& out) {
    capture::CameraPicture picture;
    if (!layoutOf(planes.pixelFormat, picture))
        return false;
    picture.viewport = planes.viewport;
    for (std::size_t i = 0; i < 3; ++i) {
        picture.data[i] = planes.data[i];
        picture.stride[i] = planes.stride[i];
        picture.size[i] = planes.size[i];
    }
    picture.bt709 = planes.colorSpace == QVideoFrameFormat::ColorSpace_BT709;
    picture.fullRange = planes.fullRange;
    picture.bottomToTop = planes.bottomToTop;
    return capture::reducePicture(picture, format, out);
}

namespace {

bool convertThroughImage(const QVideoFrame& frame, const capture::FrameLayout& format,
                         std::vector<std::uint8_t>& out, const PictureUse& use) {
    if (format.width <= 0 || format.height == 0 || (format.bitCount != 24 && format.bitCount != 32))
        return false;
    const QImage picture = frame.toImage();
    if (picture.isNull())
        return false;
    capture::convertImage(picture, format, out);
    if (use) {
        // 0xffRRGGBB words: blue, green, red, unused bytes in memory.
        const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
        capture::CameraPicture camera;
        camera.setLayout(capture::PixelLayout::Rgb32, 2, 1, 0);
        camera.viewport = rgb.rect();
        camera.data[0] = rgb.constBits();
        camera.stride[0] = rgb.bytesPerLine();
        camera.size[0] = static_cast<std::size_t>(rgb.sizeInBytes());
        const std::optional<capture::FullFrame> full = capture::describeFullFrame(camera);
        use(full ? &*full : nullptr);
    }
    return true;
}

} // namespace

bool convertVideoFrame(const QVideoFrame& frame, const capture::FrameLayout& format,
                       std::vector<std::uint8_t>& out) {
    return convertVideoFrame(frame, format, out, {});
}

bool convertVideoFrame(const QVideoFrame& frame, const capture::FrameLayout& format,
                       std::vector<std::uint8_t>& out, const PictureUse& use) {
    if (!frame.isValid())
        return false;
    const QVideoFrameFormat frameFormat = frame.surfaceFormat();
    if (!isDirectPixelFormat(frameFormat.pixelFormat()))
        return convertThroughImage(frame, format, out, use);
    QVideoFrame mapped(frame); // shares the buffer; mapping needs a non-const frame
    if (!mapped.map(QVideoFrame::ReadOnly))
        return false;
    MappedPlanes planes;
    planes.pixelFormat = frameFormat.pixelFormat();
    const QRect whole(QPoint(0, 0), frame.size());
    const QRect viewport = frameFormat.viewport().intersected(whole);
    planes.viewport = viewport.isEmpty() ? whole : viewport;
    for (int i = 0; i < std::min(mapped.planeCount(), 3); ++i) {
        const auto at = static_cast<std::size_t>(i);
        planes.data[at] = mapped.bits(i);
        planes.stride[at] = mapped.bytesPerLine(i);
        planes.size[at] = static_cast<std::size_t>(std::max(mapped.mappedBytes(i), 0));
    }
    planes.colorSpace = frameFormat.colorSpace();
    planes.fullRange = frameFormat.colorRange() == QVideoFrameFormat::ColorRange_Full;
    planes.bottomToTop = frameFormat.scanLineDirection() == QVideoFrameFormat::BottomToTop;
    capture::CameraPicture layout;
    const bool direct = layoutOf(planes.pixelFormat, layout) &&
                        mapped.planeCount() >= capture::planeCount(layout.layout) &&
                        convertPlanes(planes, format, out);
    if (direct && use) {
        capture::CameraPicture camera;
        layoutOf(planes.pixelFormat, camera);
        camera.viewport = planes.viewport;
        for (std::size_t i = 0; i < 3; ++i) {
            camera.data[i] = planes.data[i];
            camera.stride[i] = planes.stride[i];
            camera.size[i] = planes.size[i];
        }
        camera.bottomToTop = planes.bottomToTop;
        const std::optional<capture::FullFrame> full = capture::describeFullFrame(camera);
        use(full ? &*full : nullptr);
    }
    mapped.unmap();
    // A frame whose planes do not add up is dropped: Qt's own reading of the
    // same planes would run past their end as well.
    return direct;
}

} // namespace qtcamera
