#include "tools/replay/Tuner.h"

#include "detection/MotionDetection.h"
#include "tools/replay/ShotCounting.h"
#include "tools/replay/TuneModel.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace replay {

namespace {

constexpr std::int32_t FrameWidth = 160;
constexpr std::int32_t FrameHeight = 120;
constexpr std::size_t FrameBytes = std::size_t{FrameWidth} * FrameHeight * 3;

// Below this many Tolerance steps either way a recording's light can
// change the count; at Sure it takes a large change.
constexpr std::int32_t SureWidth = 30;
constexpr std::int32_t FairlySureWidth = 10;

// An analysed frame that makes a hit at some Tolerance.
struct Candidate {
    double seconds = 0;
    BeamThresholds thresholds{};
};

bool pairUsable(const SourceFrame& previous, const SourceFrame& current) {
    return previous.pixels.size() == FrameBytes && current.pixels.size() == FrameBytes;
}

// The game's count of the hits the candidates make: a hit, then none for
// the pause (as gameShots counts them, without building the list).
std::int32_t countShots(const std::vector<Candidate>& candidates, std::size_t tolerance,
                        std::int32_t maxBeam) {
    std::int32_t count = 0;
    double last = 0;
    for (const Candidate& candidate : candidates) {
        if (candidate.thresholds[tolerance] <= maxBeam &&
            (count == 0 || candidate.seconds - last >= ShotPauseSeconds)) {
            ++count;
            last = candidate.seconds;
        }
    }
    return count;
}

Certainty certaintyOf(std::int32_t width, std::int32_t otherSettings) {
    const Certainty level = width >= SureWidth         ? Certainty::Sure
                            : width >= FairlySureWidth ? Certainty::FairlySure
                                                       : Certainty::Unsure;
    // A count that only one frame/step pair reaches hangs on that pair.
    if (otherSettings == 0 && level != Certainty::Unsure)
        return static_cast<Certainty>(static_cast<int>(level) - 1);
    return level;
}

} // namespace

Tuner::Tuner(const std::vector<SourceFrame>& frames) {
    std::vector<PairModel> models;
    models.reserve(CompareEvery.size());
    for (const std::int32_t step : CompareEvery)
        models.emplace_back(FrameWidth, FrameHeight, step);
    std::vector<std::uint8_t> differences;
    for (const std::int32_t sampleEvery : SampleEvery) {
        std::vector<std::vector<Candidate>> candidates(CompareEvery.size());
        // The first analysed frame is compared with an empty picture; the
        // replay takes no hit from it.
        for (auto i = static_cast<std::size_t>(sampleEvery); i < frames.size(); i += sampleEvery) {
            const SourceFrame& previous = frames[i - static_cast<std::size_t>(sampleEvery)];
            if (!pairUsable(previous, frames[i]))
                continue;
            largestDifferences(previous.pixels, frames[i].pixels, differences);
            for (std::size_t s = 0; s < models.size(); ++s) {
                const BeamThresholds thresholds = models[s].evaluate(differences);
                if (std::any_of(thresholds.begin(), thresholds.end(),
                                [](std::uint8_t beam) { return beam != NoHit; }))
                    candidates[s].push_back({frames[i].seconds, thresholds});
            }
        }
        for (std::size_t s = 0; s < models.size(); ++s) {
            for (const std::int32_t maxBeam : MaxBeam) {
                Setting& setting = settings_.emplace_back();
                setting.sampleEvery = sampleEvery;
                setting.compareEvery = CompareEvery[s];
                setting.maxBeam = maxBeam;
                for (std::size_t t = 1; t < setting.shots.size(); ++t)
                    setting.shots[t] = countShots(candidates[s], t, maxBeam);
            }
        }
    }
}

std::optional<TuneChoice> Tuner::widest(std::int32_t shots) const {
    // Among equally wide: the finer sampling and step, then the beam nearest
    // the program's default.
    const auto rank = [](const TuneChoice& c) {
        return std::make_tuple(
            -(c.highTolerance - c.lowTolerance), c.parameters.sampleEvery,
            c.parameters.compareEvery,
            std::abs(c.parameters.maxBeam - MotionDetection::MaxLaserBeamRange.defaultValue),
            c.parameters.maxBeam);
    };
    std::optional<TuneChoice> best;
    for (const Setting& setting : settings_) {
        // From the top, so a tie between runs goes to the higher Tolerances.
        for (std::int32_t high = 255; high >= 1; --high) {
            if (setting.shots[static_cast<std::size_t>(high)] != shots)
                continue;
            std::int32_t low = high;
            while (low > 1 && setting.shots[static_cast<std::size_t>(low) - 1] == shots)
                --low;
            TuneChoice choice;
            // The middle of the run leaves the most room either way.
            choice.parameters = {setting.sampleEvery, setting.compareEvery, (low + high) / 2,
                                 setting.maxBeam};
            choice.shots = shots;
            choice.lowTolerance = low;
            choice.highTolerance = high;
            if (!best || rank(choice) < rank(*best))
                best = choice;
            high = low;
        }
    }
    return best;
}

