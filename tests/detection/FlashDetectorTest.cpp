// The enhanced detection. The flash detector on made-up camera pictures: a
// dim target with rings and sensor noise, on which flashes of one and two
// frames, red and green, on the dark paper and on a bright ring, must each
// give one flash at their centroid, while an exposure step, flicker and a
// person-sized block walking through give none. Then where its hits land
// (the same hit as the standard analysis for a dot at the same place), its
// frame routine on a capture window, and its switch in the settings.

#include "detection/FlashDetector.h"
#include "capture/FullFrame.h"
#include "detection/EnhancedDetection.h"
#include "detection/MotionDetection.h"
#include "detection/Testing.h"
#include "platform/SettingsStore.h"
#include "tests/fixtures/CaptureServiceFixture.h"
#include "tests/fixtures/ScratchHome.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace {

using MotionDetection::Flash;
using MotionDetection::FlashDetector;
using MotionDetection::FlashRules;
using MotionDetection::FlashVerdict;

struct Colour {
    int red, green, blue;
};
constexpr Colour RedLaser{255, 60, 50};
constexpr Colour GreenLaser{80, 255, 90};

// A camera picture of a paper target in a dim room: grey paper with a few
// brighter rings, sensor noise that differs from frame to frame, and what
// each test draws on top. Red, green and blue bytes, top-down rows.
class Scene {
public:
    static constexpr int Width = 320;
    static constexpr int Height = 240;

    Scene() : base_(static_cast<std::size_t>(Width) * Height * 3) {
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) {
                const double r = std::hypot(x - Width / 2.0, y - Height / 2.0);
                // Rings six pixels wide, every 20 pixels from the centre.
                const int level = std::fmod(r, 20.0) < 6.0 ? 90 : 30;
                set(base_, x, y, {level, level, level});
            }
    }

    // The next frame: the target, lit by gain, with noise of up to +-noise
    // levels; the caller draws into it before it is seen.
    std::vector<std::uint8_t> frame(double gain = 1.0, int noise = 4) {
        std::vector<std::uint8_t> pixels(base_.size());
        for (std::size_t i = 0; i < base_.size(); ++i) {
            seed_ = seed_ * 1103515245U + 12345U; // the same noise on every run
            const int jitter = static_cast<int>((seed_ >> 16) % (2U * noise + 1U)) - noise;
            pixels[i] = clamp(static_cast<int>(base_[i] * gain) + jitter);
        }
        return pixels;
    }

    // A round laser dot of the given radius centred at (cx, cy), softer at
    // its edge as a camera shows one.
    static void dot(std::vector<std::uint8_t>& pixels, double cx, double cy, double radius,
                    Colour colour) {
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) {
                const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
                const double light = std::clamp(radius + 0.5 - d, 0.0, 1.0);
                if (light <= 0)
                    continue;
                const std::size_t at = (static_cast<std::size_t>(y) * Width + x) * 3;
                for (int c = 0; c < 3; ++c) {
                    const int target = c == 0 ? colour.red : c == 1 ? colour.green : colour.blue;
                    const int now = pixels[at + c];
                    pixels[at + c] =
                        clamp(std::max(now, static_cast<int>(now + (target - now) * light)));
                }
            }
    }

    static void block(std::vector<std::uint8_t>& pixels, int left, int top, int width, int height,
                      int level) {
        for (int y = std::max(0, top); y < std::min(Height, top + height); ++y)
            for (int x = std::max(0, left); x < std::min(Width, left + width); ++x)
                set(pixels, x, y, {level, level - 10, level - 20});
    }

    static capture::FullFrame picture(const std::vector<std::uint8_t>& pixels) {
        capture::FullFrame frame;
        frame.width = Width;
        frame.height = Height;
        frame.colours = capture::FullFrameColours::Rgb;
        for (std::size_t c = 0; c < 3; ++c)
            frame.planes[c] = {pixels.data() + c, std::ptrdiff_t{Width} * 3, 3};
        return frame;
    }

private:
    static std::uint8_t clamp(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }
    static void set(std::vector<std::uint8_t>& pixels, int x, int y, Colour c) {
        const std::size_t at = (static_cast<std::size_t>(y) * Width + x) * 3;
        pixels[at] = clamp(c.red);
        pixels[at + 1] = clamp(c.green);
        pixels[at + 2] = clamp(c.blue);
    }

    std::vector<std::uint8_t> base_;
    std::uint32_t seed_ = 1;
};

