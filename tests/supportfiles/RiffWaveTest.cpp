// The chunk walker that finds the format and the samples in a WAVE image.

#include "platform/RiffWave.h"
#include "platform/ResourceReader.h"
#include "tests/supportfiles/WaveImages.h"

#include <QtEndian>
#include <gtest/gtest.h>

using platform::parseWave;
using testwave::Shape;

namespace {
const QByteArray Samples(400, '\x11');

Shape stereoShot() {
    return {1, 2, 22050, 16, false, 0};
}
Shape monoCue() {
    return {1, 1, 44100, 16, true, 458};
}

void putU32(QByteArray& bytes, qsizetype at, std::uint32_t value) {
    qToLittleEndian(value, bytes.data() + at);
}
} // namespace

TEST(RiffWave, PlainLayoutFindsFormatAndSamples) {
    const QByteArray image = testwave::image(stereoShot(), Samples);
    const auto clip = parseWave(image);
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->channels, 2);
    EXPECT_EQ(clip->sampleRate, 22050u);
    EXPECT_EQ(clip->bitsPerSample, 16);
    EXPECT_EQ(clip->blockAlign, 4);
    EXPECT_EQ(clip->dataOffset, 44); // 12 + 8 + 16 + 8
    EXPECT_EQ(clip->dataSize, Samples.size());
}

TEST(RiffWave, JunkBeforeDataIsWalkedOver) {
    const QByteArray image = testwave::image(monoCue(), Samples);
    const auto clip = parseWave(image);
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->channels, 1);
    EXPECT_EQ(clip->sampleRate, 44100u);
    EXPECT_EQ(clip->dataOffset, 12 + 8 + 18 + 8 + 458 + 8);
    EXPECT_EQ(image.mid(clip->dataOffset, clip->dataSize), Samples);
}

TEST(RiffWave, OddChunkIsFollowedAfterItsPadByte) {
    QByteArray chunks = testwave::chunk("fmt ", testwave::formatBody(monoCue()));
    chunks += testwave::chunk("LIST", QByteArray(5, 'x')); // 5 bytes + 1 pad
    chunks += testwave::chunk("data", Samples);
    const QByteArray image = testwave::riff(chunks);
    const auto clip = parseWave(image);
    ASSERT_TRUE(clip);
    EXPECT_EQ(image.mid(clip->dataOffset, clip->dataSize), Samples);
}

TEST(RiffWave, DataBeforeFormatStillPlays) {
    QByteArray chunks = testwave::chunk("data", Samples);
    chunks += testwave::chunk("fmt ", testwave::formatBody(stereoShot()));
    const auto clip = parseWave(testwave::riff(chunks));
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->dataOffset, 20);
}

TEST(RiffWave, PartialSampleFrameAtTheEndIsLeftOut) {
    const auto clip = parseWave(testwave::image(stereoShot(), QByteArray(402, '\x01')));
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->dataSize, 400);
}

TEST(RiffWave, TheProgramsOwnClipsAllPlay) {
    for (int id = 100; id <= 103; ++id) {
        const QByteArray image = platform::LoadResData(id, QStringLiteral("WAVE"));
        ASSERT_FALSE(image.isEmpty()) << "WAVE " << id;
        const auto clip = parseWave(image);
        ASSERT_TRUE(clip) << "WAVE " << id;
        EXPECT_EQ(clip->bitsPerSample, 16);
        EXPECT_EQ(clip->dataOffset + clip->dataSize, image.size()) << "WAVE " << id;
        EXPECT_EQ(clip->channels, id == 100 ? 2 : 1);
        EXPECT_EQ(clip->sampleRate, id == 100 ? 22050u : 44100u);
    }
}

// Damaged images of every kind stay silent and are never read past their end.
struct Damage {
    const char* name;
    QByteArray (*make)();
};

class DamagedWave : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedWave, IsNotPlayed) {
    const QByteArray image = GetParam().make();
    // A copy of exactly its size: a read past the end shows up under a
    // memory checker.
    const QByteArray exact(image.constData(), image.size());
    EXPECT_FALSE(parseWave(exact));
}

QByteArray good() {
    return testwave::image(monoCue(), Samples);
}

const Damage Damages[] = {
    {"Empty", [] { return QByteArray(); }},
    {"OnlyTheRiffTag", [] { return QByteArray("RIFF"); }},
    {"NotRiff", [] { return QByteArray(good()).replace(0, 4, "RIFX"); }},
    {"NotWave", [] { return QByteArray(good()).replace(8, 4, "AVI "); }},
    {"TruncatedInTheSamples", [] { return good().left(good().size() - 100); }},
    {"TruncatedInAChunkHeader", [] { return good().left(12 + 26 + 4); }},
    {"RiffSizeBeyondTheBuffer",
     [] {
         QByteArray image = good();
         putU32(image, 4, 0xFFFFFFF0u);
         return image;
     }},
    {"HugeDataSize",
     [] {
         QByteArray image = good();
         putU32(image, image.size() - Samples.size() - 4, 0xFFFFFFFFu);
         return image;
     }},
    {"HugeJunkSize",
     [] {
         QByteArray image = good();
         putU32(image, 12 + 26 + 4, 0x7FFFFFFFu);
         return image;
     }},
    {"FormatChunkTooShort",
     [] {
         return testwave::riff(testwave::chunk("fmt ", QByteArray(10, '\x01')) +
                               testwave::chunk("data", Samples));
     }},
    {"NoFormatChunk", [] { return testwave::riff(testwave::chunk("data", Samples)); }},
    {"NoDataChunk",
     [] { return testwave::riff(testwave::chunk("fmt ", testwave::formatBody(monoCue()))); }},
    {"EmptyData", [] { return testwave::image(monoCue(), QByteArray()); }},
    {"NotPcm",
     [] {
         Shape shape = monoCue();
         shape.formatTag = 2; // ADPCM
         return testwave::image(shape, Samples);
     }},
    {"ZeroChannels",
     [] {
         Shape shape = monoCue();
         shape.channels = 0;
         return testwave::image(shape, Samples);
     }},
    {"ZeroRate",
     [] {
         Shape shape = monoCue();
         shape.sampleRate = 0;
         return testwave::image(shape, Samples);
     }},
    {"OddSampleDepth",
     [] {
         Shape shape = monoCue();
         shape.bitsPerSample = 12;
         return testwave::image(shape, Samples);
     }},
    {"BlockAlignDisagrees",
     [] {
         QByteArray image = good();
         image[12 + 8 + 12] = 7;
         return image;
     }},
};

INSTANTIATE_TEST_SUITE_P(RiffWave, DamagedWave, ::testing::ValuesIn(Damages),
                         [](const auto& info) { return std::string(info.param.name); });
