// The scene model, the grouping of risen pixels into spots, and the rules
// that tell a laser's flash from everything else that changes a picture.

#include "detection/FlashDetector.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace MotionDetection {

namespace {

using capture::FullFrame;
using capture::FullFrameColours;

// Levels are kept in 1/16: the running means move by fractions of a level.
constexpr int Fraction = 16;
// The means follow the scene within some 8 frames (a quarter second): an
// exposure or light change is learnt before the pause after a shot is over,
// while a flash, a frame or two long, stands far out of it.
constexpr int MeanShift = 3;
// A scene's colour changes more slowly than its light: it is learnt on every
// fourth frame only, by half, which follows it about as fast as the level.
constexpr std::int64_t ColourEvery = 4;
constexpr int ColourShift = 1;
// The deviation is averaged over some 16 frames, long enough to know a
// pixel's noise and flicker.
constexpr int SpreadShift = 4;
// A pixel rises when it lies this many usual deviations above its mean, so a
// noisy or flickering pixel needs a larger rise than a steady one...
constexpr int SpreadFactor = 4;
// ...and always more than half the Tolerance: the rim of the flash, where
// the centroid is taken, is where its rise is over half its peak's.
constexpr int RimDivisor = 2;
// A first deviation for a fresh model, in 1/16 levels (2 levels of noise).
constexpr std::uint16_t FreshSpread = 2 * Fraction;
// More risen pixels than this share of the picture is no dot but the whole
// picture changing (an exposure step, a moving camera, a projector's scene).
constexpr std::int64_t AllOverShare = 100; // one pixel in 100
// Risen pixels this close (in pixels, either way) belong to one spot: a
// compressed video's dot can have a gap in its rim.
constexpr std::int32_t SpotGap = 2;
// A laser dot, even drawn out by the hand's motion during one exposure, is
// at most this many times as long as it is wide; an edge of a moving thing
// is a long thin line.
constexpr std::int32_t MostElongation = 4;
// A change of fewer pixels than this is a speck, never a flash: a laser's
// dot, spread by the lens and the camera's colour filter, covers 2 x 2
// pixels at the least. A faint speck, short of the Tolerance, is sensor
// noise, which a dim room's high gain scatters over every frame: it is not
// the picture changing beside a flash either. A bright one is a small part
// of something that did change.
constexpr std::int32_t SpeckPixels = 4;
// Lines shorter than this are too small to tell a shape by.
constexpr std::int32_t ShapeFromPixels = 8;
// A dot fills this much of its box at the least; the edge of a moving thing
// is an arc that fills little of it.
constexpr std::int32_t MinFillPercent = 40;
// Pixels that fell within a spot's size (and at least a 24th of the
// picture's height) around it are the other side of a moving thing; a flash
// may have a little of it (noise, a shaking camera).
constexpr std::int32_t NeighbourhoodDivisor = 24;
constexpr std::int32_t MostFallenPercent = 25;
// A laser is the one thing that changes: what rose elsewhere in the frame
// is a fraction of the flash. When many things rise together the picture
// as a whole brightens (gain, a projector fading in its scene).
constexpr std::int32_t MostElsewherePercent = 10;
// A flash goes on in the next frame within twice its size, or a 12th of the
// picture's height for a small dot: the hand moves the dot as the trigger
// is pulled, by some centimetres on the target.
constexpr std::int32_t DriftDivisor = 12;

int lumaOf(int red, int green, int blue) {
    return (77 * red + 150 * green + 29 * blue + 128) >> 8; // BT.601 weights
}
int blueDiffOf(int red, int green, int blue) {
    return ((-43 * red - 85 * green + 128 * blue) >> 8) + 128;
}
int redDiffOf(int red, int green, int blue) {
    return ((128 * red - 107 * green - 21 * blue) >> 8) + 128;
}

// Gathers every step-th byte (2 or 4: packed YUV) into a row. Whole 32-bit
// words are read where they lie inside the row, which the compiler turns into
// vector shuffles; the last samples one by one.
void gather(const std::uint8_t* from, std::int32_t step, std::int32_t count, std::uint8_t* into) {
    std::int32_t x = 0;
    if (step == 2) {
        for (; x + 2 <= count && (x + 1) * 2 + 3 <= (count - 1) * 2; x += 2) {
            std::uint32_t word = 0;
            std::memcpy(&word, from + static_cast<std::ptrdiff_t>(x) * 2, sizeof word);
            into[x] = static_cast<std::uint8_t>(word);
            into[x + 1] = static_cast<std::uint8_t>(word >> 16);
        }
    } else if (step == 4) {
        for (; x + 1 < count; ++x) {
            std::uint32_t word = 0;
            std::memcpy(&word, from + static_cast<std::ptrdiff_t>(x) * 4, sizeof word);
            into[x] = static_cast<std::uint8_t>(word);
        }
    }
    for (; x < count; ++x)
        into[x] = from[static_cast<std::ptrdiff_t>(x) * step];
}

const std::uint8_t* sampleAt(const capture::FullFramePlane& plane, std::int32_t x, std::int32_t y) {
    return plane.data + static_cast<std::ptrdiff_t>(y) * plane.rowStep +
           static_cast<std::ptrdiff_t>(x) * plane.sampleStep;
}

// Cb and Cr of a chroma sample (a pixel for RGB).
void chromaAt(const FullFrame& frame, std::int32_t x, std::int32_t y, int& blue, int& red) {
    if (frame.colours == FullFrameColours::Rgb) {
        const int r = *sampleAt(frame.planes[0], x, y);
        const int g = *sampleAt(frame.planes[1], x, y);
        const int b = *sampleAt(frame.planes[2], x, y);
        blue = blueDiffOf(r, g, b);
        red = redDiffOf(r, g, b);
        return;
    }
    blue = *sampleAt(frame.planes[1], x, y);
    red = *sampleAt(frame.planes[2], x, y);
}

} // namespace

