// One simulated camera frame (target, noise and a laser dot) at each output
// size. Goal: well under the 33 ms of a 30 frames-a-second preview, even at
// 640 x 480 x 32 bits.

#include "cameras/sim/SimulatedCamera.h"

#include <benchmark/benchmark.h>
#include <span>

namespace {

void SimulatedFrame(benchmark::State& state) {
    simcamera::SimulatedCamera camera;
    simcamera::SimulatedDriverConfig config;
    const auto width = static_cast<std::int32_t>(state.range(0));
    config.format = {width, width * 3 / 4, static_cast<std::int16_t>(state.range(1))};
    camera.setDriver(0, config);
    const auto driver = camera.open(0);
    std::size_t bytes = 0;
    driver->setStreaming(
        true, 60000,
        [&bytes](std::span<std::uint8_t> frame, const capture::FullFrame* /*picture*/) {
            bytes = frame.size();
            benchmark::DoNotOptimize(frame.data());
        });
    for (auto _ : state) {
        camera.firePulse(QPointF(0.3, 0.6), 1);
        camera.deliverNextFrame();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes));
}
BENCHMARK(SimulatedFrame)->Args({160, 24})->Args({320, 24})->Args({640, 32});

} // namespace
