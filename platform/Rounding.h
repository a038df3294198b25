#pragma once
// The one rounding rule of the program: a fraction becomes the nearest
// integer, a tie going to the even neighbour (2.5 -> 2, 3.5 -> 4,
// -437.5 -> -438).

#include <cmath>
#include <cstdint>

namespace platform {

// Uses the current floating-point rounding mode, which the program never
// changes from its default of round-half-to-even.
inline std::int32_t nearest(double value) {
    return static_cast<std::int32_t>(std::nearbyint(value));
}

} // namespace platform
