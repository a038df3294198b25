// The four clips carried as WAVE 100..103: their chunk layouts, formats,
// lengths and loudness, read straight from the bytes.

#include "platform/ResourceReader.h"

#include <QtEndian>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {
std::uint32_t u32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<std::uint32_t>(b.constData() + at);
}
std::uint16_t u16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<std::uint16_t>(b.constData() + at);
}

struct Clip {
    QByteArray wave;
    int channels;
    qsizetype dataOffset;
    // Root mean square of channel 0 from one second to another, on 0..1.
    double rms(double from, double to, std::uint32_t rate) const {
        const qsizetype frames = (wave.size() - dataOffset) / (2 * channels);
        const auto first = qsizetype(from * rate);
        const auto last = std::min(frames, qsizetype(to * rate));
        double sum = 0;
        for (qsizetype k = first; k < last; ++k)
            sum += std::pow(std::int16_t(u16(wave, dataOffset + k * 2 * channels)) / 32768.0, 2);
        return last > first ? std::sqrt(sum / double(last - first)) : 0.0;
    }
};
} // namespace

// The shot: 16-byte "fmt " then "data". The cues: 18-byte "fmt ", 458 bytes
// of zeros in "JUNK", then "data". Ready, Next and Finish grow longer in
// that order, so a mix-up of ids shows.
TEST(SoundResources, ClipsHaveTheirLayoutsFormatsAndLengths) {
    const struct {
        int id;
        int channels;
        std::uint32_t rate;
        double seconds;
    } rows[] = {{100, 2, 22050, 1.503},
                {101, 1, 44100, 0.772},
                {102, 1, 44100, 0.788},
                {103, 1, 44100, 0.954}};
    qsizetype lastSize = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE("WAVE " + std::to_string(row.id));
        const QByteArray w = platform::LoadResData(row.id, QStringLiteral("WAVE"));
        const bool cue = row.id != 100;
        const Clip clip{w, row.channels, cue ? 12 + 26 + 466 + 8 : 44};
        ASSERT_GT(w.size(), clip.dataOffset);
        EXPECT_TRUE(w.startsWith("RIFF"));
        EXPECT_EQ(u32(w, 4), w.size() - 8);
        EXPECT_EQ(w.mid(8, 8), QByteArray("WAVEfmt "));
        EXPECT_EQ(u32(w, 16), cue ? 18u : 16u);
        EXPECT_EQ(u16(w, 20), 1) << "PCM";
        EXPECT_EQ(u16(w, 22), row.channels);
        EXPECT_EQ(u32(w, 24), row.rate);
        EXPECT_EQ(u32(w, 28), row.rate * row.channels * 2) << "bytes a second";
        EXPECT_EQ(u16(w, 32), row.channels * 2) << "block align";
        EXPECT_EQ(u16(w, 34), 16);
        if (cue) {
            EXPECT_EQ(u16(w, 36), 0) << "extra format bytes";
            EXPECT_EQ(w.mid(38, 8), QByteArray("JUNK\xCA\1\0\0", 8));
            EXPECT_EQ(w.mid(46, 458), QByteArray(458, '\0'));
        }
        const qsizetype dataSize = w.size() - clip.dataOffset;
        EXPECT_EQ(w.mid(clip.dataOffset - 8, 4), QByteArray("data"));
        EXPECT_EQ(u32(w, clip.dataOffset - 4), dataSize);
        EXPECT_EQ(dataSize % (2 * row.channels), 0) << "whole sample frames only";
        EXPECT_NEAR(double(dataSize) / (2 * row.channels) / row.rate, row.seconds,
                    row.seconds / 10);
        EXPECT_GT(clip.rms(0, row.seconds, row.rate), 0.02) << "audible";
        if (cue) {
            EXPECT_GT(w.size(), lastSize) << "longer than the cue before";
            lastSize = w.size();
        }
    }
    EXPECT_GT(platform::LoadResData(100, QStringLiteral("WAVE")).size(), lastSize)
        << "the shot is the longest clip";
}

// A noise burst with a sharp attack that dies away over the whole clip.
TEST(SoundResources, ShotIsLoudAtOnceAndDiesAway) {
    const Clip shot{platform::LoadResData(100, QStringLiteral("WAVE")), 2, 44};
    const double start = shot.rms(0.0, 0.05, 22050);
    const double middle = shot.rms(0.6, 0.7, 22050);
    const double end = shot.rms(1.4, 1.5, 22050);
    EXPECT_GT(start, 0.1) << "a sharp attack";
    EXPECT_GT(start, 5 * middle);
    EXPECT_GT(middle, end);
    EXPECT_LT(end, 0.01) << "nearly silent by the end";
    EXPECT_GT(end, 0.0) << "still dying away, not cut off early";
}
