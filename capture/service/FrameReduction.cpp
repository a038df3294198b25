// The brightest-of-block reduction. YUV pixels that share their chroma are
// taken together: every colour channel grows with the level, so the
// brightest of them, channel by channel, is the colour of their highest
// level with the shared chroma. One colour conversion serves two pixels.

#include "capture/service/FrameReduction.h"

#include "platform/Rounding.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace capture {

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

// One memory row of packed 4:2:2: each pair of pixels is four bytes, the
// first level at Level and U at Chroma, the second level and V two on.
template <int Level, int Chroma> struct PackedLine {
    const std::uint8_t* bytes;
    int level(int x) const { return bytes[x * 2 + Level]; }
    void chroma(int x, int& u, int& v) const {
        u = bytes[x * 2 + Chroma];
        v = bytes[x * 2 + Chroma + 2];
    }
    // Every pair from firstPair on, each pair's brightest channels unscaled.
    void pairs(int firstPair, std::size_t count, const YuvMatrix& m, int* __restrict blue,
               int* __restrict green, int* __restrict red) const {
        const std::uint8_t* __restrict pair = bytes + std::ptrdiff_t{firstPair} * 4;
        for (std::size_t k = 0; k < count; ++k, pair += 4) {
            const int c = std::max(pair[Level], pair[Level + 2]) * m.luma;
            const int u = pair[Chroma];
            const int v = pair[Chroma + 2];
            blue[k] = c + m.bu * u;
            green[k] = c - m.gu * u - m.gv * v;
            red[k] = c + m.rv * v;
        }
    }
};

// One memory row of planar or semi-planar YUV: the chroma of pixel pair x/2
// at (x/2) << Interleave in its row of U and of V (Interleave 1: U and V
// in one row, 0: rows of their own).
template <int Interleave> struct PlanarLine {
    const std::uint8_t* levels;
    const std::uint8_t* us;
    const std::uint8_t* vs;
    int level(int x) const { return levels[x]; }
    void chroma(int x, int& u, int& v) const {
        u = us[(x >> 1) << Interleave];
        v = vs[(x >> 1) << Interleave];
    }
    void pairs(int firstPair, std::size_t count, const YuvMatrix& m, int* __restrict blue,
               int* __restrict green, int* __restrict red) const {
        const std::uint8_t* __restrict y = levels + std::ptrdiff_t{firstPair} * 2;
        const std::uint8_t* __restrict uRow = us + (std::ptrdiff_t{firstPair} << Interleave);
        const std::uint8_t* __restrict vRow = vs + (std::ptrdiff_t{firstPair} << Interleave);
        for (std::size_t k = 0; k < count; ++k) {
            const int c = std::max(y[2 * k], y[2 * k + 1]) * m.luma;
            const int u = uRow[k << Interleave];
            const int v = vRow[k << Interleave];
            blue[k] = c + m.bu * u;
            green[k] = c - m.gu * u - m.gv * v;
            red[k] = c + m.rv * v;
        }
    }
};

