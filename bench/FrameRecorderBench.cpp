// The per-frame cost of recording every frame (--record-all): the PNG is
// written on the main window's thread, between two frames. Goal: at most
// 5 ms a frame, so recording takes at most 15% of the 33 ms between frames.

#include "record/FrameRecorder.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <random>
#include <vector>

namespace {

void recordEveryFrame(benchmark::State& state) {
    // A dim target with sensor noise, which is what makes the PNG large.
    std::vector<std::uint8_t> frame(160 * 120 * 3);
    std::mt19937 noise(1);
    std::normal_distribution<double> level(60.0, 2.0);
    for (std::uint8_t& byte : frame)
        byte = static_cast<std::uint8_t>(level(noise));
    const QTemporaryDir dir;
    QString error;
    const auto recorder =
        record::FrameRecorder::start(dir.path(), record::FrameRecorder::Mode::AllFrames, error);
    for (auto _ : state)
        recorder->writeFrame(frame);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(recordEveryFrame)->Unit(benchmark::kMillisecond);

} // namespace
