// The brightest-of-block reduction. YUV pixels that share their chroma are
// taken together: every colour channel grows with the level, so the
// brightest of them, channel by channel, is the colour of their highest
// level with the shared chroma. One colour conversion serves two pixels.

#include "capture/service/FrameReduction.h"

#include "platform/Rounding.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace platform {

namespace {

using Layout = PixelLayout;

inline std::uint8_t clamp255(int v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

// YUV to RGB in 8.8 fixed point for the two matrices and ranges cameras use.
struct YuvMatrix {
    int luma;  // applied to Y (minus black)
    int rv;    // V into red
    int gu;    // U into green (subtracted)
    int gv;    // V into green (subtracted)
    int bu;    // U into blue
    int black; // Y level of black
};

YuvMatrix matrixFor(const CameraPicture& picture) {
    if (picture.fullRange)
        return picture.bt709 ? YuvMatrix{256, 403, 48, 120, 475, 0}
                             : YuvMatrix{256, 359, 88, 183, 454, 0};
    return picture.bt709 ? YuvMatrix{298, 459, 55, 136, 541, 16}
                         : YuvMatrix{298, 409, 100, 208, 516, 16};
}

// Raises the block's blue, green and red to at least those of a pixel.
inline void keepBrightest(std::uint8_t* bgr, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    bgr[0] = std::max(bgr[0], b);
    bgr[1] = std::max(bgr[1], g);
    bgr[2] = std::max(bgr[2], r);
}

// The source columns of each output column: [first, end), at least one.
struct Blocks {
    std::vector<int> first;
    std::vector<int> end;
};

Blocks blocksOf(int start, int length, int count) {
    Blocks blocks;
    blocks.first.resize(static_cast<std::size_t>(count));
    blocks.end.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const auto from = (std::int64_t{i} * length) / count;
        const auto to = (std::int64_t{i + 1} * length) / count;
        const auto at = static_cast<std::size_t>(i);
        blocks.first[at] = start + static_cast<int>(from);
        blocks.end[at] = start + static_cast<int>(std::max(to, from + 1));
    }
    return blocks;
}

// True when every byte the reduction may read lies inside the planes: a
// picture whose strides or sizes do not add up must not send it past them.
bool planesCover(const CameraPicture& p) {
    const QRect& v = p.viewport;
    if (v.x() < 0 || v.y() < 0)
        return false;
    const auto lastRow = static_cast<std::size_t>(v.y() + v.height() - 1);
    const auto lastColumn = static_cast<std::size_t>(v.x() + v.width() - 1);
    auto fits = [&](int plane, std::size_t row, std::size_t endInRow) {
        const auto i = static_cast<std::size_t>(plane);
        return p.data[i] != nullptr && p.stride[i] >= 0 &&
               row * static_cast<std::size_t>(p.stride[i]) + endInRow <= p.size[i];
    };
    switch (p.layout) {
    case Layout::Yuyv:
    case Layout::Uyvy:
        return fits(0, lastRow, (lastColumn / 2 + 1) * 4);
    case Layout::Grey8:
        return fits(0, lastRow, lastColumn + 1);
    case Layout::Nv12:
    case Layout::Nv21:
        return fits(0, lastRow, lastColumn + 1) &&
               fits(1, lastRow / 2, (lastColumn & ~std::size_t{1}) + 2);
    case Layout::Yuv420p:
    case Layout::Yv12:
        return fits(0, lastRow, lastColumn + 1) && fits(1, lastRow / 2, lastColumn / 2 + 1) &&
               fits(2, lastRow / 2, lastColumn / 2 + 1);
    case Layout::Yuv422p:
        return fits(0, lastRow, lastColumn + 1) && fits(1, lastRow, lastColumn / 2 + 1) &&
               fits(2, lastRow, lastColumn / 2 + 1);
    case Layout::Rgb32:
        return fits(0, lastRow, (lastColumn + 1) * 4);
    case Layout::Rgb24:
        return fits(0, lastRow, (lastColumn + 1) * 3);
    }
    return false;
}

bool rgbBytesValid(const CameraPicture& p, int pixelBytes) {
    const auto valid = [&](int i) { return i >= 0 && i < pixelBytes; };
    return valid(p.redByte) && valid(p.greenByte) && valid(p.blueByte);
}

// The walk shared by every layout: for each output row the source rows of
// its block; rowInto(memoryRow, target) raises the row's brightest values by
// those of that row, and finish(target) writes them out.
template <typename RowInto, typename Finish>
void reduceRows(const CameraPicture& p, const QRect& crop, const FrameLayout& format,
                std::uint8_t* out, RowInto&& rowInto, Finish&& finish) {
    const int height = format.rows();
    const Blocks rows = blocksOf(crop.y(), crop.height(), height);
    const int lastMemoryRow = p.viewport.y() * 2 + p.viewport.height() - 1;
    for (int r = 0; r < height; ++r) {
        std::uint8_t* target =
            out + static_cast<std::size_t>(format.memoryRow(r)) * format.rowBytes();
        const auto at = static_cast<std::size_t>(r);
        for (int y = rows.first[at]; y < rows.end[at]; ++y)
            rowInto(p.bottomToTop ? lastMemoryRow - y : y, target);
        finish(target);
    }
}

// YUV layouts. lineOf(row) gives a reader of one memory row with level(x)
// and chroma(x, u, v), pixels x and x + 1 sharing their chroma when x is
// even. Channels are compared before scaling and clamping, which keep their
// order, so that only the brightest is scaled.
template <typename LineOf>
void reduceYuv(const CameraPicture& p, const QRect& crop, const FrameLayout& format,
               std::uint8_t* out, LineOf&& lineOf) {
    const Blocks columns = blocksOf(crop.x(), crop.width(), format.width);
    const YuvMatrix m = matrixFor(p);
    const int pixelBytes = format.bytesPerPixel();
    const auto width = static_cast<std::size_t>(format.width);
    std::vector<int> brightest(width * 3, INT_MIN);
    // Blue = luma * Y + bu * U + blue offset, and so on.
    const int base = 128 - m.black * m.luma;
    const int blueOffset = base - 128 * m.bu;
    const int greenOffset = base + 128 * (m.gu + m.gv);
    const int redOffset = base - 128 * m.rv;
    reduceRows(
        p, crop, format, out,
        [&](std::ptrdiff_t row, std::uint8_t* /*target*/) {
            const auto line = lineOf(row);
            int* acc = brightest.data();
            for (std::size_t i = 0; i < width; ++i, acc += 3) {
                const int end = columns.end[i];
                int b = acc[0];
                int g = acc[1];
                int r = acc[2];
                for (int x = columns.first[i]; x < end;) {
                    int y = line.level(x);
                    const int pairStart = x & ~1;
                    if (x == pairStart && x + 1 < end)
                        y = std::max(y, line.level(x + 1));
                    int u = 0;
                    int v = 0;
                    line.chroma(pairStart, u, v);
                    const int c = y * m.luma;
                    b = std::max(b, c + m.bu * u);
                    g = std::max(g, c - m.gu * u - m.gv * v);
                    r = std::max(r, c + m.rv * v);
                    x = pairStart + 2;
                }
                acc[0] = b;
                acc[1] = g;
                acc[2] = r;
            }
        },
        [&](std::uint8_t* target) {
            int* acc = brightest.data();
            for (std::size_t i = 0; i < width; ++i, acc += 3, target += pixelBytes) {
                target[0] = clamp255((acc[0] + blueOffset) >> 8);
                target[1] = clamp255((acc[1] + greenOffset) >> 8);
                target[2] = clamp255((acc[2] + redOffset) >> 8);
                acc[0] = acc[1] = acc[2] = INT_MIN;
            }
        });
}

// Layouts with the colour in every pixel: colour(row, x, b, g, r).
template <typename Colour>
void reducePlain(const CameraPicture& p, const QRect& crop, const FrameLayout& format,
                 std::uint8_t* out, Colour&& colour) {
    const Blocks columns = blocksOf(crop.x(), crop.width(), format.width);
    const int pixelBytes = format.bytesPerPixel();
    if (crop.width() == format.width && crop.height() == format.rows()) { // a plain copy
        reduceRows(
            p, crop, format, out,
            [&](std::ptrdiff_t row, std::uint8_t* target) {
                std::uint8_t* bgr = target;
                for (int x = crop.x(); x < crop.x() + crop.width(); ++x, bgr += pixelBytes)
                    colour(row, x, bgr[0], bgr[1], bgr[2]);
            },
            [](std::uint8_t* /*target*/) {});
        return;
    }
    reduceRows(
        p, crop, format, out,
        [&](std::ptrdiff_t row, std::uint8_t* target) {
            std::uint8_t* bgr = target;
            for (std::size_t i = 0; i < columns.first.size(); ++i, bgr += pixelBytes) {
                for (int x = columns.first[i]; x < columns.end[i]; ++x) {
                    std::uint8_t b = 0;
                    std::uint8_t g = 0;
                    std::uint8_t r = 0;
                    colour(row, x, b, g, r);
                    keepBrightest(bgr, b, g, r);
                }
            }
        },
        [](std::uint8_t* /*target*/) {});
}

} // namespace

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

