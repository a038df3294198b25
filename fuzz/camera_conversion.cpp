// The camera frame conversion over any layout: any pixel format, picture
// rectangle, row strides (negative too) and plane sizes, each plane its own
// allocation of exactly its size; into any output size. Then the same bytes
// as a frame Qt itself lays out, through the whole conversion. A conversion
// that answers true fills exactly one output frame.

#include "cameras/qt/VideoFrameConversion.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzSupport.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

using PF = QVideoFrameFormat::PixelFormat;

capture::FrameLayout outputFormat(fuzz::FuzzInput& in) {
    capture::FrameLayout format;
    format.width = static_cast<std::int32_t>(in.below(400)) - 8;
    format.height = static_cast<std::int32_t>(in.below(600)) - 300;
    format.bitCount = in.below(8) == 0 ? in.take<std::int16_t>() : (in.below(2) ? 32 : 24);
    return format;
}

void convertPlanes(fuzz::FuzzInput& in, PF pixelFormat) {
    qtcamera::MappedPlanes planes;
    planes.pixelFormat = pixelFormat;
    std::array<int, 4> rect{};
    for (int& value : rect)
        value = in.take<std::int16_t>();
    planes.viewport = QRect(rect[0] % 64, rect[1] % 64, rect[2] % 700, rect[3] % 500);
    planes.colorSpace = static_cast<QVideoFrameFormat::ColorSpace>(in.below(6));
    planes.fullRange = in.below(2) != 0;
    planes.bottomToTop = in.below(2) != 0;
    std::array<std::vector<std::uint8_t>, 3> storage;
    for (std::size_t i = 0; i < 3; ++i) {
        planes.stride[i] = in.take<std::int32_t>() % 4096;
        storage[i].assign(in.below(1 << 18), static_cast<std::uint8_t>(i * 80 + 16));
        planes.size[i] = storage[i].size();
        planes.data[i] = storage[i].empty() ? nullptr : storage[i].data();
    }
    const capture::FrameLayout format = outputFormat(in);
    std::vector<std::uint8_t> out;
    if (qtcamera::convertPlanes(planes, format, out) && out.size() != format.frameBytes())
        std::abort();
}

void convertFrame(fuzz::FuzzInput& in, PF pixelFormat) {
    // Qt maps only frames it could have made itself: even sizes, not empty.
    const int width = 2 * static_cast<int>(in.below(48) + 1);
    const QSize size(width, 2 * static_cast<int>(in.below(36) + 1));
    QVideoFrameFormat frameFormat(size, pixelFormat);
    std::array<int, 4> rect{};
    for (int& value : rect)
        value = static_cast<int>(in.below(100)) - 4;
    frameFormat.setViewport(QRect(rect[0], rect[1], rect[2], rect[3]));
    frameFormat.setScanLineDirection(in.below(2) ? QVideoFrameFormat::BottomToTop
                                                 : QVideoFrameFormat::TopToBottom);
    QVideoFrame frame(frameFormat);
    if (frame.map(QVideoFrame::WriteOnly)) {
        for (int i = 0; i < frame.planeCount(); ++i) {
            const auto fill = in.bytes(static_cast<std::size_t>(std::max(frame.mappedBytes(i), 0)));
            if (!fill.empty())
                std::memcpy(frame.bits(i), fill.data(), fill.size());
        }
        frame.unmap();
    }
    const capture::FrameLayout format = outputFormat(in);
    std::vector<std::uint8_t> out;
    if (qtcamera::convertVideoFrame(frame, format, out) && out.size() != format.frameBytes())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::startQt();
    fuzz::FuzzInput in(data, size);
    const auto pixelFormat = static_cast<PF>(in.below(QVideoFrameFormat::NPixelFormats));
    if (in.below(4) == 0)
        convertFrame(in, pixelFormat);
    else
        convertPlanes(in, pixelFormat);
    return 0;
}
