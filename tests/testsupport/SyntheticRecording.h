#pragma once
// Recordings made up for the tuner's tests and benchmark: a dark, noisy
// target at 30 frames a second on which a laser dot of a few pixels flashes
// for a frame or three. Frames as the analysis receives them: 160 x 120,
// bytes blue, green, red, rows bottom-up.

#include "tools/replay/FrameSource.h"

#include <cstdint>
#include <vector>

namespace testsupport {

struct Flash {
    int frame = 0;  // the first frame that shows it
    int frames = 2; // how many show it
    int x = 0;      // its first pixel column
    int row = 0;    // its first row in memory (bottom-up)
    int size = 3;   // pixels along both axes, cut at the frame's edges
    std::uint8_t red = 255;
};

struct RecordingPlan {
    int frames = 240;
    std::vector<Flash> flashes;
    std::uint8_t dark = 20;
    std::uint8_t noiseMask = 15; // each byte is dark + (random & noiseMask)
    std::uint64_t seed = 1;
};

inline std::vector<replay::SourceFrame> makeRecording(const RecordingPlan& plan) {
    constexpr int width = 160;
    constexpr int height = 120;
    std::uint64_t state = plan.seed * 0x9E3779B97F4A7C15ULL + 1;
    std::vector<replay::SourceFrame> frames(static_cast<std::size_t>(plan.frames));
    for (std::size_t i = 0; i < frames.size(); ++i) {
        replay::SourceFrame& frame = frames[i];
        frame.seconds = static_cast<double>(i) / 30;
        frame.cameraSize = {width, height};
        frame.pixels.resize(std::size_t{width} * height * 3);
        // xorshift: cheap enough for the benchmark's minute of frames.
        for (std::size_t b = 0; b < frame.pixels.size(); b += 8) {
            state ^= state << 13U;
            state ^= state >> 7U;
            state ^= state << 17U;
            for (std::size_t k = 0; k < 8 && b + k < frame.pixels.size(); ++k)
                frame.pixels[b + k] =
                    static_cast<std::uint8_t>(plan.dark + ((state >> (8 * k)) & plan.noiseMask));
        }
        for (const Flash& flash : plan.flashes) {
            const int index = static_cast<int>(i);
            if (index < flash.frame || index >= flash.frame + flash.frames)
                continue;
            for (int y = flash.row; y < flash.row + flash.size && y < height; ++y) {
                for (int x = flash.x; x < flash.x + flash.size && x < width; ++x) {
                    std::uint8_t* pixel =
                        &frame.pixels[(static_cast<std::size_t>(y) * width + x) * 3];
                    pixel[0] = 80;
                    pixel[1] = 80;
                    pixel[2] = flash.red;
                }
            }
        }
    }
    return frames;
}

// `shots` flashes of two frames, evenly spread over the recording, at
// places that wander over the target.
inline RecordingPlan evenFlashes(int frames, int shots, std::uint64_t seed = 1) {
    RecordingPlan plan;
    plan.frames = frames;
    plan.seed = seed;
    for (int s = 0; s < shots; ++s) {
        Flash flash;
        flash.frame = (s + 1) * frames / (shots + 1);
        flash.x = 20 + (s * 37) % 120;
        flash.row = 15 + (s * 23) % 90;
        plan.flashes.push_back(flash);
    }
    return plan;
}

} // namespace testsupport