struct Seen {
    int frame;
    Flash flash;
};

// Runs frames through a fresh detector at the default sliders; draw(i, pixels)
// changes frame i before it is seen, gain(i) lights it.
template <typename Draw, typename Gain>
std::vector<Seen> run(int frames, Draw&& draw, Gain&& gain, FlashRules rules = {}) {
    Scene scene;
    FlashDetector detector;
    std::vector<Seen> seen;
    for (int i = 0; i < frames; ++i) {
        std::vector<std::uint8_t> pixels = scene.frame(gain(i));
        draw(i, pixels);
        if (const std::optional<Flash> flash = detector.push(Scene::picture(pixels), rules))
            seen.push_back({i, *flash});
    }
    return seen;
}
template <typename Draw> std::vector<Seen> run(int frames, Draw&& draw) {
    return run(frames, std::forward<Draw>(draw), [](int) { return 1.0; });
}

// ---- Flashes that count ----

TEST(FlashDetector, OneFrameFlashIsOneFlashAtItsCentroid) {
    const auto seen = run(60, [](int i, auto& pixels) {
        if (i == 30)
            Scene::dot(pixels, 100.3, 70.6, 2.5, RedLaser);
    });
    ASSERT_EQ(seen.size(), 1U);
    EXPECT_EQ(seen[0].frame, 30);
    EXPECT_NEAR(seen[0].flash.x, 100.3, 0.3);
    EXPECT_NEAR(seen[0].flash.y, 70.6, 0.3);
}

TEST(FlashDetector, TwoFrameFlashIsOneFlashWhereItBegan) {
    // The hand moves the dot while the flash lasts; the shot went where it began.
    const auto seen = run(60, [](int i, auto& pixels) {
        if (i == 30)
            Scene::dot(pixels, 200.5, 150.5, 3, GreenLaser);
        if (i == 31)
            Scene::dot(pixels, 206.5, 154.5, 3, GreenLaser);
    });
    ASSERT_EQ(seen.size(), 1U);
    EXPECT_EQ(seen[0].frame, 30);
    EXPECT_NEAR(seen[0].flash.x, 200.5, 0.3);
    EXPECT_NEAR(seen[0].flash.y, 150.5, 0.3);
}

TEST(FlashDetector, FlashesAtOnePlaceApartInTimeAreTwo) {
    const auto seen = run(80, [](int i, auto& pixels) {
        if (i == 20 || i == 21 || i == 50)
            Scene::dot(pixels, 120, 90, 2, RedLaser);
    });
    ASSERT_EQ(seen.size(), 2U);
    EXPECT_EQ(seen[0].frame, 20);
    EXPECT_EQ(seen[1].frame, 50);
}

TEST(FlashDetector, RedFlashOnABrightRingCountsByItsColour) {
    // On the bright ring the level rises less than the Tolerance; red rises more.
    const auto seen = run(60, [](int i, auto& pixels) {
        if (i == 30)
            Scene::dot(pixels, 160 + 23, 120, 1.5, {200, 110, 100});
    });
    ASSERT_EQ(seen.size(), 1U);
    EXPECT_NEAR(seen[0].flash.x, 183, 0.5);
}

TEST(FlashDetector, DimFlashBelowToleranceIsNone) {
    const auto seen = run(60, [](int i, auto& pixels) {
        if (i == 30)
            Scene::dot(pixels, 100, 70, 2, {60, 60, 60});
    });
    EXPECT_TRUE(seen.empty());
}

TEST(FlashDetector, OnlyTheFirstFrameIsNotTrusted) {
    // The first frames only give the model its levels; a shot right after
    // them counts, as one does early in a recording.
    for (const int at : {1, FlashDetector::WarmUpFrames}) {
        const auto seen = run(20, [at](int i, auto& pixels) {
            if (i == at)
                Scene::dot(pixels, 100, 70, 2, RedLaser);
        });
        if (at < FlashDetector::WarmUpFrames) {
            EXPECT_TRUE(seen.empty());
        } else {
            ASSERT_EQ(seen.size(), 1U);
            EXPECT_EQ(seen[0].frame, at);
        }
    }
    EXPECT_LE(FlashDetector::WarmUpFrames, 2);
}

// ---- Changes that are no flash ----

