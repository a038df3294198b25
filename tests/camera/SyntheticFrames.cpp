#include "SyntheticCamera.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace cameratest {
namespace {

using PF = QVideoFrameFormat::PixelFormat;

// Where one channel's bytes go: plane, first byte, bytes from one block of
// pixels to the next, and the block size as shifts (chroma shares blocks).
struct Channel {
    char name; // R G B A, or Y U V
    int plane, offset, step, xShift = 0, yShift = 0;
};

// One generic writer per family: packed YUV, semi-planar, planar, 32-bit.
std::vector<Channel> channelsOf(PF layout) {
    const bool swap =
        layout == PF::Format_UYVY || layout == PF::Format_NV21 || layout == PF::Format_YV12;
    switch (layout) {
    case PF::Format_YUYV: // Y U Y V
    case PF::Format_UYVY: // U Y V Y
        return {{'Y', 0, swap, 2}, {'U', 0, 1 - swap, 4, 1}, {'V', 0, 3 - swap, 4, 1}};
    case PF::Format_NV12:
    case PF::Format_NV21:
        return {{'Y', 0, 0, 1}, {'U', 1, swap, 2, 1, 1}, {'V', 1, 1 - swap, 2, 1, 1}};
    case PF::Format_YUV420P:
    case PF::Format_YV12:
        return {{'Y', 0, 0, 1}, {'U', 1 + swap, 0, 1, 1, 1}, {'V', 2 - swap, 0, 1, 1, 1}};
    case PF::Format_Y8: // a grey camera: full range
        return {{'G', 0, 0, 1}};
    default: { // byte order from the name: "BGRA8888", "XRGB8888", "AYUV"
        std::vector<Channel> channels;
        const QString name = QVideoFrameFormat::pixelFormatToString(layout);
        for (int i = 0; i < 4; ++i)
            channels.push_back({name[i] == 'X' ? 'A' : name[i].toLatin1(), 0, i, 4});
        return channels;
    }
    }
}

// The channel's byte for a colour; YUV in BT.601 video range.
uchar value(char channel, const QColor& c) {
    const int r = c.red(), g = c.green(), b = c.blue();
    const int y = 16 + ((66 * r + 129 * g + 25 * b + 128) >> 8);
    const int u = 128 + ((-38 * r - 74 * g + 112 * b + 128) >> 8);
    const int v = 128 + ((112 * r - 94 * g - 18 * b + 128) >> 8);
    const int all[] = {r, g, b, 255, y, u, v};
    return static_cast<uchar>(std::clamp(all[std::string_view("RGBAYUV").find(channel)], 0, 255));
}

} // namespace

QVideoFrame makeFrame(const QVideoFrameFormat& format, const Picture& picture, qint64 startTimeUs) {
    QVideoFrame frame{format};
    if (!frame.map(QVideoFrame::WriteOnly))
        return {};
    const std::vector<Channel> channels = channelsOf(format.pixelFormat());
    for (int y = 0; y < format.frameHeight(); ++y) {
        for (int x = 0; x < format.frameWidth(); ++x) {
            const QColor colour = picture(x, y);
            for (const Channel& c : channels) {
                const int bx = x >> c.xShift, by = y >> c.yShift;
                if (bx << c.xShift != x || by << c.yShift != y)
                    continue; // a shared block takes its top-left pixel's colour
                frame.bits(c.plane)[std::ptrdiff_t{by} * frame.bytesPerLine(c.plane) + bx * c.step +
                                    c.offset] = value(c.name, colour);
            }
        }
    }
    frame.unmap();
    frame.setStartTime(startTimeUs);
    return frame;
}

} // namespace cameratest
