// The ring of a raw score, shared by the score card and the replay tool.

#include "detection/MotionDetection.h"

#include <cmath>
#include <limits>

namespace MotionDetection {

std::int32_t shotScore(double score) {
    const double s = std::floor(score) + 1.0;
    if (s >= 10.0)
        return 10;
    if (s <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(s);
}

} // namespace MotionDetection
