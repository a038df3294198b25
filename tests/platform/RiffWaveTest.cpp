// The chunk walker that finds the format and the samples in a WAVE image.

#include "platform/RiffWave.h"
#include "tests/fixtures/WaveImages.h"

#include <gtest/gtest.h>

using namespace testwave;

// Both layouts and stray chunks lead to the samples; damaged images (no
// channels expected) stay silent. Each is a copy of exactly its size, so
// that a read past the end shows up under a memory checker.
TEST(RiffWave, ImagesLeadToTheSamplesOrAreNotPlayed) {
    const QByteArray samples(400, '\x11'), good = image(1, 44100, true, samples);
    const auto patched = [&good](qsizetype at, const QByteArray& bytes) {
        return QByteArray(good).replace(at, bytes.size(), bytes);
    };
    const std::tuple<const char*, QByteArray, int, qsizetype> rows[] = {
        {"plain", image(2, 22050, false, samples), 2, 12 + 8 + 16 + 8},
        {"JUNK before data", good, 1, 12 + 8 + 18 + 8 + 458 + 8},
        {"odd chunk, pad byte",
         riff(chunk("fmt ", format(1, 44100, true)) + chunk("LIST", "xxxxx") +
              chunk("data", samples)),
         1, 12 + 26 + 14 + 8},
        {"data before fmt", riff(chunk("data", samples) + chunk("fmt ", format(2, 22050, false))),
         2, 20},
        {"part sample frame", image(2, 22050, false, samples + "\x11\x11"), 2, 44},
        {"empty", {}, 0, 0},
        {"not RIFF", patched(0, "RIFX"), 0, 0},
        {"not WAVE", patched(8, "AVI "), 0, 0},
        {"cut in the samples", good.chopped(100), 0, 0},
        {"cut in a chunk header", good.left(12 + 26 + 4), 0, 0},
        {"huge JUNK size", patched(42, le(0x7FFFFFFFu)), 0, 0},
        {"huge data size", patched(good.size() - 404, le(0xFFFFFFFFu)), 0, 0},
        {"fmt too short", riff(chunk("fmt ", QByteArray(10, '\1')) + chunk("data", samples)), 0, 0},
        {"no fmt", riff(chunk("data", samples)), 0, 0},
        {"no data", riff(chunk("fmt ", format(1, 44100, true))), 0, 0},
        {"no samples", image(1, 44100, true, {}), 0, 0},
        {"ADPCM", patched(20, le(std::uint16_t(2))), 0, 0},
        {"no channels", patched(22, le(std::uint16_t(0))), 0, 0},
        {"block align disagrees", patched(32, le(std::uint16_t(7))), 0, 0},
    };
    for (const auto& [name, wave, channels, dataOffset] : rows) {
        const auto clip = platform::parseWave(QByteArray(wave.constData(), wave.size()));
        EXPECT_EQ(clip.has_value(), channels != 0) << name;
        EXPECT_TRUE(!clip || (clip->sampleRate == (channels == 2 ? 22050u : 44100u) &&
                              clip->blockAlign == 2 * channels && clip->dataOffset == dataOffset &&
                              wave.mid(clip->dataOffset, clip->dataSize) == samples))
            << name;
    }
}
