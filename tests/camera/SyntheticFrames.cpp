#include "SyntheticFrames.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace cameratest {
namespace {

using PF = QVideoFrameFormat::PixelFormat;

std::uint8_t clamp8(int v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

struct Yuv {
    std::uint8_t y, u, v;
};

Yuv toYuv(const QColor& c) {
    const int r = c.red(), g = c.green(), b = c.blue();
    return {clamp8(16 + ((66 * r + 129 * g + 25 * b + 128) >> 8)),
            clamp8(128 + ((-38 * r - 74 * g + 112 * b + 128) >> 8)),
            clamp8(128 + ((112 * r - 94 * g - 18 * b + 128) >> 8))};
}

// Byte positions of red, green, blue and the fourth byte in 32-bit layouts.
std::array<int, 4> rgb32Layout(PF format) {
    switch (format) {
    case PF::Format_ARGB8888:
    case PF::Format_ARGB8888_Premultiplied:
    case PF::Format_XRGB8888:
        return {1, 2, 3, 0};
    case PF::Format_BGRA8888:
    case PF::Format_BGRA8888_Premultiplied:
    case PF::Format_BGRX8888:
        return {2, 1, 0, 3};
    case PF::Format_ABGR8888:
    case PF::Format_XBGR8888:
        return {3, 2, 1, 0};
    default:
        return {0, 1, 2, 3};
    }
}

} // namespace

QColor quadrants(int x, int y, QSize size) {
    const bool right = x >= size.width() / 2;
    const bool bottom = y >= size.height() / 2;
    if (!bottom)
        return right ? QColor(0, 255, 0) : QColor(255, 0, 0);
    return right ? QColor(255, 255, 255) : QColor(0, 0, 255);
}

QVideoFrame makeFrame(PF format, QSize size, const Picture& picture, qint64 startTimeUs) {
    QVideoFrame frame{QVideoFrameFormat(size, format)};
    if (!frame.map(QVideoFrame::WriteOnly))
        return {};
    const int w = size.width();
    const int h = size.height();
    uchar* p0 = frame.bits(0);
    const int s0 = frame.bytesPerLine(0);
    uchar* p1 = frame.planeCount() > 1 ? frame.bits(1) : nullptr;
    const int s1 = frame.planeCount() > 1 ? frame.bytesPerLine(1) : 0;
    uchar* p2 = frame.planeCount() > 2 ? frame.bits(2) : nullptr;
    const int s2 = frame.planeCount() > 2 ? frame.bytesPerLine(2) : 0;

    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QColor c = picture(x, y);
            const Yuv yuv = toYuv(c);
            const Yuv block = toYuv(picture(x & ~1, y & ~1)); // shared chroma
            const Yuv pair = toYuv(picture(x & ~1, y));       // 4:2:2 chroma
            switch (format) {
            case PF::Format_YUYV:
                p0[y * s0 + x * 2] = yuv.y;
                p0[y * s0 + (x & ~1) * 2 + 1] = pair.u;
                p0[y * s0 + (x & ~1) * 2 + 3] = pair.v;
                break;
            case PF::Format_UYVY:
                p0[y * s0 + x * 2 + 1] = yuv.y;
                p0[y * s0 + (x & ~1) * 2] = pair.u;
                p0[y * s0 + (x & ~1) * 2 + 2] = pair.v;
                break;
            case PF::Format_NV12:
            case PF::Format_NV21: {
                p0[y * s0 + x] = yuv.y;
                const bool nv12 = format == PF::Format_NV12;
                p1[(y / 2) * s1 + (x & ~1)] = nv12 ? block.u : block.v;
                p1[(y / 2) * s1 + (x & ~1) + 1] = nv12 ? block.v : block.u;
                break;
            }
            case PF::Format_YUV420P:
            case PF::Format_YV12: {
                p0[y * s0 + x] = yuv.y;
                const bool uFirst = format == PF::Format_YUV420P;
                p1[(y / 2) * s1 + x / 2] = uFirst ? block.u : block.v;
                p2[(y / 2) * s2 + x / 2] = uFirst ? block.v : block.u;
                break;
            }
            case PF::Format_Y8:
                p0[y * s0 + x] = static_cast<uchar>(c.green());
                break;
            case PF::Format_AYUV: // a layout only Qt's own conversion reads
                p0[y * s0 + x * 4] = 255;
                p0[y * s0 + x * 4 + 1] = yuv.y;
                p0[y * s0 + x * 4 + 2] = yuv.u;
                p0[y * s0 + x * 4 + 3] = yuv.v;
                break;
            default: {
                const auto at = rgb32Layout(format);
                uchar* px = p0 + std::ptrdiff_t{y} * s0 + std::ptrdiff_t{x} * 4;
                px[at[0]] = static_cast<uchar>(c.red());
                px[at[1]] = static_cast<uchar>(c.green());
                px[at[2]] = static_cast<uchar>(c.blue());
                px[at[3]] = 255;
                break;
            }
            }
        }
    }
    frame.unmap();
    frame.setStartTime(startTimeUs);
    return frame;
}

} // namespace cameratest
