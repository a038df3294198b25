// The chunk walker that finds the format and the samples in a WAVE image.

#include "platform/RiffWave.h"
#include "tests/supportfiles/WaveImages.h"

#include <gtest/gtest.h>

using namespace testwave;

namespace {
const QByteArray Samples(400, '\x11');
const Shape StereoShot{1, 2, 22050, 16, false};
const Shape MonoCue{1, 1, 44100, 16, true};

QByteArray patched(QByteArray image, qsizetype at, std::uint32_t value) {
    return image.replace(at, 4, le(value));
}
} // namespace

TEST(RiffWave, BothLayoutsAndStrayChunksLeadToTheSamples) {
    const struct {
        const char* name;
        QByteArray image;
        int channels;
        qsizetype dataOffset, dataSize;
    } rows[] = {
        {"plain", image(StereoShot, Samples), 2, 12 + 8 + 16 + 8, 400},
        {"JUNK before data", image(MonoCue, Samples), 1, 12 + 8 + 18 + 8 + 458 + 8, 400},
        {"odd chunk and its pad byte",
         riff(chunk("fmt ", formatBody(MonoCue)) + chunk("LIST", "xxxxx") + chunk("data", Samples)),
         1, 12 + 26 + 14 + 8, 400},
        {"data before fmt", riff(chunk("data", Samples) + chunk("fmt ", formatBody(StereoShot))), 2,
         20, 400},
        {"partial sample frame left out", image(StereoShot, QByteArray(402, '\x11')), 2, 44, 400},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto clip = platform::parseWave(row.image);
        ASSERT_TRUE(clip);
        EXPECT_EQ(clip->channels, row.channels);
        EXPECT_EQ(clip->sampleRate, row.channels == 2 ? 22050u : 44100u);
        EXPECT_EQ(clip->blockAlign, 2 * row.channels);
        EXPECT_EQ(clip->dataOffset, row.dataOffset);
        EXPECT_EQ(clip->dataSize, row.dataSize);
        EXPECT_EQ(row.image.mid(clip->dataOffset, clip->dataSize), Samples);
    }
}

// Damaged images stay silent. Each is a copy of exactly its size, so that a
// read past the end shows up under a memory checker.
TEST(RiffWave, DamagedImagesAreNotPlayed) {
    const QByteArray good = image(MonoCue, Samples);
    const qsizetype dataSizeAt = good.size() - Samples.size() - 4;
    const auto shaped = [](auto change) {
        Shape s = MonoCue;
        change(s);
        return image(s, Samples);
    };
    const std::pair<const char*, QByteArray> rows[] = {
        {"empty", {}},
        {"only RIFF", "RIFF"},
        {"not RIFF", QByteArray(good).replace(0, 4, "RIFX")},
        {"not WAVE", QByteArray(good).replace(8, 4, "AVI ")},
        {"cut in the samples", good.left(good.size() - 100)},
        {"cut in a chunk header", good.left(12 + 26 + 4)},
        {"RIFF size past the end", patched(good, 4, 0xFFFFFFF0u)},
        {"huge data size", patched(good, dataSizeAt, 0xFFFFFFFFu)},
        {"huge JUNK size", patched(good, 12 + 26 + 4, 0x7FFFFFFFu)},
        {"fmt too short", riff(chunk("fmt ", QByteArray(10, '\1')) + chunk("data", Samples))},
        {"no fmt", riff(chunk("data", Samples))},
        {"no data", riff(chunk("fmt ", formatBody(MonoCue)))},
        {"no samples", image(MonoCue, {})},
        {"ADPCM", shaped([](Shape& s) { s.formatTag = 2; })},
        {"no channels", shaped([](Shape& s) { s.channels = 0; })},
        {"rate 0", shaped([](Shape& s) { s.sampleRate = 0; })},
        {"12-bit samples", shaped([](Shape& s) { s.bitsPerSample = 12; })},
        {"block align disagrees", QByteArray(good).replace(12 + 8 + 12, 1, "\7")},
    };
    for (const auto& [name, image] : rows) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(platform::parseWave(QByteArray(image.constData(), image.size())));
    }
}
