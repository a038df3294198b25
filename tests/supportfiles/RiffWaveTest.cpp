// The chunk walker that finds the format and the samples in a WAVE image.

#include "platform/RiffWave.h"
#include "tests/supportfiles/WaveImages.h"

#include <gtest/gtest.h>

using namespace testwave;

namespace {
const QByteArray Samples(400, '\x11');
} // namespace

TEST(RiffWave, BothLayoutsAndStrayChunksLeadToTheSamples) {
    const std::tuple<const char*, QByteArray, int, qsizetype> rows[] = {
        {"plain", image(2, 22050, false, Samples), 2, 12 + 8 + 16 + 8},
        {"JUNK before data", image(1, 44100, true, Samples), 1, 12 + 8 + 18 + 8 + 458 + 8},
        {"odd chunk, pad byte",
         riff(chunk("fmt ", format(1, 44100, true)) + chunk("LIST", "xxxxx") +
              chunk("data", Samples)),
         1, 12 + 26 + 14 + 8},
        {"data before fmt", riff(chunk("data", Samples) + chunk("fmt ", format(2, 22050, false))),
         2, 20},
        {"part sample frame", image(2, 22050, false, Samples + "\x11\x11"), 2, 44},
    };
    for (const auto& [name, wave, channels, dataOffset] : rows) {
        const auto clip = platform::parseWave(wave);
        ASSERT_TRUE(clip) << name;
        EXPECT_EQ(clip->sampleRate, channels == 2 ? 22050u : 44100u) << name;
        EXPECT_EQ(clip->blockAlign, 2 * channels) << name;
        EXPECT_EQ(clip->dataOffset, dataOffset) << name;
        EXPECT_EQ(wave.mid(clip->dataOffset, clip->dataSize), Samples) << name;
    }
}

// Damaged images stay silent. Each is a copy of exactly its size, so that a
// read past the end shows up under a memory checker.
TEST(RiffWave, DamagedImagesAreNotPlayed) {
    const QByteArray good = image(1, 44100, true, Samples);
    const auto patched = [&good](qsizetype at, const QByteArray& bytes) {
        return QByteArray(good).replace(at, bytes.size(), bytes);
    };
    const std::pair<const char*, QByteArray> rows[] = {
        {"empty", {}},
        {"not RIFF", patched(0, "RIFX")},
        {"not WAVE", patched(8, "AVI ")},
        {"cut in the samples", good.chopped(100)},
        {"cut in a chunk header", good.left(12 + 26 + 4)},
        {"huge JUNK size", patched(42, le(0x7FFFFFFFu))},
        {"huge data size", patched(good.size() - 404, le(0xFFFFFFFFu))},
        {"fmt too short", riff(chunk("fmt ", QByteArray(10, '\1')) + chunk("data", Samples))},
        {"no fmt", riff(chunk("data", Samples))},
        {"no data", riff(chunk("fmt ", format(1, 44100, true)))},
        {"no samples", image(1, 44100, true, {})},
        {"ADPCM", patched(20, le(std::uint16_t(2)))},
        {"no channels", patched(22, le(std::uint16_t(0)))},
        {"block align disagrees", patched(32, le(std::uint16_t(7)))},
    };
    for (const auto& [name, wave] : rows)
        EXPECT_FALSE(platform::parseWave(QByteArray(wave.constData(), wave.size()))) << name;
}
