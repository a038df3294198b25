// The frame routine: on every N-th frame compares the frame with the previous
// analysed frame on a grid of every S-th pixel, passing a spot of acceptable
// size on to the hit location and telling the shot tally why any other change
// was not; then draws the aiming cross into every frame.

#include "capture/StatusFunctions.h"
#include "detection/AimingCross.h"
#include "detection/ChangeMap.h"
#include "detection/MotionDetection.h"
#include "detection/RowChange.h"
#include "detection/Testing.h"
#include "platform/Rounding.h"
#include "platform/ShotTally.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace MotionDetection {

namespace {

FrameState frameState;

constexpr std::int64_t int32Max = std::numeric_limits<std::int32_t>::max();

// The sizes of one frame as derived from its byte count and the capture
// status. Every offset is 64-bit so no product overflows.
struct Geometry {
    std::int64_t bytes = 0;    // dwBytesUsed
    std::int64_t height = 0;   // H
    std::int64_t width = 0;    // W
    std::int64_t rowBytes = 0; // nearest(dwBytesUsed / H)
    std::int64_t bytesPerPixel = 0;
    std::int32_t gridCols = 0;
    std::int32_t gridRows = 0;
    bool hasRows = false;   // H usable: the horizontal bar and the rows
    bool hasPixels = false; // W usable too: the vertical bar and the grid
};

Geometry measure(const capture::VIDEOHDR& header, std::uint32_t height, std::uint32_t width,
                 std::int32_t step) {
    Geometry g;
    g.bytes = header.dwBytesUsed;
    g.height = height;
    g.width = width;
    // Sizes beyond the 32-bit range cannot come from a real frame; they would
    // also overflow the conversions.
    if (header.lpData == nullptr || g.height == 0 || g.height > int32Max || g.bytes > int32Max)
        return g;
    g.hasRows = true;
    g.rowBytes = platform::nearest(static_cast<double>(g.bytes) / static_cast<double>(g.height));
    if (g.width == 0 || g.width > int32Max)
        return g;
    g.hasPixels = true;
    g.bytesPerPixel =
        platform::nearest(static_cast<double>(g.rowBytes) / static_cast<double>(g.width));
    g.gridCols = platform::nearest(static_cast<double>(g.width) / step);
    g.gridRows = platform::nearest(static_cast<double>(g.height) / step);
    return g;
}

// Frames whose sizes would divide by zero or reach past the frame are not
// analysed. The last pixel read lies at (H - 1) x RowBytes + W x BytesPerPixel - 1.
bool analysable(const Geometry& g) {
    return g.hasPixels && g.gridCols > 0 && g.gridRows > 0 && g.rowBytes >= 1 &&
           g.bytesPerPixel >= 1 && g.height * g.rowBytes <= g.bytes &&
           (g.height - 1) * g.rowBytes + g.width * g.bytesPerPixel <= g.bytes;
}

// Writes white bytes, clipped to the frame. The vertical bar is one pixel
// (a few bytes) a row: those go without a call.
inline void whiten(std::uint8_t* frame, const Geometry& g, std::int64_t offset,
                   std::int64_t length) {
    const std::int64_t end = std::min(offset + length, g.bytes);
    if (offset < 0 || offset >= end)
        return;
    const std::int64_t count = end - offset;
    if (count <= 4) { // spelt out, or the compiler makes it a call of memset again
        std::uint8_t* const pixel = frame + offset;
        pixel[0] = 255;
        if (count > 1)
            pixel[1] = 255;
        if (count > 2)
            pixel[2] = 255;
        if (count > 3)
            pixel[3] = 255;
        return;
    }
    std::memset(frame + offset, 255, static_cast<std::size_t>(count));
}

// The one-pixel white cross through the middle of the frame, for the
// preview: drawn after the frame has been read.
void drawCross(std::uint8_t* frame, const Geometry& g) {
    if (!g.hasRows)
        return;
    whiten(frame, g, platform::nearest(static_cast<double>(g.height * g.rowBytes) / 2.0),
           g.rowBytes);
    if (!g.hasPixels)
        return;
    const std::int64_t half = platform::nearest(static_cast<double>(g.rowBytes) / 2.0);
    if (g.bytesPerPixel == 3 && g.rowBytes > 0 &&
        (g.height - 1) * g.rowBytes + half + 3 <= g.bytes) {
        // The usual 24-bit frame, wholly inside: no clipping needed.
        std::uint8_t* pixel = frame + half;
        for (std::int64_t i = 0; i < g.height; ++i, pixel += g.rowBytes) {
            pixel[0] = 255;
            pixel[1] = 255;
            pixel[2] = 255;
        }
        return;
    }
    for (std::int64_t i = 0; i < g.height; ++i) {
        const std::int64_t offset = i * g.rowBytes + half;
        if (offset >= g.bytes)
            break;
        whiten(frame, g, offset, g.bytesPerPixel);
        if (g.rowBytes == 0)
            break; // every row starts at the same byte
    }
}

void keepSize(std::vector<std::uint8_t>& buffer, std::size_t size) {
    if (buffer.size() != size)
        buffer.resize(size); // keeps the content; growth adds zeros
}

// The sum of how much every byte of the changed cells' pixels rose from the
// previous analysed frame to the latest: below 0 when the spot darkened.
std::int64_t changeOfCells(const ChangeMap& map, const std::uint8_t* latest,
                           const std::uint8_t* previous, const Geometry& g, std::int32_t step) {
    std::int64_t change = 0;
    const std::int64_t bytesPerPixel = g.bytesPerPixel;
    const std::int64_t visitedCols = (g.width - 1) / step + 1;
    std::int32_t gy = 0;
    for (std::int64_t y = 0; y <= g.height - 1; y += step, ++gy) {
        for (std::int32_t gx = 0; gx < visitedCols; ++gx) {
            if (map.cell(gx, gy) != 1)
                continue;
            const std::int64_t o = y * g.rowBytes + std::int64_t{gx} * step * bytesPerPixel;
            for (std::int64_t k = 0; k < bytesPerPixel; ++k)
                change += latest[o + k] - previous[o + k];
        }
    }
    return change;
}

void analyse(const std::uint8_t* frame, const Geometry& g, std::int32_t step,
             std::int32_t tolerance) {
    const auto size = static_cast<std::size_t>(g.bytes);
    keepSize(frameState.BufferA, size + 1);
    keepSize(frameState.BufferB, size + 1);

    ChangeMap map(g.gridCols, g.gridRows);

    frameState.LatestInA = !frameState.LatestInA;
    std::memcpy(frameState.LatestInA ? frameState.BufferA.data() : frameState.BufferB.data(), frame,
                size);

    // The difference between the two buffers is the difference between the
    // new frame and the previous analysed one, whichever buffer holds which.
    const std::uint8_t* a = frameState.BufferA.data();
    const std::uint8_t* b = frameState.BufferB.data();
    std::int32_t minX = g.gridCols;
    std::int32_t maxX = 0;
    std::int32_t minY = g.gridRows;
    std::int32_t maxY = 0;
    const std::int64_t bytesPerPixel = g.bytesPerPixel;
    const std::int64_t pixelStep = step * bytesPerPixel;
    const std::int64_t visitedCols = (g.width - 1) / step + 1;
    // From the first byte of a row's first visited pixel to the last byte of its last.
    const auto rowSpan = static_cast<std::size_t>((visitedCols - 1) * pixelStep + bytesPerPixel);
    std::uint8_t* const cells = map.Cells.data();
    std::int32_t gy = 0;
    for (std::int64_t y = 0; y <= g.height - 1; y += step, ++gy) {
        const std::int64_t rowStart = y * g.rowBytes;
        // Unchanged cells stay 0, so a row without any changed byte is done.
        if (!bytesDiffer(a + rowStart, b + rowStart, rowSpan, static_cast<std::uint8_t>(tolerance)))
            continue;
        std::uint8_t* const cellRow = cells + static_cast<std::ptrdiff_t>(gy) * map.Stride;
        std::int64_t o = rowStart;
        for (std::int32_t gx = 0; gx < visitedCols; ++gx, o += pixelStep) {
            bool changed = false;
            for (std::int64_t k = 0; k < bytesPerPixel && !changed; ++k)
                changed = std::abs(a[o + k] - b[o + k]) > tolerance;
            if (changed) {
                minX = std::min(minX, gx);
                maxX = std::max(maxX, gx);
                minY = std::min(minY, gy);
                maxY = std::max(maxY, gy);
                cellRow[gx] = 1;
            }
        }
    }
    // The loops above visit at least the pixel (0, 0).
    map.Cols = g.gridCols;
    map.Rows = g.gridRows;
    map.Filled = true;

    const std::int32_t xExtent = platform::nearest(
        static_cast<double>(std::int64_t{maxX - minX} * 100) / static_cast<double>(g.gridCols));
    const std::int32_t yExtent = platform::nearest(
        static_cast<double>(std::int64_t{maxY - minY} * 100) / static_cast<double>(g.gridRows));
    const std::int32_t spotSize = xExtent > yExtent ? xExtent : yExtent;
    // MaxLaserBeam as stored: 0 before the start-up's setter calls lets nothing through.
    if (spotSize < GetMaxLaserBeam() && spotSize > 0) {
        const std::uint8_t* latest = frameState.LatestInA ? a : b;
        const std::uint8_t* previous = frameState.LatestInA ? b : a;
        setHitWentOut(changeOfCells(map, latest, previous, g, step) < 0);
        LocateHit(map);
        setHitWentOut(false);
    } else if (spotSize == 0)
        platform::shotTally().count(platform::MissReason::SingleSample);
    else if (spotSize > 0)
        platform::shotTally().count(platform::MissReason::SpotTooLarge);
    // Below 0 nothing changed: no flash to account for.
}

} // namespace

