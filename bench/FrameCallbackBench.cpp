// The frame routine on 160 x 120 x 24-bit frames, called with the handle of
// a connected capture window so its two status queries go the real way,
// beside a plain copy of one frame as the yardstick. Goal: at the defaults
// the routine costs at most twice the copy.

#include "capture/StatusFunctions.h"
#include "capture/service/FrameConversion.h"
#include "capture/service/HeadlessCaptureWindow.h"
#include "detection/MotionDetection.h"
#include "detection/Testing.h"
#include "tools/replay/ReplayDriver.h"

#include <QByteArray>
#include <benchmark/benchmark.h>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr std::size_t frameBytes = std::size_t{160} * 3 * 120;

// A capture window connected to the 160 x 120 x 24 driver, for one benchmark.
struct ConnectedWindow {
    replay::ReplayDriverSource source;
    capture::HeadlessCaptureWindow window{source}; // goes before the source
    capture::CaptureHandle handle = window.handle();
};

// Dark frames with sensor-like noise below the tolerance; with a dot, every
// other frame carries a bright 3 x 3-cell spot, so each analysed frame finds
// a spot and reports a hit.
void runFrames(benchmark::State& state, std::int32_t step, bool withDot) {
    const ConnectedWindow window;
    MotionDetection::resetFrameStateForTesting();
    MotionDetection::SetSampleEveryNthFrame(1);
    MotionDetection::SetCompareEveryNthByte(step);
    MotionDetection::SetTolerance(50);
    MotionDetection::SetMaxLaserBeam(20);
    MotionDetection::setHitTarget(nullptr);

    std::vector<std::uint8_t> dark(frameBytes);
    for (std::size_t i = 0; i < dark.size(); ++i)
        dark[i] = static_cast<std::uint8_t>(20 + (i * 2654435761U >> 28));
    std::vector<std::uint8_t> dotted = dark;
    for (std::size_t row = 70; row < 85; ++row) {
        for (std::size_t x = 100; x < 115; ++x)
            std::memset(&dotted[row * 480 + x * 3], 250, 3);
    }
    // The cross the routine draws is the same every time, so the two frames
    // can be handed over again and again.
    std::uint64_t count = 0;
    for (auto _ : state) {
        std::vector<std::uint8_t>& frame = withDot && (count % 2 == 1) ? dotted : dark;
        capture::VIDEOHDR header{};
        header.lpData = frame.data();
        header.dwBytesUsed = static_cast<std::uint32_t>(frameBytes);
        benchmark::DoNotOptimize(MotionDetection::FrameCallback(window.handle, &header));
        ++count;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * frameBytes));
}

void FrameCallbackDefaults(benchmark::State& state) {
    runFrames(state, 5, false);
}
void FrameCallbackDefaultsWithDot(benchmark::State& state) {
    runFrames(state, 5, true);
}
void FrameCallbackEveryPixel(benchmark::State& state) {
    runFrames(state, 1, false);
}
void FrameCallbackEveryPixelWithDot(benchmark::State& state) {
    runFrames(state, 1, true);
}

// The yardstick: one plain copy of a frame.
void CopyOneFrame(benchmark::State& state) {
    std::vector<std::uint8_t> source(frameBytes, 7);
    std::vector<std::uint8_t> target(frameBytes);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), frameBytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * frameBytes));
}

} // namespace

BENCHMARK(CopyOneFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(FrameCallbackDefaults)->Unit(benchmark::kMicrosecond);
BENCHMARK(FrameCallbackDefaultsWithDot)->Unit(benchmark::kMicrosecond);
BENCHMARK(FrameCallbackEveryPixel)->Unit(benchmark::kMicrosecond);
BENCHMARK(FrameCallbackEveryPixelWithDot)->Unit(benchmark::kMicrosecond);

namespace {
void StatusQueryPair(benchmark::State& state) {
    const ConnectedWindow window;
    for (auto _ : state) {
        benchmark::DoNotOptimize(StatusFunctions::GetImageHeight(window.handle));
        benchmark::DoNotOptimize(StatusFunctions::GetImageWidth(window.handle));
    }
}
} // namespace
BENCHMARK(StatusQueryPair)->Unit(benchmark::kMicrosecond);