int planeCount(PixelLayout layout) {
    switch (layout) {
    case Layout::Nv12:
    case Layout::Nv21:
        return 2;
    case Layout::Yuv420p:
    case Layout::Yv12:
    case Layout::Yuv422p:
        return 3;
    default:
        return 1;
    }
}

bool reducePicture(const CameraPicture& p, const FrameLayout& format,
                   std::vector<std::uint8_t>& out) {
    const bool rgb = p.layout == Layout::Rgb32 || p.layout == Layout::Rgb24;
    if (p.viewport.isEmpty() || format.width <= 0 || format.height == 0 ||
        (format.bitCount != 24 && format.bitCount != 32) || !planesCover(p) ||
        (rgb && !rgbBytesValid(p, p.layout == Layout::Rgb32 ? 4 : 3)))
        return false;
    const QRect crop =
        centreCrop43(p.viewport.width(), p.viewport.height()).translated(p.viewport.topLeft());
    out.assign(format.frameBytes(), 0);
    std::uint8_t* const dst = out.data();
    const auto* p0 = p.data[0];
    const auto* p1 = p.data[1];
    const auto* p2 = p.data[2];
    const std::ptrdiff_t s0 = p.stride[0];
    const std::ptrdiff_t s1 = p.stride[1];
    const std::ptrdiff_t s2 = p.stride[2];

    switch (p.layout) {
    case Layout::Yuyv:
    case Layout::Uyvy: {
        const int levelByte = p.layout == Layout::Yuyv ? 0 : 1;
        const int uByte = p.layout == Layout::Yuyv ? 1 : 0;
        reduceYuv(p, crop, format, dst, [&](std::ptrdiff_t row) {
            struct Line {
                const std::uint8_t* bytes;
                int levelByte;
                int uByte;
                int level(int x) const { return bytes[x * 2 + levelByte]; }
                void chroma(int x, int& u, int& v) const {
                    u = bytes[x * 2 + uByte];
                    v = bytes[x * 2 + uByte + 2];
                }
            };
            return Line{p0 + row * s0, levelByte, uByte};
        });
        break;
    }
    case Layout::Nv12:
    case Layout::Nv21: {
        const int uFirst = p.layout == Layout::Nv12 ? 0 : 1;
        reduceYuv(p, crop, format, dst, [&](std::ptrdiff_t row) {
            struct Line {
                const std::uint8_t* levels;
                const std::uint8_t* uv;
                int uFirst;
                int level(int x) const { return levels[x]; }
                void chroma(int x, int& u, int& v) const {
                    u = uv[x + uFirst];
                    v = uv[x + 1 - uFirst];
                }
            };
            return Line{p0 + row * s0, p1 + (row >> 1) * s1, uFirst};
        });
        break;
    }
    case Layout::Yuv420p:
    case Layout::Yv12:
    case Layout::Yuv422p: {
        const bool yv12 = p.layout == Layout::Yv12;
        const auto* uPlane = yv12 ? p2 : p1;
        const auto* vPlane = yv12 ? p1 : p2;
        const auto uStride = yv12 ? s2 : s1;
        const auto vStride = yv12 ? s1 : s2;
        const int rowShift = p.layout == Layout::Yuv422p ? 0 : 1;
        reduceYuv(p, crop, format, dst, [&](std::ptrdiff_t row) {
            struct Line {
                const std::uint8_t* levels;
                const std::uint8_t* us;
                const std::uint8_t* vs;
                int level(int x) const { return levels[x]; }
                void chroma(int x, int& u, int& v) const {
                    u = us[x >> 1];
                    v = vs[x >> 1];
                }
            };
            const std::ptrdiff_t chromaRow = row >> rowShift;
            return Line{p0 + row * s0, uPlane + chromaRow * uStride, vPlane + chromaRow * vStride};
        });
        break;
    }
    case Layout::Grey8:
        reducePlain(p, crop, format, dst,
                    [&](std::ptrdiff_t row, std::ptrdiff_t x, std::uint8_t& b, std::uint8_t& g,
                        std::uint8_t& r) { b = g = r = p0[row * s0 + x]; });
        break;
    case Layout::Rgb32:
    case Layout::Rgb24: {
        const std::ptrdiff_t pixelBytes = p.layout == Layout::Rgb32 ? 4 : 3;
        reducePlain(p, crop, format, dst,
                    [&](std::ptrdiff_t row, std::ptrdiff_t x, std::uint8_t& b, std::uint8_t& g,
                        std::uint8_t& r) {
                        const std::uint8_t* px = p0 + row * s0 + x * pixelBytes;
                        b = px[p.blueByte];
                        g = px[p.greenByte];
                        r = px[p.redByte];
                    });
        break;
    }
    }
    return true;
}

} // namespace platform
