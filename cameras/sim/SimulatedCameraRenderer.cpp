#include "cameras/sim/SimulatedCameraRenderer.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace simcamera {

namespace {

constexpr std::size_t NoiseSamples = 1 << 16;
constexpr int RingCount = 10;

std::uint8_t clampLevel(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

// Calls visit(x, y) for every pixel whose centre lies inside the dot; the
// radius is given for a 160-pixel-wide picture and scales with the width.
template <typename Visit>
void forEachDotPixel(int width, int height, const LaserDot& dot, Visit visit) {
    const double cx = dot.point.x() * width;
    const double cy = dot.point.y() * height;
    const double radius = dot.radius * width / 160.0;
    const int top = std::max(0, static_cast<int>(std::floor(cy - radius)));
    const int bottom = std::min(height - 1, static_cast<int>(std::ceil(cy + radius)));
    const int left = std::max(0, static_cast<int>(std::floor(cx - radius)));
    const int right = std::min(width - 1, static_cast<int>(std::ceil(cx + radius)));
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const double dx = x + 0.5 - cx;
            const double dy = y + 0.5 - cy;
            if (dx * dx + dy * dy <= radius * radius)
                visit(x, y);
        }
    }
}

} // namespace

QImage renderTarget(int width, int height, int ambient) {
    QImage picture(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
    const int paper = std::clamp(ambient, 0, 255);
    // A faint warm tint: printed paper under a dim room light.
    picture.fill(QColor(paper, paper, clampLevel(paper - paper / 16)));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const double outer = height / 2.0;
    const QPointF centre(width / 2.0, height / 2.0);
    painter.setPen(QPen(Qt::black, std::max(1.0, std::floor(height / 120.0))));
    painter.setBrush(Qt::NoBrush);
    for (int ring = 1; ring <= RingCount; ++ring) {
        const double radius = outer * ring / RingCount;
        painter.drawEllipse(centre, radius, radius);
    }
    return picture;
}

void paintDot(QImage& picture, const LaserDot& dot) {
    forEachDotPixel(picture.width(), picture.height(), dot,
                    [&](int x, int y) { picture.setPixel(x, y, dot.color.rgb()); });
}

void SimulatedCameraRenderer::prepareTarget(const capture::FrameLayout& layout, int ambient) {
    if (targetLayout_ == layout && ambient == targetAmbient_)
        return;
    targetLayout_ = layout;
    targetAmbient_ = ambient;
    const QImage picture = renderTarget(layout.width, layout.rows(), ambient);
    target_.assign(layout.frameBytes(), 0);
    for (int y = 0; y < layout.rows(); ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < layout.width; ++x) {
            std::uint8_t* pixel = target_.data() + layout.offset(x, y);
            pixel[0] = static_cast<std::uint8_t>(qBlue(source[x]));
            pixel[1] = static_cast<std::uint8_t>(qGreen(source[x]));
            pixel[2] = static_cast<std::uint8_t>(qRed(source[x]));
        }
    }
}

void SimulatedCameraRenderer::prepareNoise(std::uint32_t seed) {
    if (seed_ == seed)
        return;
    seed_ = seed;
    generator_.seed(seed);
    std::normal_distribution<float> normal(0.0F, 1.0F);
    noise_.resize(NoiseSamples);
    for (float& sample : noise_)
        sample = normal(generator_);
}

void SimulatedCameraRenderer::addNoise(const capture::FrameLayout& layout, double deviation,
                                       std::vector<std::uint8_t>& frame) {
    const std::size_t mask = NoiseSamples - 1;
    std::size_t at = generator_() & mask;
    // An odd stride through the table, new every frame, keeps neighbouring
    // pixels and successive frames apart.
    const std::size_t stride = (generator_() & mask) | 1U;
    const auto scale = static_cast<float>(deviation);
    for (int row = 0; row < layout.rows(); ++row) {
        std::uint8_t* pixel = frame.data() + static_cast<std::size_t>(row) * layout.rowBytes();
        for (int x = 0; x < layout.width; ++x, pixel += layout.bytesPerPixel()) {
            const float level = noise_[at] * scale;
            at = (at + stride) & mask;
            const int step = static_cast<int>(level + (level >= 0.0F ? 0.5F : -0.5F));
            for (int channel = 0; channel < 3; ++channel)
                pixel[channel] = clampLevel(pixel[channel] + step);
        }
    }
}

void SimulatedCameraRenderer::addDot(const capture::FrameLayout& layout, const LaserDot& dot,
                                     std::vector<std::uint8_t>& frame) {
    forEachDotPixel(layout.width, layout.rows(), dot, [&](int x, int y) {
        std::uint8_t* pixel = frame.data() + layout.offset(x, y);
        pixel[0] = static_cast<std::uint8_t>(dot.color.blue());
        pixel[1] = static_cast<std::uint8_t>(dot.color.green());
        pixel[2] = static_cast<std::uint8_t>(dot.color.red());
    });
}

void SimulatedCameraRenderer::render(const capture::FrameLayout& format,
                                     const SimulatedScene& scene,
                                     const std::optional<LaserDot>& dot,
                                     std::vector<std::uint8_t>& frame) {
    if (!format.isShowable()) {
        // Bytes of the size the format promises, nothing drawn into them.
        frame.assign(std::max<std::size_t>(format.header().biSizeImage, 1), 0);
        return;
    }
    prepareTarget(format, scene.ambient);
    prepareNoise(scene.seed);
    frame = target_;
    if (scene.noise > 0.0)
        addNoise(format, scene.noise, frame);
    if (dot)
        addDot(format, *dot, frame);
}

} // namespace simcamera
