#include "capture/service/FrameLayout.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace capture {

namespace {

// |value| in 64 bits, so the lowest 32-bit value has one too.
std::size_t magnitude(std::int32_t value) {
    return static_cast<std::size_t>(std::abs(std::int64_t{value}));
}

} // namespace

std::optional<FrameLayout> FrameLayout::of(const BITMAPINFOHEADER& header) {
    const FrameLayout layout{header.biWidth, header.biHeight, header.biBitCount};
    if (!layout.isShowable())
        return std::nullopt;
    return layout;
}

bool FrameLayout::isShowable() const {
    if (bitCount != 24 && bitCount != 32)
        return false;
    if (width <= 0 || height == 0)
        return false;
    // Guard against absurd sizes before any multiplication.
    constexpr std::int32_t limit = 1 << 14;
    return width <= limit && height <= limit && height >= -limit;
}

int FrameLayout::rows() const {
    return static_cast<int>(std::min<std::size_t>(magnitude(height), INT_MAX));
}

std::size_t FrameLayout::rowBytes() const {
    // Rows are padded to a multiple of four bytes.
    const std::size_t bits =
        magnitude(width) * static_cast<std::size_t>(std::max<std::int16_t>(bitCount, 0));
    return (bits + 31) / 32 * 4;
}

std::size_t FrameLayout::frameBytes() const {
    return rowBytes() * magnitude(height);
}

BITMAPINFOHEADER FrameLayout::header() const {
    BITMAPINFOHEADER fields{};
    fields.biSize = sizeof(BITMAPINFOHEADER);
    fields.biWidth = width;
    fields.biHeight = height;
    fields.biPlanes = 1;
    fields.biBitCount = bitCount;
    fields.biCompression = BI_RGB;
    fields.biSizeImage = static_cast<std::uint32_t>(frameBytes());
    return fields;
}

QByteArray FrameLayout::videoFormat() const {
    const BITMAPINFOHEADER fields = header();
    return {reinterpret_cast<const char*>(&fields), static_cast<qsizetype>(sizeof fields)};
}

} // namespace capture
