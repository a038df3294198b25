#pragma once
// What the frame analysis makes of one pair of analysed frames, for every
// Tolerance at once. The tuner asks it instead of running the analysis 255
// times: per grid sample it keeps the largest byte difference d, so the
// changed samples at Tolerance T are those with d > T, and sweeping T from
// 255 down only ever adds samples. The rules (grid sizes, the extra column
// and row, spot size, centroid and reach) are the analysis' own, to the bit.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace replay {

// Per Tolerance T (index 1..255; index 0 unused): the smallest
// MaxLaserBeam at which the pair makes a hit, or NoHit.
using BeamThresholds = std::array<std::uint8_t, 256>;
constexpr std::uint8_t NoHit = 255;

// The largest of the three byte differences of every pixel of two frames of
// 3 bytes a pixel, in memory order.
void largestDifferences(std::span<const std::uint8_t> previous,
                        std::span<const std::uint8_t> current, std::vector<std::uint8_t>& out);

class PairModel {
public:
    // For frames of width x height pixels and the grid step S.
    PairModel(std::int32_t width, std::int32_t height, std::int32_t step);

    // The thresholds of one pair, from its largestDifferences().
    BeamThresholds evaluate(std::span<const std::uint8_t> differences);

private:
    std::int32_t width_;
    std::int32_t step_;
    std::int32_t gridCols_;
    std::int32_t gridRows_;
    std::int32_t visitedCols_;
    std::int32_t visitedRows_;
    // Reused between pairs: the visited samples ordered by falling d.
    std::vector<std::uint32_t> ordered_;
};

} // namespace replay
