#pragma once
// The one rounding rule of the program: a fraction becomes the nearest
// integer, a tie going to the even neighbour (2.5 -> 2, 3.5 -> 4,
// -437.5 -> -438).

#include <cmath>
#include <cstdint>
#include <limits>

namespace platform {

// Uses the current floating-point rounding mode, which the program never
// changes from its default of round-half-to-even. Values beyond the 32-bit
// range are held to it (and NaN gives 0) rather than left undefined.
inline std::int32_t nearest(double value) {
    const double rounded = std::nearbyint(value);
    if (!(rounded == rounded))
        return 0;
    if (rounded <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    if (rounded >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(rounded);
}

} // namespace platform