// Raises each block's brightest channels by its pairs' (Pairs of them in
// every block, or pairsOf[i] for Pairs 0), the blocks one after another.
template <int Pairs>
void raiseBlocks(int* __restrict acc, std::size_t blocks, const int* __restrict blue,
                 const int* __restrict green, const int* __restrict red, const int* pairsOf) {
    for (std::size_t i = 0; i < blocks; ++i, acc += 3) {
        const int count = Pairs > 0 ? Pairs : pairsOf[i];
        int b = acc[0];
        int g = acc[1];
        int r = acc[2];
        for (int k = 0; k < count; ++k) {
            b = std::max(b, blue[k]);
            g = std::max(g, green[k]);
            r = std::max(r, red[k]);
        }
        acc[0] = b;
        acc[1] = g;
        acc[2] = r;
        blue += count;
        green += count;
        red += count;
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
    const auto finish = [&](std::uint8_t* target) {
        int* acc = brightest.data();
        for (std::size_t i = 0; i < width; ++i, acc += 3, target += pixelBytes) {
            target[0] = clamp255((acc[0] + blueOffset) >> 8);
            target[1] = clamp255((acc[1] + greenOffset) >> 8);
            target[2] = clamp255((acc[2] + redOffset) >> 8);
            acc[0] = acc[1] = acc[2] = INT_MIN;
        }
    };
    // When every block starts and ends on a pair, each row's pairs are
    // converted in one straight loop, then taken block by block.
    const bool pairAligned =
        std::all_of(columns.first.begin(), columns.first.end(), [](int x) { return x % 2 == 0; }) &&
        std::all_of(columns.end.begin(), columns.end.end(), [](int x) { return x % 2 == 0; });
    if (pairAligned) {
        const int firstPair = crop.x() / 2;
        const auto pairs = static_cast<std::size_t>((crop.x() + crop.width() + 1) / 2 - firstPair);
        std::vector<int> blue(pairs);
        std::vector<int> green(pairs);
        std::vector<int> red(pairs);
        // Blocks tile the row; with the usual 640 or 960 camera pixels to
        // 160 every block has the same number of pairs, a constant the
        // compiler unrolls.
        std::vector<int> pairsOf(width);
        for (std::size_t i = 0; i < width; ++i)
            pairsOf[i] = (columns.end[i] - columns.first[i]) / 2;
        const int uniform =
            std::all_of(pairsOf.begin(), pairsOf.end(), [&](int n) { return n == pairsOf[0]; })
                ? pairsOf[0]
                : 0;
        const auto raiseByBlocks = [&](int* acc, const int* b, const int* g, const int* r) {
            switch (uniform) {
            case 2:
                return raiseBlocks<2>(acc, width, b, g, r, pairsOf.data());
            case 3:
                return raiseBlocks<3>(acc, width, b, g, r, pairsOf.data());
            default:
                return raiseBlocks<0>(acc, width, b, g, r, pairsOf.data());
            }
        };
        reduceRows(
            p, crop, format, out,
            [&](std::ptrdiff_t row, std::uint8_t* /*target*/) {
                lineOf(row).pairs(firstPair, pairs, m, blue.data(), green.data(), red.data());
                raiseByBlocks(brightest.data(), blue.data(), green.data(), red.data());
            },
            finish);
        return;
    }
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
        finish);
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

// RGB layouts larger than the output: every byte of a pixel is raised by
// itself, whatever colour it holds, so the bytes of a block are taken
// together in one straight loop; the colours are picked out at the end.
template <int Bytes>
void reduceRgb(const CameraPicture& p, const QRect& crop, const FrameLayout& format,
               std::uint8_t* out) {
    const Blocks columns = blocksOf(crop.x(), crop.width(), format.width);
    const int pixelBytes = format.bytesPerPixel();
    const auto width = static_cast<std::size_t>(format.width);
    std::vector<std::uint8_t> brightest(width * Bytes, 0);
    reduceRows(
        p, crop, format, out,
        [&](std::ptrdiff_t row, std::uint8_t* /*target*/) {
            const std::uint8_t* line = p.data[0] + row * p.stride[0];
            std::uint8_t* __restrict acc = brightest.data();
            for (std::size_t i = 0; i < width; ++i, acc += Bytes) {
                const std::uint8_t* __restrict px = line + std::ptrdiff_t{columns.first[i]} * Bytes;
                const std::uint8_t* const end = line + std::ptrdiff_t{columns.end[i]} * Bytes;
                for (; px < end; px += Bytes) {
                    for (int k = 0; k < Bytes; ++k)
                        acc[k] = std::max(acc[k], px[k]);
                }
            }
        },
        [&](std::uint8_t* target) {
            std::uint8_t* acc = brightest.data();
            for (std::size_t i = 0; i < width; ++i, acc += Bytes, target += pixelBytes) {
                target[0] = acc[p.blueByte];
                target[1] = acc[p.greenByte];
                target[2] = acc[p.redByte];
            }
            std::fill(brightest.begin(), brightest.end(), std::uint8_t{0});
        });
}

} // namespace

QRect centreCrop43(int width, int height) {
    if (width <= 0 || height <= 0)
        return {};
    const qint64 w = width;
    const qint64 h = height;
    if (w * 3 > h * 4) { // wider than 4:3: cut the sides
        const qint64 cropWidth =
            std::max<qint64>(1, platform::nearest(static_cast<double>(h) * 4.0 / 3.0));
        return {static_cast<int>((w - cropWidth) / 2), 0, static_cast<int>(cropWidth), height};
    }
    const qint64 cropHeight = std::max<qint64>(
        1, platform::nearest(static_cast<double>(w) * 3.0 / 4.0)); // taller: cut top and bottom
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
        reduceYuv(p, crop, format, dst,
                  [&](std::ptrdiff_t row) { return PackedLine<0, 1>{p0 + row * s0}; });
        break;
    case Layout::Uyvy:
        reduceYuv(p, crop, format, dst,
                  [&](std::ptrdiff_t row) { return PackedLine<1, 0>{p0 + row * s0}; });
        break;
    case Layout::Nv12:
    case Layout::Nv21: {
        const int uFirst = p.layout == Layout::Nv12 ? 0 : 1;
        reduceYuv(p, crop, format, dst, [&](std::ptrdiff_t row) {
            const std::uint8_t* uv = p1 + (row >> 1) * s1;
            return PlanarLine<1>{p0 + row * s0, uv + uFirst, uv + 1 - uFirst};
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
            const std::ptrdiff_t chromaRow = row >> rowShift;
            return PlanarLine<0>{p0 + row * s0, uPlane + chromaRow * uStride,
                                 vPlane + chromaRow * vStride};
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
        if (crop.width() != format.width || crop.height() != format.rows()) {
            if (pixelBytes == 4)
                reduceRgb<4>(p, crop, format, dst);
            else
                reduceRgb<3>(p, crop, format, dst);
            break;
        }
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

} // namespace capture