// A cheap camera's high gain in a dim room: its noise, near normal with a
// deviation of 9 levels, scatters specks of a pixel or two over the whole
// picture in every frame. They are no flash, and they hide none.
TEST(FlashDetector, SensorNoiseOnADimTargetIsNothingAndHidesNoFlash) {
    Scene scene;
    FlashDetector detector;
    std::vector<int> flashes;
    std::uint32_t seed = 7;
    for (int i = 0; i < 200; ++i) {
        std::vector<std::uint8_t> pixels = scene.frame(1.0, 0);
        for (std::uint8_t& level : pixels) {
            // Four uniform draws of +-16 add up to a near-normal deviation of 9.2.
            int noise = 0;
            for (int k = 0; k < 4; ++k) {
                seed = seed * 1664525U + 1013904223U;
                noise += static_cast<int>(seed >> 27) - 16;
            }
            level = static_cast<std::uint8_t>(std::clamp(level + noise, 0, 255));
        }
        if (i == 150)
            Scene::dot(pixels, 70.5, 180.5, 2.5, GreenLaser);
        if (detector.push(Scene::picture(pixels), {}))
            flashes.push_back(i);
    }
    EXPECT_EQ(flashes, std::vector<int>{150});
}

TEST(FlashDetector, ExposureStepIsNoFlashAndFlashesCountAfterIt) {
    const auto seen = run(
        120,
        [](int i, auto& pixels) {
            if (i == 100)
                Scene::dot(pixels, 60, 60, 2, RedLaser);
        },
        [](int i) { return i < 40 ? 1.0 : 2.2; });
    ASSERT_EQ(seen.size(), 1U);
    EXPECT_EQ(seen[0].frame, 100);
}

TEST(FlashDetector, FlickerIsNoFlashButAFlashInItIs) {
    const auto seen = run(
        150,
        [](int i, auto& pixels) {
            if (i == 120)
                Scene::dot(pixels, 250, 45, 2, GreenLaser);
        },
        // Mains light beating with the frame rate: the level swings by a third.
        [](int i) { return 1.0 + 0.35 * std::sin(i * 2.1); });
    ASSERT_EQ(seen.size(), 1U);
    EXPECT_EQ(seen[0].frame, 120);
}

TEST(FlashDetector, PersonSizedBlockWalkingThroughIsNoFlash) {
    const auto seen = run(90, [](int i, auto& pixels) {
        if (i >= 20)
            Scene::block(pixels, -80 + (i - 20) * 6, 40, 70, 180, 150);
    });
    EXPECT_TRUE(seen.empty());
}

TEST(FlashDetector, SmallBrightBlockLargerThanTheBeamIsNoFlash) {
    FlashRules rules;
    rules.maxBeam = 5; // 16 pixels of 320
    const auto seen = run(
        60,
        [](int i, auto& pixels) {
            if (i == 30)
                Scene::block(pixels, 100, 100, 20, 20, 250);
        },
        [](int) { return 1.0; }, rules);
    EXPECT_TRUE(seen.empty());
}

TEST(FlashDetector, LongThinLineIsNoFlash) {
    const auto seen = run(60, [](int i, auto& pixels) {
        if (i == 30)
            Scene::block(pixels, 50, 100, 40, 2, 250);
    });
    EXPECT_TRUE(seen.empty());
}

TEST(FlashDetector, ManyThingsBrighteningTogetherAreNoFlash) {
    const auto seen = run(60, [](int i, auto& pixels) {
        if (i == 30)
            for (int k = 0; k < 6; ++k)
                Scene::dot(pixels, 40 + k * 45, 60 + k * 20, 3, {200, 200, 230});
    });
    EXPECT_TRUE(seen.empty());
}

