#pragma once
// The enhanced detection: finds laser flashes in the camera's full picture.
// It keeps a model of the scene for every pixel (a running mean of its level
// and of how far the level strays from it, and of its colour), so that slow
// light changes, sensor noise and flicker fall inside the model; a flash is
// a small, round, sudden rise far above the model, alone in its frame, whose
// brightest pixel gains more than the Tolerance in red, green or blue. A flash seen in several
// frames is one flash, reported at once, at its centroid in the first frame: the hand moves the dot
// while the flash lasts, and the shot went where the flash began.

#include "capture/FullFrame.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace MotionDetection {

// What the sliders ask of a flash.
struct FlashRules {
    // The least rise of a flash's brightest pixel over the scene, in levels.
    std::int32_t tolerance = 50;
    // A flash spreads less than this, in percent of the picture's width
    // (horizontally) and height (vertically).
    std::int32_t maxBeam = 20;
};

struct Flash {
    // The centroid of the flash in its first frame, in pixels of the full
    // frame: x to the right, y down, (0, 0) the top-left corner of the
    // top-left pixel.
    double x = 0;
    double y = 0;
};

// Why the latest frame's changes were not (or not yet) a flash.
enum class FlashVerdict : std::uint8_t {
    Quiet,     // nothing rose above the model
    Flash,     // a flash was seen (reported when it is over)
    TooLarge,  // too large or too long for a laser dot
    AllOver,   // changes all over the picture: exposure, a moving camera
    WarmingUp, // the model is still learning the scene
};

class FlashDetector {
public:
    // Frames the model watches before it trusts itself. Until it has
    // learnt a pixel's noise, a change must still rise half the Tolerance:
    // two frames give every pixel a level, and a shot fired early in a
    // recording is not lost.
    static constexpr std::int32_t WarmUpFrames = 2;

    // Analyses one frame; the flash that began in it, if any. A frame of
    // another size starts the model afresh.
    std::optional<Flash> push(const capture::FullFrame& frame, const FlashRules& rules);
    // Forgets the scene and any flash being watched.
    void reset();

    FlashVerdict lastVerdict() const { return verdict_; }

    // One group of neighbouring risen pixels.
    struct Spot {
        std::int32_t pixels = 0;
        std::int32_t left = 0, top = 0, right = 0, bottom = 0; // inclusive
        std::int64_t weight = 0;                               // sum of the rises
        double sumX = 0, sumY = 0;                             // weighted by the rise
        std::int32_t peak = 0;                                 // largest rise, 1/16 levels
        double blueDiff = 0, redDiff = 0; // weighted change of Cb and Cr, levels
    };

private:
    struct Candidate {
        std::int32_t x;
        std::int32_t y;
        std::int32_t rise; // 1/16 levels
    };
    // The flash being watched: where it was last seen, and its size.
    struct Open {
        double x = 0;
        double y = 0;
        std::int32_t side = 0;
    };

    void start(const capture::FullFrame& frame);
    const std::uint8_t* lumaRow(const capture::FullFrame& frame, std::int32_t y);
    bool modelRows(const capture::FullFrame& frame, const FlashRules& rules);
    void groupSpots();
    void colourSpots(const capture::FullFrame& frame);
    void updateChroma(const capture::FullFrame& frame);
    const std::uint8_t* chromaRow(const capture::FullFrame& frame, int component, std::int32_t y,
                                  std::vector<std::uint8_t>& into);
    void follow();
    std::int64_t fallenAround(const Spot& spot) const;
    bool roseBefore(const Spot& spot) const;
    static std::int32_t colourRise(const Spot& spot);
    std::optional<Spot> choose(const FlashRules& rules);

    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::int32_t chromaWidth_ = 0;
    std::int32_t chromaHeight_ = 0;
    std::int32_t chromaStepX_ = 1; // chroma samples from one kept colour to the next
    std::int32_t chromaStepY_ = 1;
    std::int64_t frames_ = 0;
    // Per pixel, in 1/16 levels: the scene's level and its usual deviation.
    std::vector<std::uint16_t> mean_;
    std::vector<std::uint16_t> spread_;
    // Per block of 2 x 2 pixels, in 1/16 levels: the scene's Cb and Cr.
    std::vector<std::uint16_t> blueMean_;
    std::vector<std::uint16_t> redMean_;
    std::vector<std::uint8_t> row_;     // a luma row made from packed or RGB pixels
    std::vector<std::uint8_t> blueRow_; // chroma rows made likewise
    std::vector<std::uint8_t> redRow_;
    std::vector<std::int16_t> marks_;   // a row's changes, 0 where none
    std::vector<Candidate> candidates_; // risen pixels, in row order
    std::vector<Candidate> falls_;      // fallen pixels, with how far they fell
    std::vector<std::int32_t> parent_;  // the candidates' groups, then spots
    std::vector<Spot> spots_;
    std::vector<Spot> before_;   // the frame before's spots, but for flashes
    bool allOverBefore_ = false; // the frame before changed all over
    FlashVerdict verdict_ = FlashVerdict::Quiet;
    std::optional<Open> open_;
};

} // namespace MotionDetection
