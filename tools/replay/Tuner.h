#pragma once
// Finds detection parameters under which a recording gives exactly the shots
// the shooter fired, counted as the game counts them. Every frame pair is
// looked at once, for all Tolerances together (TuneModel.h), and the values
// chosen are those whose Tolerance can move furthest without changing the
// count.

#include "tools/replay/FrameSource.h"
#include "tools/replay/ReplaySession.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace replay {

enum class Certainty { Unsure, FairlySure, Sure };

struct TuneChoice {
    Parameters parameters;
    std::int32_t shots = 0;
    // The Tolerances around parameters.tolerance that give the same count
    // (with the same other three values).
    std::int32_t lowTolerance = 0;
    std::int32_t highTolerance = 0;
};

struct TuneResult {
    bool found = false;                      // some values give exactly the shots asked for
    TuneChoice choice;                       // those, or the values of the closest count reached
    std::vector<std::int32_t> reachedCounts; // every count some values give, ascending
    std::int32_t otherSettings = 0;          // other frame/step pairs that give choice.shots too
    Certainty certainty = Certainty::Unsure;
};

class Tuner {
public:
    // The searched values: a flash lasts a few frames, a dot a few pixels.
    static constexpr std::array<std::int32_t, 3> SampleEvery{1, 2, 3};
    static constexpr std::array<std::int32_t, 6> CompareEvery{1, 2, 3, 4, 5, 6};
    static constexpr std::array<std::int32_t, 10> MaxBeam{3, 5, 8, 10, 15, 20, 25, 30, 40, 50};

    // Counts the shots of every searched setting at every Tolerance; the
    // frames are those of one recording, 160 x 120 x 24, in order.
    explicit Tuner(const std::vector<SourceFrame>& frames);

    TuneResult search(std::int32_t shots) const;

private:
    struct Setting {
        std::int32_t sampleEvery = 1;
        std::int32_t compareEvery = 1;
        std::int32_t maxBeam = 1;
        std::array<std::int32_t, 256> shots{}; // by Tolerance, index 0 unused
    };
    std::optional<TuneChoice> widest(std::int32_t shots) const;

    std::vector<Setting> settings_;
};

// The frames (from 1) in which the analysis reports a hit with the values:
// as the model sees it, and as the real analysis does (nothing when its
// capture window cannot be set up; needs a QApplication, and its setters
// save, so point the settings store somewhere harmless first).
std::vector<std::int64_t> modelHitFrames(const std::vector<SourceFrame>& frames,
                                         const Parameters& parameters);
std::optional<std::vector<std::int64_t>> analysedHitFrames(const std::vector<SourceFrame>& frames,
                                                           const Parameters& parameters);

// The shots the game counts from hits in these frames.
std::int32_t gameShotCount(const std::vector<SourceFrame>& frames,
                           const std::vector<std::int64_t>& hitFrames);

} // namespace replay
