#include "cameras/qt/VideoFrameConversion.h"

#include <algorithm>
#include <cstdlib>

namespace platform {
namespace {

using PF = QVideoFrameFormat::PixelFormat;

// Which source pixel feeds each output pixel: the middle of its block of the
// cropped picture, so a scaled picture stays centred on the camera's centre.
struct SamplingPlan {
    std::vector<int> columns; // source x for each output column
    std::vector<int> rows;    // source y for each picture row of the output, top first
};

SamplingPlan planSampling(const QRect& crop, int width, int height) {
    SamplingPlan plan;
    plan.columns.resize(static_cast<std::size_t>(width));
    plan.rows.resize(static_cast<std::size_t>(height));
    for (int i = 0; i < width; ++i) {
        const auto offset = ((2 * std::int64_t{i} + 1) * crop.width()) / (2 * std::int64_t{width});
        plan.columns[static_cast<std::size_t>(i)] = crop.x() + static_cast<int>(offset);
    }
    for (int j = 0; j < height; ++j) {
        const auto offset =
            ((2 * std::int64_t{j} + 1) * crop.height()) / (2 * std::int64_t{height});
        plan.rows[static_cast<std::size_t>(j)] = crop.y() + static_cast<int>(offset);
    }
    return plan;
}

inline std::uint8_t clamp255(int v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

// YUV to RGB in 8.8 fixed point for the two matrices and ranges cameras use.
struct YuvMatrix {
    int luma;  // applied to Y (minus 16 in video range)
    int rv;    // V into red
    int gu;    // U into green (subtracted)
    int gv;    // V into green (subtracted)
    int bu;    // U into blue
    int black; // Y level of black

    void toBgr(int y, int u, int v, std::uint8_t* bgr) const {
        const int c = (y - black) * luma + 128;
        const int d = u - 128;
        const int e = v - 128;
        bgr[0] = clamp255((c + bu * d) >> 8);
        bgr[1] = clamp255((c - gu * d - gv * e) >> 8);
        bgr[2] = clamp255((c + rv * e) >> 8);
    }
};

YuvMatrix matrixFor(const MappedPlanes& planes) {
    const bool hd = planes.colorSpace == QVideoFrameFormat::ColorSpace_BT709;
    if (planes.fullRange)
        return hd ? YuvMatrix{256, 403, 48, 120, 475, 0} : YuvMatrix{256, 359, 88, 183, 454, 0};
    return hd ? YuvMatrix{298, 459, 55, 136, 541, 16} : YuvMatrix{298, 409, 100, 208, 516, 16};
}

// Walks the output buffer; pixel(x, y, bgr) writes the colour of source pixel
// (x, y) into bgr[0..2].
template <typename Pixel>
void fill(const MappedPlanes& planes, const SamplingPlan& plan, const FrameLayout& format,
          std::uint8_t* out, Pixel&& pixel) {
    const int width = format.width;
    const int height = static_cast<int>(plan.rows.size());
    const int bytesPerPixel = format.bitCount / 8;
    const std::size_t rowBytes = format.rowBytes();
    const int lastSourceRow = planes.viewport.y() * 2 + planes.viewport.height() - 1;
    for (int r = 0; r < height; ++r) {
        // A positive height stores the picture's bottom row first.
        const int pictureRow = format.height > 0 ? height - 1 - r : r;
        std::ptrdiff_t y = plan.rows[static_cast<std::size_t>(pictureRow)];
        if (planes.bottomToTop)
            y = lastSourceRow - y;
        std::uint8_t* dst = out + static_cast<std::size_t>(r) * rowBytes;
        for (int i = 0; i < width; ++i, dst += bytesPerPixel)
            pixel(std::ptrdiff_t{plan.columns[static_cast<std::size_t>(i)]}, y, dst);
    }
}

struct ByteOrder {
    int r, g, b;
};

bool rgb32Order(PF format, ByteOrder& order) {
    switch (format) {
    case PF::Format_ARGB8888:
    case PF::Format_ARGB8888_Premultiplied:
    case PF::Format_XRGB8888:
        order = {1, 2, 3};
        return true;
    case PF::Format_BGRA8888:
    case PF::Format_BGRA8888_Premultiplied:
    case PF::Format_BGRX8888:
        order = {2, 1, 0};
        return true;
    case PF::Format_ABGR8888:
    case PF::Format_XBGR8888:
        order = {3, 2, 1};
        return true;
    case PF::Format_RGBA8888:
    case PF::Format_RGBX8888:
        order = {0, 1, 2};
        return true;
    default:
        return false;
    }
}

// The number of planes a direct layout has.
int planesOf(PF format) {
    switch (format) {
    case PF::Format_NV12:
    case PF::Format_NV21:
        return 2;
    case PF::Format_YUV420P:
    case PF::Format_YV12:
    case PF::Format_YUV422P:
        return 3;
    default:
        return 1;
    }
}

// True when every byte the conversion may read lies inside the planes: a
// frame whose strides or sizes do not add up must not send it past them.
bool planesCover(const MappedPlanes& planes) {
    const QRect& v = planes.viewport;
    if (v.x() < 0 || v.y() < 0)
        return false;
    const auto lastRow = static_cast<std::size_t>(v.y() + v.height() - 1);
    const auto lastColumn = static_cast<std::size_t>(v.x() + v.width() - 1);
    auto fits = [&](int plane, std::size_t row, std::size_t endInRow) {
        const auto i = static_cast<std::size_t>(plane);
        return planes.data[i] != nullptr && planes.stride[i] >= 0 &&
               row * static_cast<std::size_t>(planes.stride[i]) + endInRow <= planes.size[i];
    };
    switch (planes.pixelFormat) {
    case PF::Format_YUYV:
    case PF::Format_UYVY:
        return fits(0, lastRow, (lastColumn / 2 + 1) * 4);
    case PF::Format_Y8:
        return fits(0, lastRow, lastColumn + 1);
    case PF::Format_NV12:
    case PF::Format_NV21:
        return fits(0, lastRow, lastColumn + 1) &&
               fits(1, lastRow / 2, (lastColumn & ~std::size_t{1}) + 2);
    case PF::Format_YUV420P:
    case PF::Format_YV12:
        return fits(0, lastRow, lastColumn + 1) && fits(1, lastRow / 2, lastColumn / 2 + 1) &&
               fits(2, lastRow / 2, lastColumn / 2 + 1);
    case PF::Format_YUV422P:
        return fits(0, lastRow, lastColumn + 1) && fits(1, lastRow, lastColumn / 2 + 1) &&
               fits(2, lastRow, lastColumn / 2 + 1);
    default:
        return fits(0, lastRow, (lastColumn + 1) * 4);
    }
}

} // namespace

bool isDirectPixelFormat(QVideoFrameFormat::PixelFormat format) {
    ByteOrder order{};
    switch (format) {
    case PF::Format_YUYV:
    case PF::Format_UYVY:
    case PF::Format_NV12:
    case PF::Format_NV21:
    case PF::Format_YUV420P:
    case PF::Format_YV12:
    case PF::Format_YUV422P:
    case PF::Format_Y8:
        return true;
    default:
        return rgb32Order(format, order);
    }
}

bool convertPlanes(const MappedPlanes& planes, const FrameLayout& format,
                   std::vector<std::uint8_t>& out) {
    if (!isDirectPixelFormat(planes.pixelFormat) || planes.viewport.isEmpty() ||
        format.width <= 0 || format.height == 0 ||
        (format.bitCount != 24 && format.bitCount != 32) || !planesCover(planes))
        return false;
    const QRect crop = centreCrop43(planes.viewport.width(), planes.viewport.height())
                           .translated(planes.viewport.topLeft());
    const SamplingPlan plan = planSampling(crop, format.width, std::abs(format.height));
    out.assign(format.frameBytes(), 0);
    std::uint8_t* dst = out.data();
    const auto* p0 = planes.data[0];
    const auto* p1 = planes.data[1];
    const auto* p2 = planes.data[2];
    const std::ptrdiff_t s0 = planes.stride[0];
    const std::ptrdiff_t s1 = planes.stride[1];
    const std::ptrdiff_t s2 = planes.stride[2];
    const YuvMatrix m = matrixFor(planes);

    switch (planes.pixelFormat) {
    case PF::Format_YUYV:
        fill(planes, plan, format, dst, [&](std::ptrdiff_t x, std::ptrdiff_t y, std::uint8_t* bgr) {
            const std::uint8_t* pair = p0 + y * s0 + (x >> 1) * 4;
            m.toBgr(pair[(x & 1) * 2], pair[1], pair[3], bgr);
        });
        break;
    case PF::Format_UYVY:
        fill(planes, plan, format, dst, [&](std::ptrdiff_t x, std::ptrdiff_t y, std::uint8_t* bgr) {
            const std::uint8_t* pair = p0 + y * s0 + (x >> 1) * 4;
            m.toBgr(pair[1 + (x & 1) * 2], pair[0], pair[2], bgr);
        });
        break;
    case PF::Format_NV12:
    case PF::Format_NV21: {
        const int uFirst = planes.pixelFormat == PF::Format_NV12 ? 0 : 1;
        fill(planes, plan, format, dst, [&](std::ptrdiff_t x, std::ptrdiff_t y, std::uint8_t* bgr) {
            const std::uint8_t* uv = p1 + (y >> 1) * s1 + (x & ~1);
            m.toBgr(p0[y * s0 + x], uv[uFirst], uv[1 - uFirst], bgr);
        });
        break;
    }
    case PF::Format_YUV420P:
    case PF::Format_YV12: {
        const auto* uPlane = planes.pixelFormat == PF::Format_YUV420P ? p1 : p2;
        const auto* vPlane = planes.pixelFormat == PF::Format_YUV420P ? p2 : p1;
        const auto uStride = planes.pixelFormat == PF::Format_YUV420P ? s1 : s2;
        const auto vStride = planes.pixelFormat == PF::Format_YUV420P ? s2 : s1;
        fill(planes, plan, format, dst, [&](std::ptrdiff_t x, std::ptrdiff_t y, std::uint8_t* bgr) {
            m.toBgr(p0[y * s0 + x], uPlane[(y >> 1) * uStride + (x >> 1)],
                    vPlane[(y >> 1) * vStride + (x >> 1)], bgr);
        });
        break;
    }
    case PF::Format_YUV422P:
        fill(planes, plan, format, dst, [&](std::ptrdiff_t x, std::ptrdiff_t y, std::uint8_t* bgr) {
            m.toBgr(p0[y * s0 + x], p1[y * s1 + (x >> 1)], p2[y * s2 + (x >> 1)], bgr);
        });
        break;
    case PF::Format_Y8:
        fill(planes, plan, format, dst, [&](std::ptrdiff_t x, std::ptrdiff_t y, std::uint8_t* bgr) {
            // Grey cameras send full-range levels.
            bgr[0] = bgr[1] = bgr[2] = p0[y * s0 + x];
        });
        break;
    default: {
        ByteOrder order{};
        rgb32Order(planes.pixelFormat, order);
        fill(planes, plan, format, dst, [&](std::ptrdiff_t x, std::ptrdiff_t y, std::uint8_t* bgr) {
            const std::uint8_t* px = p0 + y * s0 + x * 4;
            bgr[0] = px[order.b];
            bgr[1] = px[order.g];
            bgr[2] = px[order.r];
        });
        break;
    }
    }
    return true;
}

namespace {

bool convertThroughImage(const QVideoFrame& frame, const FrameLayout& format,
                         std::vector<std::uint8_t>& out) {
    if (format.width <= 0 || format.height == 0 || (format.bitCount != 24 && format.bitCount != 32))
        return false;
    const QImage picture = frame.toImage();
    if (picture.isNull())
        return false;
    convertImage(picture, format, out);
    return true;
}

} // namespace

bool convertVideoFrame(const QVideoFrame& frame, const FrameLayout& format,
                       std::vector<std::uint8_t>& out) {
    if (!frame.isValid())
        return false;
    const QVideoFrameFormat frameFormat = frame.surfaceFormat();
    if (!isDirectPixelFormat(frameFormat.pixelFormat()))
        return convertThroughImage(frame, format, out);
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
    const bool direct =
        mapped.planeCount() >= planesOf(planes.pixelFormat) && convertPlanes(planes, format, out);
    mapped.unmap();
    // A frame whose planes do not add up is dropped: Qt's own reading of the
    // same planes would run past their end as well.
    return direct;
}

} // namespace platform