// More changed pixels than one in a hundred, scattered over the whole
// picture, are the picture changing (a gain step of the sensor, a shaken
// camera): the frame is not searched at all. A few less are searched: among
// so many small things that brightened, even single pixels, the dot is still
// no laser, but among as many faint specks of noise it is.
TEST(FlashDetector, ChangesAllOverThePictureHideAFlash) {
    constexpr int Pixels = Scene::Width * Scene::Height;
    struct Case {
        int pixels;  // changed, beside the dot
        int side;    // of each changed square
        bool bright; // to level 250, or faint: 40 levels up, short of the Tolerance
        FlashVerdict verdict;
    };
    for (const Case& c : {Case{Pixels / 100 + 40, 2, true, FlashVerdict::AllOver},
                          Case{Pixels / 100 + 40, 1, false, FlashVerdict::AllOver},
                          Case{Pixels / 100 - 200, 2, true, FlashVerdict::TooLarge},
                          Case{Pixels / 100 - 200, 1, true, FlashVerdict::TooLarge},
                          Case{Pixels / 100 - 200, 1, false, FlashVerdict::Flash}}) {
        Scene scene;
        FlashDetector detector;
        std::vector<FlashVerdict> verdicts;
        int flashes = 0;
        for (int i = 0; i < 40; ++i) {
            std::vector<std::uint8_t> pixels = scene.frame();
            if (i == 30) {
                Scene::dot(pixels, 160, 100, 2.5, RedLaser);
                // Squares spread evenly, away from the dot.
                const int squares = c.pixels / (c.side * c.side);
                const int every = Pixels / squares;
                for (int k = 0; k < squares; ++k) {
                    const int at = k * every;
                    const int left = at % Scene::Width / 4 * 4;
                    const int top = at / Scene::Width / 4 * 4;
                    if (std::abs(left - 160) <= 8 && std::abs(top - 100) <= 8)
                        continue;
                    for (int y = top; y < top + c.side; ++y)
                        for (int x = left; x < left + c.side; ++x)
                            for (int channel = 0; channel < 3; ++channel) {
                                auto& level =
                                    pixels[(static_cast<std::size_t>(y) * Scene::Width + x) * 3 +
                                           channel];
                                level = static_cast<std::uint8_t>(
                                    c.bright ? 250 : std::min(255, level + 40));
                            }
                }
            }
            flashes += detector.push(Scene::picture(pixels), {}).has_value() ? 1 : 0;
            verdicts.push_back(detector.lastVerdict());
        }
        const auto what = ::testing::Message() << c.pixels << (c.bright ? " bright" : " faint")
                                               << " pixels in squares of " << c.side;
        EXPECT_EQ(flashes, c.verdict == FlashVerdict::Flash ? 1 : 0) << what;
        EXPECT_EQ(verdicts[30], c.verdict) << what;
    }
}

TEST(FlashDetector, SlowBrighteningIsNoFlash) {
    // A projector fading in a bright target over a third of a second.
    const auto seen = run(80, [](int i, auto& pixels) {
        const int k = std::clamp(i - 20, 0, 10);
        if (i >= 20)
            Scene::dot(pixels, 150, 110, 6, {30 + k * 22, 30 + k * 16, 40});
    });
    EXPECT_TRUE(seen.empty());
}

// ---- Where a flash lands ----

class FlashHits : public MotionDetection::HitTarget, public ::testing::Test {
protected:
    void SetUp() override { MotionDetection::setHitTarget(this); }
    void TearDown() override { MotionDetection::setHitTarget(nullptr); }
    void SetHole(std::int32_t x, std::int32_t y, double score) override {
        hits.push_back({x, y, score});
    }
    float TargetHeight() const override { return 6000.0F; }
    struct Hit {
        std::int32_t x, y;
        double score;
    };
    std::vector<Hit> hits;
};

TEST_F(FlashHits, CentreOfTheAnalysisPictureScoresTen) {
    // The analysis pixel (80, 60 from the bottom) of a 640 x 480 picture.
    MotionDetection::reportFlash({80.5 * 4, 59.5 * 4}, 640, 480);
    ASSERT_EQ(hits.size(), 1U);
    EXPECT_EQ(hits[0].x, 0);
    EXPECT_EQ(hits[0].y, 0);
    EXPECT_DOUBLE_EQ(hits[0].score, 10.0);
}

TEST_F(FlashHits, OffsetInTwipsAsTheStandardGridAtStepOne) {
    // Column 100 and memory row 70: DX 20, DY 10, 50 twips a pixel.
    MotionDetection::reportFlash({100.5 * 4, 49.5 * 4}, 640, 480);
    ASSERT_EQ(hits.size(), 1U);
    EXPECT_EQ(hits[0].x, 1000);
    EXPECT_EQ(hits[0].y, 500);
    EXPECT_NEAR(hits[0].score, 10.0 - std::sqrt(500.0) / 6.0, 1e-9);
}

TEST_F(FlashHits, CornerBeyondTheHalfDiagonalIsNoHit) {
    MotionDetection::reportFlash({0.0, 0.0}, 640, 480);
    EXPECT_TRUE(hits.empty());
}

// ---- The frame routine and the switch ----

