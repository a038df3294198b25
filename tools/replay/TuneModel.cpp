#include "tools/replay/TuneModel.h"

#include "platform/Rounding.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace replay {

namespace {

// A sample as its grid column and row.
constexpr std::uint32_t pack(std::int32_t column, std::int32_t row) {
    return static_cast<std::uint32_t>(column) | (static_cast<std::uint32_t>(row) << 16U);
}

// The changed samples at one Tolerance, as the analysis measures them.
struct ChangedSamples {
    std::int32_t minX = std::numeric_limits<std::int32_t>::max();
    std::int32_t maxX = -1;
    std::int32_t minY = std::numeric_limits<std::int32_t>::max();
    std::int32_t maxY = -1;
    // Inside GridCols x GridRows only: the hit location leaves out the extra
    // column and row, the spot size does not.
    std::int32_t counted = 0;
    std::int64_t sumX = 0;
    std::int64_t sumY = 0;

    void add(std::int32_t x, std::int32_t y, std::int32_t cols, std::int32_t rows) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
        if (x < cols && y < rows) {
            ++counted;
            sumX += x;
            sumY += y;
        }
    }
};

std::int32_t extent(std::int32_t spread, std::int32_t cells) {
    return platform::nearest(static_cast<double>(std::int64_t{spread} * 100) /
                             static_cast<double>(cells));
}

} // namespace

void largestDifferences(std::span<const std::uint8_t> previous,
                        std::span<const std::uint8_t> current, std::vector<std::uint8_t>& out) {
    const std::size_t pixels = std::min(previous.size(), current.size()) / 3;
    out.resize(pixels);
    const std::uint8_t* a = previous.data();
    const std::uint8_t* b = current.data();
    const auto difference = [](std::uint8_t x, std::uint8_t y) {
        return static_cast<std::uint8_t>(x > y ? x - y : y - x);
    };
    for (std::size_t p = 0; p < pixels; ++p, a += 3, b += 3)
        out[p] = std::max({difference(a[0], b[0]), difference(a[1], b[1]), difference(a[2], b[2])});
}

PairModel::PairModel(std::int32_t width, std::int32_t height, std::int32_t step)
    : width_(width), step_(step), gridCols_(platform::nearest(static_cast<double>(width) / step)),
      gridRows_(platform::nearest(static_cast<double>(height) / step)),
      visitedCols_((width - 1) / step + 1), visitedRows_((height - 1) / step + 1) {}

BeamThresholds PairModel::evaluate(std::span<const std::uint8_t> differences) {
    BeamThresholds thresholds;
    thresholds.fill(NoHit);

    // The visited samples sorted by falling d (a counting sort); d of 0 or 1
    // never exceeds a Tolerance, which is at least 1.
    std::array<std::uint32_t, 256> bucket{};
    const auto visit = [&](auto&& use) {
        for (std::int32_t gy = 0; gy < visitedRows_; ++gy) {
            const std::uint8_t* row =
                differences.data() + static_cast<std::ptrdiff_t>(gy) * step_ * width_;
            for (std::int32_t gx = 0; gx < visitedCols_; ++gx)
                use(gx, gy, row[static_cast<std::ptrdiff_t>(gx) * step_]);
        }
    };
    visit([&](std::int32_t, std::int32_t, std::uint8_t d) { ++bucket[d]; });
    std::uint32_t placed = 0;
    for (int d = 255; d >= 2; --d)
        placed = std::exchange(bucket[static_cast<std::size_t>(d)], placed) + placed;
    ordered_.resize(placed);
    // Each bucket's entry moves from its start to its end as it fills.
    visit([&](std::int32_t gx, std::int32_t gy, std::uint8_t d) {
        if (d >= 2)
            ordered_[bucket[d]++] = pack(gx, gy);
    });

    const double halfCols = gridCols_ / 2.0;
    const double halfRows = gridRows_ / 2.0;
    const double reach = std::sqrt(halfCols * halfCols + halfRows * halfRows);
    ChangedSamples changed;
    std::size_t next = 0;
    // At T = 255 nothing has changed; each lower T adds the samples of d = T + 1.
    for (int t = 254; t >= 1; --t) {
        const std::uint32_t end = bucket[static_cast<std::size_t>(t) + 1];
        if (next == end) {
            thresholds[static_cast<std::size_t>(t)] = thresholds[static_cast<std::size_t>(t) + 1];
            continue;
        }
        for (; next < end; ++next)
            changed.add(static_cast<std::int32_t>(ordered_[next] & 0xFFFFU),
                        static_cast<std::int32_t>(ordered_[next] >> 16U), gridCols_, gridRows_);
        const std::int32_t spot = std::max(extent(changed.maxX - changed.minX, gridCols_),
                                           extent(changed.maxY - changed.minY, gridRows_));
        // More samples never shrink the spot, and none above 99 passes.
        if (spot >= 100)
            break;
        if (spot <= 0 || changed.counted == 0)
            continue;
        // The hit location's centroid and reach, in its own arithmetic.
        const double sumX = static_cast<double>(changed.sumX);
        const double sumY = static_cast<double>(changed.sumY);
        const double dx = sumX / changed.counted - halfCols;
        const double dy = sumY / changed.counted - halfRows;
        const double distance = std::sqrt(dx * dx + dy * dy);
        if (reach > distance)
            thresholds[static_cast<std::size_t>(t)] = static_cast<std::uint8_t>(spot + 1);
    }
    return thresholds;
}

} // namespace replay
