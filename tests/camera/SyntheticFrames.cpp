#include "SyntheticCamera.h"

#include <algorithm>
#include <array>

namespace cameratest {
namespace {

using PF = QVideoFrameFormat::PixelFormat;

std::array<uchar, 3> toYuv(const QColor& c) {
    const int r = c.red(), g = c.green(), b = c.blue();
    const auto at = [](int v) { return static_cast<uchar>(std::clamp(v, 0, 255)); };
    return {at(16 + ((66 * r + 129 * g + 25 * b + 128) >> 8)),
            at(128 + ((-38 * r - 74 * g + 112 * b + 128) >> 8)),
            at(128 + ((112 * r - 94 * g - 18 * b + 128) >> 8))};
}

} // namespace

QVideoFrame makeFrame(const QVideoFrameFormat& format, const Picture& picture, qint64 startTimeUs) {
    QVideoFrame frame{format};
    if (!frame.map(QVideoFrame::WriteOnly))
        return {};
    const PF layout = format.pixelFormat();
    // Byte order of the 32-bit layouts, from their names ("BGRA8888").
    const QString name = QVideoFrameFormat::pixelFormatToString(layout).left(4);
    const auto at = [&](char channel) { return static_cast<int>(name.indexOf(QChar(channel))); };
    const auto byte = [&](int plane, int x, int y) -> uchar& {
        return frame.bits(plane)[std::ptrdiff_t{y} * frame.bytesPerLine(plane) + x];
    };
    for (int y = 0; y < format.frameHeight(); ++y) {
        for (int x = 0; x < format.frameWidth(); ++x) {
            const QColor c = picture(x, y);
            const auto [luma, u, v] = toYuv(c);
            const auto pair = toYuv(picture(x & ~1, y));       // 4:2:2 chroma
            const auto block = toYuv(picture(x & ~1, y & ~1)); // 4:2:0 chroma
            const bool swap =
                layout == PF::Format_UYVY || layout == PF::Format_NV21 || layout == PF::Format_YV12;
            switch (layout) {
            case PF::Format_YUYV: // Y U Y V
            case PF::Format_UYVY: // U Y V Y
                byte(0, x * 2 + swap, y) = luma;
                byte(0, (x & ~1) * 2 + 1 - swap, y) = pair[1];
                byte(0, (x & ~1) * 2 + 3 - swap, y) = pair[2];
                break;
            case PF::Format_NV12:
            case PF::Format_NV21:
                byte(0, x, y) = luma;
                byte(1, (x & ~1) + swap, y / 2) = block[1];
                byte(1, (x & ~1) + 1 - swap, y / 2) = block[2];
                break;
            case PF::Format_YUV420P:
            case PF::Format_YV12:
                byte(0, x, y) = luma;
                byte(1 + swap, x / 2, y / 2) = block[1];
                byte(2 - swap, x / 2, y / 2) = block[2];
                break;
            case PF::Format_Y8:
                byte(0, x, y) = static_cast<uchar>(c.green());
                break;
            case PF::Format_AYUV: // a layout only Qt's own conversion reads
                std::copy_n(std::array<uchar, 4>{255, luma, u, v}.data(), 4, &byte(0, x * 4, y));
                break;
            default:
                byte(0, x * 4 + at('R'), y) = static_cast<uchar>(c.red());
                byte(0, x * 4 + at('G'), y) = static_cast<uchar>(c.green());
                byte(0, x * 4 + at('B'), y) = static_cast<uchar>(c.blue());
                byte(0, x * 4 + std::max(at('A'), at('X')), y) = 255;
            }
        }
    }
    frame.unmap();
    frame.setStartTime(startTimeUs);
    return frame;
}

} // namespace cameratest