TuneResult Tuner::search(std::int32_t shots) const {
    TuneResult result;
    for (const Setting& setting : settings_)
        result.reachedCounts.insert(result.reachedCounts.end(), setting.shots.begin() + 1,
                                    setting.shots.end());
    std::sort(result.reachedCounts.begin(), result.reachedCounts.end());
    result.reachedCounts.erase(
        std::unique(result.reachedCounts.begin(), result.reachedCounts.end()),
        result.reachedCounts.end());

    std::optional<TuneChoice> choice = widest(shots);
    result.found = choice.has_value();
    if (!choice && !result.reachedCounts.empty()) {
        // The nearest count, the lower on a tie: a missed shot rather than
        // an invented one.
        const auto nearest =
            std::min_element(result.reachedCounts.begin(), result.reachedCounts.end(),
                             [&](std::int32_t a, std::int32_t b) {
                                 return std::abs(a - shots) < std::abs(b - shots);
                             });
        choice = widest(*nearest);
    }
    if (!choice)
        return result;
    result.choice = *choice;

    std::vector<std::pair<std::int32_t, std::int32_t>> others;
    for (const Setting& setting : settings_) {
        const bool same = setting.sampleEvery == choice->parameters.sampleEvery &&
                          setting.compareEvery == choice->parameters.compareEvery;
        if (!same && std::find(setting.shots.begin() + 1, setting.shots.end(), choice->shots) !=
                         setting.shots.end())
            others.emplace_back(setting.sampleEvery, setting.compareEvery);
    }
    std::sort(others.begin(), others.end());
    result.otherSettings =
        static_cast<std::int32_t>(std::unique(others.begin(), others.end()) - others.begin());
    result.certainty = result.found ? certaintyOf(choice->highTolerance - choice->lowTolerance + 1,
                                                  result.otherSettings)
                                    : Certainty::Unsure;
    return result;
}

std::vector<std::int64_t> modelHitFrames(const std::vector<SourceFrame>& frames,
                                         const Parameters& parameters) {
    const std::int32_t sampleEvery = std::clamp(parameters.sampleEvery, 1, 50);
    const auto tolerance = static_cast<std::size_t>(std::clamp(parameters.tolerance, 1, 255));
    PairModel model(FrameWidth, FrameHeight, std::clamp(parameters.compareEvery, 1, 50));
    std::vector<std::uint8_t> differences;
    std::vector<std::int64_t> hits;
    for (auto i = static_cast<std::size_t>(sampleEvery); i < frames.size(); i += sampleEvery) {
        const SourceFrame& previous = frames[i - static_cast<std::size_t>(sampleEvery)];
        if (!pairUsable(previous, frames[i]))
            continue;
        largestDifferences(previous.pixels, frames[i].pixels, differences);
        if (model.evaluate(differences)[tolerance] <= parameters.maxBeam)
            hits.push_back(static_cast<std::int64_t>(i));
    }
    return hits;
}

std::optional<std::vector<std::int64_t>> analysedHitFrames(const std::vector<SourceFrame>& frames,
                                                           const Parameters& parameters) {
    ReplaySession session(parameters);
    if (!session.connected())
        return std::nullopt;
    std::vector<std::int64_t> hits;
    std::vector<std::uint8_t> frame;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        frame = frames[i].pixels; // the analysis draws its cross into the frame
        if (session.push(frame))
            hits.push_back(static_cast<std::int64_t>(i));
    }
    return hits;
}

std::int32_t gameShotCount(const std::vector<SourceFrame>& frames,
                           const std::vector<std::int64_t>& hitFrames) {
    std::vector<TimedHit> hits;
    hits.reserve(hitFrames.size());
    for (const std::int64_t frame : hitFrames)
        hits.push_back({frame, frames[static_cast<std::size_t>(frame)].seconds, {}});
    return static_cast<std::int32_t>(gameShots(hits).size());
}

} // namespace replay