void FlashDetector::reset() {
    *this = FlashDetector{};
}

void FlashDetector::start(const FullFrame& frame) {
    const bool rgb = frame.colours == FullFrameColours::Rgb;
    width_ = frame.width;
    height_ = frame.height;
    // The colour is kept for each block of 2 x 2 pixels: what the colour
    // test needs, at a quarter of the work of every pixel (or a half, for
    // chroma at every row).
    const std::int32_t shiftX = rgb ? 0 : std::min(frame.chromaShiftX, 1);
    const std::int32_t shiftY = rgb ? 0 : std::min(frame.chromaShiftY, 1);
    chromaStepX_ = 1 << (1 - shiftX);
    chromaStepY_ = 1 << (1 - shiftY);
    const bool colour = frame.colours != FullFrameColours::Grey;
    chromaWidth_ = colour ? (width_ + 1) >> 1 : 0;
    chromaHeight_ = colour ? (height_ + 1) >> 1 : 0;
    const auto pixels = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    mean_.assign(pixels, 0);
    spread_.assign(pixels, FreshSpread);
    const auto chroma =
        static_cast<std::size_t>(chromaWidth_) * static_cast<std::size_t>(chromaHeight_);
    blueMean_.assign(chroma, 128 * Fraction);
    redMean_.assign(chroma, 128 * Fraction);
    row_.assign(static_cast<std::size_t>(width_), 0);
    marks_.assign(static_cast<std::size_t>(width_), 0);
    frames_ = 0;
    open_.reset();
}

