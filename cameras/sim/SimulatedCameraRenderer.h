#pragma once
// Draws the simulated camera's pictures. The printed target is drawn once per
// format and paper brightness; every frame then only adds sensor noise and
// the laser dot, which keeps 30 frames a second cheap at any size.
//
// The target: white-ish paper at the ambient brightness with ten black ring
// lines centred in the picture. With R = half the picture height, ring r
// (1..10) covers the radii [(10 - r) R / 10, (11 - r) R / 10), so ring 10 is
// the centre disc and the outer circle touches the top and bottom edges.

#include "cameras/sim/SimulatedCamera.h"
#include "capture/service/CaptureFrameImage.h"

#include <QImage>
#include <QPointF>
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

namespace simcamera {

struct LaserDot {
    QPointF point; // fractions of the picture, origin top left, y down
    double radius = 2.5;
    QColor color;
};

// The target alone, top-down, as the camera would see it without noise.
QImage renderTarget(int width, int height, int ambient);
// Paints a laser dot into a top-down picture.
void paintDot(QImage& picture, const LaserDot& dot);

class SimulatedCameraRenderer {
public:
    // One frame in the output format.
    void render(const capture::FrameLayout& format, const SimulatedScene& scene,
                const std::optional<LaserDot>& dot, std::vector<std::uint8_t>& frame);

private:
    void prepareTarget(const capture::FrameLayout& layout, int ambient);
    void prepareNoise(std::uint32_t seed);
    void addNoise(const capture::FrameLayout& layout, double deviation,
                  std::vector<std::uint8_t>& frame);
    static void addDot(const capture::FrameLayout& layout, const LaserDot& dot,
                       std::vector<std::uint8_t>& frame);

    // The static target in the output layout, and what it was drawn for.
    std::vector<std::uint8_t> target_;
    std::optional<capture::FrameLayout> targetLayout_;
    int targetAmbient_ = -1;

    // Standard normal samples from the seed; each frame reads them from a
    // fresh random offset.
    std::optional<std::uint32_t> seed_;
    std::mt19937 generator_;
    std::vector<float> noise_;
};

} // namespace simcamera
