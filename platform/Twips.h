#pragma once
// The window's controls are placed in twips; the screen wants pixels. At 96
// dots per inch a pixel is 15 twips; Qt's device pixel ratio scales pixels on
// high-density screens, so the factor stays fixed.

#include "platform/Rounding.h"

namespace platform {

constexpr int TwipsPerPixel = 15;

// Pixels for a length or position in twips, rounded to the nearest pixel.
inline int twipsToPixels(double value) {
    return nearest(value / TwipsPerPixel);
}

// Twips for a length or position in pixels.
constexpr int pixelsToTwips(int pixels) {
    return pixels * TwipsPerPixel;
}

} // namespace platform
