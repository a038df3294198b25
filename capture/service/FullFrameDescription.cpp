#include "capture/service/FullFrameDescription.h"

#include <algorithm>

namespace capture {

namespace {

struct Component {
    int plane = 0;
    int offset = 0; // bytes from the pixel's (or pixel pair's) first byte
    int step = 1;
};

// Where Y, Cb and Cr (or red, green and blue) lie, with the chroma's
// subsampling; false for a layout without them.
bool componentsOf(const CameraPicture& p, FullFrameColours& colours, std::array<Component, 3>& c,
                  int& shiftX, int& shiftY) {
    colours = FullFrameColours::YCbCr;
    shiftX = 1;
    shiftY = 1;
    switch (p.layout) {
    case PixelLayout::Yuyv:
        c = {{{0, 0, 2}, {0, 1, 4}, {0, 3, 4}}};
        shiftY = 0;
        return true;
    case PixelLayout::Uyvy:
        c = {{{0, 1, 2}, {0, 0, 4}, {0, 2, 4}}};
        shiftY = 0;
        return true;
    case PixelLayout::Nv12:
        c = {{{0, 0, 1}, {1, 0, 2}, {1, 1, 2}}};
        return true;
    case PixelLayout::Nv21:
        c = {{{0, 0, 1}, {1, 1, 2}, {1, 0, 2}}};
        return true;
    case PixelLayout::Yuv420p:
        c = {{{0, 0, 1}, {1, 0, 1}, {2, 0, 1}}};
        return true;
    case PixelLayout::Yv12:
        c = {{{0, 0, 1}, {2, 0, 1}, {1, 0, 1}}};
        return true;
    case PixelLayout::Yuv422p:
        c = {{{0, 0, 1}, {1, 0, 1}, {2, 0, 1}}};
        shiftY = 0;
        return true;
    case PixelLayout::Grey8:
        colours = FullFrameColours::Grey;
        c = {{{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}};
        shiftX = shiftY = 0;
        return true;
    case PixelLayout::Rgb32:
    case PixelLayout::Rgb24: {
        const int bytes = p.layout == PixelLayout::Rgb32 ? 4 : 3;
        colours = FullFrameColours::Rgb;
        c = {{{0, p.redByte, bytes}, {0, p.greenByte, bytes}, {0, p.blueByte, bytes}}};
        shiftX = shiftY = 0;
        return true;
    }
    }
    return false;
}

} // namespace

std::optional<FullFrame> describeFullFrame(const CameraPicture& picture) {
    const QRect crop = centreCrop43(picture.viewport.width(), picture.viewport.height())
                           .translated(picture.viewport.topLeft());
    std::array<Component, 3> components{};
    FullFrame frame;
    int shiftX = 0;
    int shiftY = 0;
    if (crop.isEmpty() || !componentsOf(picture, frame.colours, components, shiftX, shiftY))
        return std::nullopt;
    frame.width = crop.width();
    frame.height = crop.height();
    frame.chromaShiftX = shiftX;
    frame.chromaShiftY = shiftY;
    // The memory row of the crop's top row, as the reduction counts rows.
    const int lastMemoryRow = picture.viewport.y() * 2 + picture.viewport.height() - 1;
    const int topRow = picture.bottomToTop ? lastMemoryRow - crop.y() : crop.y();
    const std::ptrdiff_t direction = picture.bottomToTop ? -1 : 1;
    for (std::size_t i = 0; i < 3; ++i) {
        const Component& c = components[i];
        const auto plane = static_cast<std::size_t>(c.plane);
        if (picture.data[plane] == nullptr)
            return std::nullopt;
        // Luma and RGB at full resolution; chroma at its own.
        const bool chroma = frame.colours == FullFrameColours::YCbCr && i > 0;
        const int row = chroma ? topRow >> shiftY : topRow;
        // Chroma rows and columns follow the luma's at their own scale (off by
        // half a pixel for an odd crop, which the colour test does not mind).
        const int column = chroma ? crop.x() >> shiftX : crop.x();
        frame.planes[i].data = picture.data[plane] +
                               static_cast<std::ptrdiff_t>(row) * picture.stride[plane] +
                               static_cast<std::ptrdiff_t>(column) * c.step + c.offset;
        frame.planes[i].rowStep = direction * picture.stride[plane];
        frame.planes[i].sampleStep = c.step;
    }
    return frame;
}

void FullFrameCopy::assign(const FullFrame& frame) {
    frame_ = frame;
    if (frame.empty())
        return;
    // Each component's rows, from its first sample to its last, kept apart.
    std::array<std::size_t, 3> rowBytes{};
    std::array<std::size_t, 3> rows{};
    std::size_t total = 0;
    const std::size_t count = frame.colours == FullFrameColours::Grey ? 1 : 3;
    for (std::size_t i = 0; i < count; ++i) {
        const bool chroma = frame.colours == FullFrameColours::YCbCr && i > 0;
        const int columns =
            chroma ? (frame.width + (1 << frame.chromaShiftX) - 1) >> frame.chromaShiftX
                   : frame.width;
        rows[i] = static_cast<std::size_t>(
            chroma ? (frame.height + (1 << frame.chromaShiftY) - 1) >> frame.chromaShiftY
                   : frame.height);
        rowBytes[i] = static_cast<std::size_t>(columns - 1) *
                          static_cast<std::size_t>(frame.planes[i].sampleStep) +
                      1;
        total += rows[i] * rowBytes[i];
    }
    bytes_.resize(total);
    frame_.planes = {};
    std::size_t at = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const FullFramePlane& from = frame.planes[i];
        for (std::size_t r = 0; r < rows[i]; ++r)
            std::copy_n(from.data + static_cast<std::ptrdiff_t>(r) * from.rowStep, rowBytes[i],
                        bytes_.data() + at + r * rowBytes[i]);
        frame_.planes[i] = {bytes_.data() + at, static_cast<std::ptrdiff_t>(rowBytes[i]),
                            from.sampleStep};
        at += rows[i] * rowBytes[i];
    }
}

} // namespace capture
