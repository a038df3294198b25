// The tuner's search on a minute of frames (1800 at 30 a second) with twenty
// flashes, held in memory as the tool holds a recording. Goal: under ten
// seconds on one core, reading the frames aside.

#include "tests/fixtures/SyntheticRecording.h"
#include "tools/replay/Tuner.h"

#include <benchmark/benchmark.h>

namespace {

void BM_TuneOneMinute(benchmark::State& state) {
    const std::vector<replay::SourceFrame> frames =
        fixtures::makeRecording(fixtures::evenFlashes(1800, 20));
    for (auto _ : state) {
        const replay::Tuner tuner(frames);
        const replay::TuneResult result = tuner.search(20);
        if (!result.found)
            state.SkipWithError("the twenty flashes were not found");
        benchmark::DoNotOptimize(result.choice.parameters.tolerance);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(frames.size()));
}
BENCHMARK(BM_TuneOneMinute)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