class EnhancedRoutine : public CaptureService, public MotionDetection::HitTarget {
protected:
    void SetUp() override {
        MotionDetection::setHitTarget(this);
        window = connectedWindow();
        MotionDetection::SetSampleEveryNthFrame(1);
        MotionDetection::SetCompareEveryNthByte(1);
        MotionDetection::SetTolerance(50);
        MotionDetection::SetMaxLaserBeam(20);
        MotionDetection::resetFrameStateForTesting();
        MotionDetection::resetEnhancedDetection();
    }
    void TearDown() override { MotionDetection::setHitTarget(nullptr); }
    void SetHole(std::int32_t x, std::int32_t y, double score) override {
        hits.push_back({x, y, score});
    }
    float TargetHeight() const override { return 6000.0F; }
    // A dim 160 x 120 x 24 frame, bottom-up, with a white 2 x 2 dot whose
    // lower left pixel is (column, memory row) when lit.
    static std::vector<std::uint8_t> frame(bool lit, int column, int row) {
        std::vector<std::uint8_t> bytes(57600, 20);
        if (lit)
            for (int y = row; y < row + 2; ++y)
                for (int x = column; x < column + 2; ++x)
                    std::fill_n(bytes.begin() + std::ptrdiff_t{y} * 480 + std::ptrdiff_t{x} * 3, 3,
                                250);
        return bytes;
    }
    template <typename Routine> void deliver(Routine routine, std::vector<std::uint8_t> bytes) {
        capture::VIDEOHDR header{};
        header.lpData = bytes.data();
        header.dwBytesUsed = static_cast<std::uint32_t>(bytes.size());
        EXPECT_EQ(routine(window, &header), 0);
        shown = bytes;
    }
    struct Hit {
        std::int32_t x, y;
        double score;
    };
    fixtures::ScratchHome home;
    capture::CaptureHandle window = 0;
    std::vector<Hit> hits;
    std::vector<std::uint8_t> shown;
};

TEST_F(EnhancedRoutine, DotGivesTheStandardAnalysisHit) {
    for (int i = 0; i < 12; ++i)
        deliver(MotionDetection::FrameCallback, frame(i == 11, 100, 70));
    ASSERT_EQ(hits.size(), 1U);
    const Hit standard = hits[0];
    hits.clear();
    // A camera without a larger picture: the routine reads the frame itself.
    for (int i = 0; i < 12; ++i)
        deliver(MotionDetection::enhancedFrameCallback, frame(i == 11, 100, 70));
    ASSERT_EQ(hits.size(), 1U);
    EXPECT_EQ(hits[0].x, standard.x);
    EXPECT_EQ(hits[0].y, standard.y);
    EXPECT_DOUBLE_EQ(hits[0].score, standard.score);
}

TEST_F(EnhancedRoutine, DrawsTheCrossAsTheStandardRoutine) {
    deliver(MotionDetection::FrameCallback, frame(false, 0, 0));
    const std::vector<std::uint8_t> standard = shown;
    deliver(MotionDetection::enhancedFrameCallback, frame(false, 0, 0));
    EXPECT_EQ(shown, standard);
}

TEST_F(EnhancedRoutine, SampleEveryNthFrameStepsOverFrames) {
    MotionDetection::SetSampleEveryNthFrame(2);
    // The flash falls on an odd frame, which is stepped over.
    for (int i = 0; i < 24; ++i)
        deliver(MotionDetection::enhancedFrameCallback, frame(i == 21, 100, 70));
    EXPECT_TRUE(hits.empty());
    for (int i = 24; i < 30; ++i)
        deliver(MotionDetection::enhancedFrameCallback, frame(i == 26, 100, 70));
    EXPECT_EQ(hits.size(), 1U);
}

TEST_F(EnhancedRoutine, SwitchIsKeptUnderItsOwnKeyAndOffAtFirst) {
    MotionDetection::loadEnhancedDetection();
    EXPECT_FALSE(MotionDetection::enhancedDetection());
    MotionDetection::setEnhancedDetection(true);
    EXPECT_EQ(platform::readSetting(QStringLiteral("Vantorel"), QStringLiteral("Settings"),
                                    QStringLiteral("EnhancedDetection"), QString()),
              QStringLiteral(" 1"));
    MotionDetection::setEnhancedDetection(false);
    EXPECT_FALSE(MotionDetection::enhancedDetection());
    platform::writeSetting(QStringLiteral("Vantorel"), QStringLiteral("Settings"),
                           QStringLiteral("EnhancedDetection"), QStringLiteral(" 1"));
    MotionDetection::loadEnhancedDetection();
    EXPECT_TRUE(MotionDetection::enhancedDetection());
    MotionDetection::setEnhancedDetection(false);
}

} // namespace