// A row of levels: the luma plane itself where its samples lie side by side,
// otherwise gathered into row_.
const std::uint8_t* FlashDetector::lumaRow(const FullFrame& frame, std::int32_t y) {
    if (frame.colours == FullFrameColours::Rgb) {
        const std::uint8_t* r = sampleAt(frame.planes[0], 0, y);
        const std::uint8_t* g = sampleAt(frame.planes[1], 0, y);
        const std::uint8_t* b = sampleAt(frame.planes[2], 0, y);
        const std::ptrdiff_t step = frame.planes[0].sampleStep;
        for (std::int32_t x = 0; x < width_; ++x, r += step, g += step, b += step)
            row_[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(lumaOf(*r, *g, *b));
        return row_.data();
    }
    const std::uint8_t* level = sampleAt(frame.planes[0], 0, y);
    const std::ptrdiff_t step = frame.planes[0].sampleStep;
    if (step == 1)
        return level;
    gather(level, static_cast<std::int32_t>(step), width_, row_.data());
    return row_.data();
}

// Moves every pixel's model towards the frame and collects the pixels that
// rose or fell out of it; false when they are all over the picture.
bool FlashDetector::modelRows(const FullFrame& frame, const FlashRules& rules) {
    candidates_.clear();
    falls_.clear();
    const bool fresh = frames_ == 0;
    const bool watching = frames_ >= WarmUpFrames;
    const std::int32_t rimRise = std::max(1, rules.tolerance) * Fraction / RimDivisor;
    const std::int64_t most =
        std::max<std::int64_t>(16, std::int64_t{width_} * std::int64_t{height_} / AllOverShare);
    bool allOver = false;
    const auto w = static_cast<std::size_t>(width_);
    for (std::int32_t y = 0; y < height_; ++y) {
        const std::uint8_t* level = lumaRow(frame, y);
        std::uint16_t* mean = mean_.data() + static_cast<std::size_t>(y) * w;
        std::uint16_t* spread = spread_.data() + static_cast<std::size_t>(y) * w;
        std::int16_t* marks = marks_.data();
        if (fresh) {
            for (std::size_t x = 0; x < w; ++x)
                mean[x] = static_cast<std::uint16_t>(level[x] * Fraction);
            continue;
        }
        // Plain integer arithmetic on one row, which the compiler vectorises;
        // a pixel that rose or fell out of its model keeps the change in
        // marks, any other 0.
        int changed = 0;
        // Every value fits 16 bits (levels in 1/16 up to 4080, thresholds up
        // to four times that), so the compiler packs 16 pixels in a vector.
        const auto rim = static_cast<std::int16_t>(rimRise);
        for (std::size_t x = 0; x < w; ++x) {
            const auto m = static_cast<std::int16_t>(mean[x]);
            const auto s = static_cast<std::int16_t>(spread[x]);
            const auto rise = static_cast<std::int16_t>((level[x] << 4) - m);
            const auto spreadLimit = static_cast<std::int16_t>(s * SpreadFactor);
            const std::int16_t threshold = spreadLimit > rim ? spreadLimit : rim;
            const auto fall = static_cast<std::int16_t>(-rise);
            const bool out = rise > threshold || fall > threshold;
            marks[x] = out ? rise : std::int16_t{0};
            changed |= static_cast<int>(out);
            mean[x] = static_cast<std::uint16_t>(m + (rise >> MeanShift));
            const std::int16_t deviation = rise < 0 ? fall : rise;
            spread[x] = static_cast<std::uint16_t>(s + ((deviation - s) >> SpreadShift));
        }
        if (!watching || allOver || changed == 0)
            continue;
        for (std::size_t x = 0; x < w; ++x) {
            if (marks[x] > 0)
                candidates_.push_back({static_cast<std::int32_t>(x), y, marks[x]});
            else if (marks[x] < 0)
                falls_.push_back({static_cast<std::int32_t>(x), y, -marks[x]});
        }
        if (static_cast<std::int64_t>(candidates_.size() + falls_.size()) > most)
            allOver = true;
    }
    return !allOver;
}

namespace {

std::int32_t findRoot(std::vector<std::int32_t>& parent, std::int32_t i) {
    while (parent[static_cast<std::size_t>(i)] != i) {
        auto& up = parent[static_cast<std::size_t>(i)];
        up = parent[static_cast<std::size_t>(up)]; // halves the path as it goes
        i = up;
    }
    return i;
}

} // namespace

// Groups the risen pixels (in row order) into spots of neighbours.
void FlashDetector::groupSpots() {
    spots_.clear();
    const auto count = static_cast<std::int32_t>(candidates_.size());
    parent_.resize(candidates_.size());
    for (std::int32_t i = 0; i < count; ++i) {
        parent_[static_cast<std::size_t>(i)] = i;
        const Candidate& c = candidates_[static_cast<std::size_t>(i)];
        for (std::int32_t j = i - 1; j >= 0; --j) {
            const Candidate& before = candidates_[static_cast<std::size_t>(j)];
            if (before.y < c.y - SpotGap)
                break;
            if (std::abs(before.x - c.x) <= SpotGap) {
                const std::int32_t a = findRoot(parent_, i);
                const std::int32_t b = findRoot(parent_, j);
                parent_[static_cast<std::size_t>(std::max(a, b))] = std::min(a, b);
            }
        }
    }
    // Every candidate straight to its root, the group's first candidate,
    // which the spot's number then replaces.
    for (std::int32_t i = 0; i < count; ++i)
        parent_[static_cast<std::size_t>(i)] = findRoot(parent_, i);
    for (std::int32_t i = 0; i < count; ++i) {
        const Candidate& c = candidates_[static_cast<std::size_t>(i)];
        auto& group = parent_[static_cast<std::size_t>(i)];
        if (group == i) {
            group = static_cast<std::int32_t>(spots_.size());
            spots_.push_back(Spot{0, c.x, c.y, c.x, c.y});
        } else {
            group = parent_[static_cast<std::size_t>(group)]; // the root's, set before
        }
        Spot& spot = spots_[static_cast<std::size_t>(group)];
        ++spot.pixels;
        spot.left = std::min(spot.left, c.x);
        spot.right = std::max(spot.right, c.x);
        spot.top = std::min(spot.top, c.y);
        spot.bottom = std::max(spot.bottom, c.y);
        spot.weight += c.rise;
        spot.sumX += (c.x + 0.5) * c.rise;
        spot.sumY += (c.y + 0.5) * c.rise;
        spot.peak = std::max(spot.peak, c.rise);
    }
}

// The change of colour in each spot against the scene's colour there,
// weighted by the rise, before this frame teaches the model its colour.
void FlashDetector::colourSpots(const FullFrame& frame) {
    if (frame.colours == FullFrameColours::Grey)
        return;
    const bool rgb = frame.colours == FullFrameColours::Rgb;
    const std::int32_t shiftX = rgb ? 0 : frame.chromaShiftX;
    const std::int32_t shiftY = rgb ? 0 : frame.chromaShiftY;
    for (std::size_t i = 0; i < candidates_.size(); ++i) {
        const Candidate& c = candidates_[i];
        int blue = 0;
        int red = 0;
        chromaAt(frame, c.x >> shiftX, c.y >> shiftY, blue, red);
        const std::size_t at =
            static_cast<std::size_t>(c.y >> 1) * static_cast<std::size_t>(chromaWidth_) +
            static_cast<std::size_t>(c.x >> 1);
        Spot& spot = spots_[static_cast<std::size_t>(parent_[i])];
        spot.blueDiff += (blue - blueMean_[at] / static_cast<double>(Fraction)) * c.rise;
        spot.redDiff += (red - redMean_[at] / static_cast<double>(Fraction)) * c.rise;
    }
    for (Spot& spot : spots_) {
        spot.blueDiff /= static_cast<double>(spot.weight);
        spot.redDiff /= static_cast<double>(spot.weight);
    }
}

void FlashDetector::updateChroma(const FullFrame& frame) {
    const bool fresh = frames_ == 0;
    if (frame.colours == FullFrameColours::Grey || (!fresh && frames_ % ColourEvery != 0))
        return;
    const auto w = static_cast<std::size_t>(chromaWidth_);
    for (std::int32_t y = 0; y < chromaHeight_; ++y) {
        const std::uint8_t* blue = chromaRow(frame, 1, y, blueRow_);
        const std::uint8_t* red = chromaRow(frame, 2, y, redRow_);
        std::uint16_t* blueMean = blueMean_.data() + static_cast<std::size_t>(y) * w;
        std::uint16_t* redMean = redMean_.data() + static_cast<std::size_t>(y) * w;
        if (fresh) {
            for (std::size_t x = 0; x < w; ++x) {
                blueMean[x] = static_cast<std::uint16_t>(blue[x] * Fraction);
                redMean[x] = static_cast<std::uint16_t>(red[x] * Fraction);
            }
            continue;
        }
        for (std::size_t x = 0; x < w; ++x) {
            const int b = blueMean[x];
            const int r = redMean[x];
            blueMean[x] = static_cast<std::uint16_t>(b + ((blue[x] * Fraction - b) >> ColourShift));
            redMean[x] = static_cast<std::uint16_t>(r + ((red[x] * Fraction - r) >> ColourShift));
        }
    }
}

// A row of Cb (component 1) or Cr (2): the plane itself where its samples
// lie side by side, otherwise gathered (or, for RGB, computed) into into.
const std::uint8_t* FlashDetector::chromaRow(const FullFrame& frame, int component, std::int32_t y,
                                             std::vector<std::uint8_t>& into) {
    into.resize(static_cast<std::size_t>(chromaWidth_));
    const std::int32_t planeRow = y * chromaStepY_;
    if (frame.colours == FullFrameColours::Rgb) {
        for (std::int32_t x = 0; x < chromaWidth_; ++x) {
            int blue = 0;
            int red = 0;
            chromaAt(frame, x * chromaStepX_, planeRow, blue, red);
            into[static_cast<std::size_t>(x)] =
                static_cast<std::uint8_t>(component == 1 ? blue : red);
        }
        return into.data();
    }
    const capture::FullFramePlane& plane = frame.planes[static_cast<std::size_t>(component)];
    const std::uint8_t* sample = sampleAt(plane, 0, planeRow);
    const std::int32_t step = plane.sampleStep * chromaStepX_;
    if (step == 1)
        return sample;
    gather(sample, step, chromaWidth_, into.data());
    return into.data();
}

// The weight of the pixels that fell around a spot: a thing that moves
// darkens where it was as it brightens where it goes; a flash only brightens.
std::int64_t FlashDetector::fallenAround(const Spot& spot) const {
    const std::int32_t margin =
        std::max(height_ / NeighbourhoodDivisor,
                 std::max(spot.right - spot.left + 1, spot.bottom - spot.top + 1));
    std::int64_t fallen = 0;
    for (const Candidate& fall : falls_) {
        if (fall.x >= spot.left - margin && fall.x <= spot.right + margin &&
            fall.y >= spot.top - margin && fall.y <= spot.bottom + margin)
            fallen += fall.rise;
    }
    return fallen;
}

// The largest rise of one of red, green and blue at the spot's brightest
// pixel, from its rise of level and its spot's change of colour (BT.601):
// the Tolerance asks of a flash what the standard analysis asks of a byte.
std::int32_t FlashDetector::colourRise(const Spot& spot) {
    const double level = spot.peak / static_cast<double>(Fraction);
    const double red = level + 1.402 * spot.redDiff;
    const double green = level - 0.344 * spot.blueDiff - 0.714 * spot.redDiff;
    const double blue = level + 1.772 * spot.blueDiff;
    return static_cast<std::int32_t>(std::max({level, red, green, blue}));
}

// True when about as much rose near the spot in the frame before (or the
// picture changed all over): the scene brightens there slowly, and a flash
// comes out of a steady one. A frame that caught only the start of a flash
// holds less than half of what the next one does.
bool FlashDetector::roseBefore(const Spot& spot) const {
    if (allOverBefore_)
        return true;
    const std::int32_t margin = std::max(spot.right - spot.left + 1, spot.bottom - spot.top + 1);
    std::int64_t rose = 0;
    for (const Spot& old : before_) {
        if (old.right >= spot.left - margin && old.left <= spot.right + margin &&
            old.bottom >= spot.top - margin && old.top <= spot.bottom + margin)
            rose += old.weight;
    }
    return rose * 2 > spot.weight;
}

// The spot that passes for a laser's dot: the heaviest.
std::optional<FlashDetector::Spot> FlashDetector::choose(const FlashRules& rules) {
    std::optional<Spot> best;
    bool tooLarge = false;
    const std::int32_t tolerance = std::max(1, rules.tolerance);
    // What rose in the whole frame, but for the flash being watched and noise.
    std::int64_t risen = 0;
    for (const Spot& spot : spots_) {
        if (spot.pixels >= SpeckPixels || spot.peak > tolerance * Fraction)
            risen += spot.weight;
    }
    for (const Spot& spot : spots_) {
        if (spot.weight == 0 || spot.pixels < SpeckPixels)
            continue; // part of the flash already reported, or a speck
        const std::int32_t across = spot.right - spot.left + 1;
        const std::int32_t down = spot.bottom - spot.top + 1;
        const std::int32_t longSide = std::max(across, down);
        const std::int32_t shortSide = std::min(across, down);
        const std::int64_t fallen = fallenAround(spot);
        // Bright enough: the sensitivity the Tolerance slider sets.
        if (colourRise(spot) <= tolerance)
            continue;
        // Small enough: below Maximal Laser Beam Diameter, as the standard
        // analysis measures a spot's spread.
        if (std::int64_t{across} * 100 >= std::int64_t{rules.maxBeam} * width_ ||
            std::int64_t{down} * 100 >= std::int64_t{rules.maxBeam} * height_) {
            tooLarge = true;
            continue;
        }
        // Round: a dot, not a line or an arc.
        if (longSide >= ShapeFromPixels &&
            (longSide > MostElongation * shortSide ||
             std::int64_t{spot.pixels} * 100 < std::int64_t{MinFillPercent} * across * down)) {
            tooLarge = true;
            continue;
        }
        // Sudden: nothing rose there in the frame before.
        if (roseBefore(spot))
            continue;
        // Alone: nothing darkened beside it, and little rose elsewhere.
        if (fallen * 100 > spot.weight * MostFallenPercent ||
            (risen - spot.weight) * 100 > spot.weight * MostElsewherePercent) {
            tooLarge = true;
            continue;
        }
        if (!best || spot.weight > best->weight)
            best = spot;
    }
    if (!best && tooLarge)
        verdict_ = FlashVerdict::TooLarge;
    return best;
}

// The spots that go on the flash being watched: near where it was in the
// frame before. They are set aside (weight 0); the flash goes on where the
// heaviest of them lies, and ends in a frame without any.
void FlashDetector::follow() {
    if (!open_)
        return;
    const Open from = *open_;
    const double reach = std::max(height_ / static_cast<double>(DriftDivisor), 2.0 * from.side);
    const Spot* heaviest = nullptr;
    for (Spot& spot : spots_) {
        const double x = spot.sumX / static_cast<double>(spot.weight);
        const double y = spot.sumY / static_cast<double>(spot.weight);
        if (std::hypot(x - from.x, y - from.y) > reach)
            continue;
        if (heaviest == nullptr || spot.weight > heaviest->weight) {
            open_->x = x;
            open_->y = y;
            open_->side = std::max(spot.right - spot.left + 1, spot.bottom - spot.top + 1);
            heaviest = &spot;
        }
        spot.weight = 0;
    }
    if (heaviest == nullptr)
        open_.reset();
}

std::optional<Flash> FlashDetector::push(const FullFrame& frame, const FlashRules& rules) {
    if (frame.empty())
        return std::nullopt;
    if (frame.width != width_ || frame.height != height_ || mean_.empty())
        start(frame);
    const bool local = modelRows(frame, rules);
    std::optional<Spot> spot;
    spots_.clear();
    if (frames_ < WarmUpFrames) {
        verdict_ = FlashVerdict::WarmingUp;
    } else if (!local) {
        verdict_ = FlashVerdict::AllOver;
        open_.reset();
    } else {
        groupSpots();
        colourSpots(frame);
        follow();
        verdict_ = FlashVerdict::Quiet;
        spot = choose(rules);
    }
    updateChroma(frame);
    ++frames_;
    // What rose in this frame, but for the flash: the next frame's flash
    // must not start there.
    allOverBefore_ = !local;
    before_.clear();
    for (const Spot& other : spots_) {
        if (other.weight != 0 && (!spot || other.left != spot->left || other.top != spot->top))
            before_.push_back(other);
    }
    if (!spot)
        return std::nullopt;
    verdict_ = FlashVerdict::Flash;
    const double x = spot->sumX / static_cast<double>(spot->weight);
    const double y = spot->sumY / static_cast<double>(spot->weight);
    open_ = Open{x, y, std::max(spot->right - spot->left + 1, spot->bottom - spot->top + 1)};
    return Flash{x, y};
}

} // namespace MotionDetection