std::int32_t FrameCallback(capture::CaptureHandle captureWindow, capture::VIDEOHDR* header) {
    const std::int32_t sampleEvery = std::clamp(GetSampleEveryNthFrame(), 1, 50);
    const std::int32_t step = std::clamp(GetCompareEveryNthByte(), 1, 50);
    std::int32_t tolerance = static_cast<std::uint8_t>(GetTolerance());
    if (tolerance == 0)
        tolerance = 1;

    capture::VIDEOHDR copy{};
    if (header != nullptr)
        std::memcpy(&copy, header, sizeof copy);

    const std::uint32_t height = StatusFunctions::GetImageHeight(captureWindow);
    const std::uint32_t width = StatusFunctions::GetImageWidth(captureWindow);
    const Geometry g = measure(copy, height, width, step);

    // The analysis compares the camera's own pixels; the cross goes in
    // afterwards, for the preview only, so that it never hides a dot.
    if (frameState.FrameCount % sampleEvery != 0)
        platform::shotTally().count(platform::MissReason::FrameSkipped);
    else if (!analysable(g))
        platform::shotTally().count(platform::MissReason::WrongFormat);
    else
        analyse(copy.lpData, g, step, tolerance);
    drawCross(copy.lpData, g);

    // Wraps after about two years of frames at 30 a second.
    frameState.FrameCount = frameState.FrameCount == std::numeric_limits<std::int32_t>::max()
                                ? 0
                                : frameState.FrameCount + 1;
    return 0;
}

void drawAimingCross(capture::CaptureHandle captureWindow, capture::VIDEOHDR* header) {
    capture::VIDEOHDR copy{};
    if (header != nullptr)
        std::memcpy(&copy, header, sizeof copy);
    const std::uint32_t height = StatusFunctions::GetImageHeight(captureWindow);
    const std::uint32_t width = StatusFunctions::GetImageWidth(captureWindow);
    drawCross(copy.lpData, measure(copy, height, width, 1));
}

void resetFrameStateForTesting() {
    frameState = FrameState{};
}
const FrameState& frameStateForTesting() {
    return frameState;
}
void setFrameCountForTesting(std::int32_t count) {
    frameState.FrameCount = count;
}

} // namespace MotionDetection
