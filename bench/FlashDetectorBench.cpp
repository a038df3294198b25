// The per-frame cost of the enhanced detection on a camera's full picture:
// the scene model of every pixel of the 4:3 middle, on quiet frames with
// sensor noise (the usual frame: no flash). Goal: at 640 x 480 at most 1 ms
// a frame beside the standard analysis (3% of one core at 30 frames per
// second), and the whole camera path at 1280 x 720 under 10% of one core.

#include "capture/service/FullFrameDescription.h"
#include "detection/FlashDetector.h"

#include <array>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <vector>

namespace {

// A few frames of a dim target with noise, in the layout's planes.
struct Frames {
    std::array<std::vector<std::uint8_t>, 4> bytes;
    std::array<capture::FullFrame, 4> pictures;
};

Frames makeFrames(capture::PixelLayout layout, int width, int height) {
    Frames frames;
    const bool packed = layout == capture::PixelLayout::Yuyv;
    const std::size_t luma = static_cast<std::size_t>(width) * height;
    std::uint32_t seed = 1;
    for (std::size_t f = 0; f < frames.bytes.size(); ++f) {
        std::vector<std::uint8_t>& bytes = frames.bytes[f];
        bytes.resize(packed ? luma * 2 : luma * 3 / 2);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            seed = seed * 1103515245U + 12345U;
            const bool level = packed ? i % 2 == 0 : i < luma;
            bytes[i] = static_cast<std::uint8_t>((level ? 40 : 128) + ((seed >> 16) % 7) - 3);
        }
        capture::CameraPicture picture;
        picture.setLayout(layout);
        picture.viewport = QRect(0, 0, width, height);
        if (packed) {
            picture.data[0] = bytes.data();
            picture.stride[0] = std::ptrdiff_t{width} * 2;
            picture.size[0] = bytes.size();
        } else {
            const std::size_t chroma = luma / 4;
            picture.data = {bytes.data(), bytes.data() + luma, bytes.data() + luma + chroma};
            picture.stride = {width, width / 2, width / 2};
            picture.size = {luma, chroma, chroma};
        }
        frames.pictures[f] = capture::describeFullFrame(picture).value_or(capture::FullFrame{});
    }
    return frames;
}

void detectFlashes(benchmark::State& state, capture::PixelLayout layout, int width, int height) {
    const Frames frames = makeFrames(layout, width, height);
    MotionDetection::FlashDetector detector;
    std::size_t next = 0;
    for (auto _ : state) {
        const auto flash = detector.push(frames.pictures[next], {});
        benchmark::DoNotOptimize(flash);
        next = (next + 1) % frames.pictures.size();
    }
    state.SetItemsProcessed(state.iterations());
}

void DetectFlashesYuyv640x480(benchmark::State& state) {
    detectFlashes(state, capture::PixelLayout::Yuyv, 640, 480);
}
void DetectFlashesI420_640x480(benchmark::State& state) {
    detectFlashes(state, capture::PixelLayout::Yuv420p, 640, 480);
}
void DetectFlashesYuyv1280x720(benchmark::State& state) {
    detectFlashes(state, capture::PixelLayout::Yuyv, 1280, 720);
}
void DetectFlashesI420_1280x720(benchmark::State& state) {
    detectFlashes(state, capture::PixelLayout::Yuv420p, 1280, 720);
}

} // namespace

BENCHMARK(DetectFlashesYuyv640x480)->Unit(benchmark::kMicrosecond);
BENCHMARK(DetectFlashesI420_640x480)->Unit(benchmark::kMicrosecond);
BENCHMARK(DetectFlashesYuyv1280x720)->Unit(benchmark::kMicrosecond);
BENCHMARK(DetectFlashesI420_1280x720)->Unit(benchmark::kMicrosecond);
