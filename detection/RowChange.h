#pragma once
// A quick look at a stretch of two frame rows: does any byte differ by more
// than the tolerance? Most rows of most frames don't change, and this lets
// the frame analysis skip them without visiting their pixels one by one.

#include <cstddef>
#include <cstdint>

namespace MotionDetection {

// True when |a[i] - b[i]| > tolerance for some i below count.
bool bytesDiffer(const std::uint8_t* a, const std::uint8_t* b, std::size_t count,
                 std::uint8_t tolerance);

} // namespace MotionDetection
