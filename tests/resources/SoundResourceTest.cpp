// The four clips carried as WAVE 100..103: their headers, lengths and
// loudness, read straight from the bytes.

#include "platform/ResourceReader.h"
#include "tests/testsupport/WaveImages.h"

#include <gtest/gtest.h>

// Root mean square of channel 0 of 16-bit samples, on 0..1, over the
// first seconds; a block is one sample frame of all channels.
static double rms(const QByteArray& wave, qsizetype data, qsizetype block, int rate,
                  double seconds) {
    double sum = 0;
    const qsizetype frames = std::min((wave.size() - data) / block, qsizetype(seconds * rate));
    for (qsizetype at = data; at < data + frames * block; at += block)
        sum += std::pow(qFromLittleEndian<std::int16_t>(wave.constData() + at) / 32768.0, 2);
    return std::sqrt(sum / double(std::max<qsizetype>(1, frames)));
}

// The shot: 16-bit stereo at 22050 Hz, a 16-byte "fmt " then "data". The
// cues: 16-bit mono at 44100 Hz, an 18-byte "fmt ", 458 zero bytes of
// "JUNK", then "data". Ready, Next and Finish grow longer in that order, so
// a mix-up of ids shows.
TEST(SoundResources, ClipsHaveTheirHeadersAndLengths) {
    const std::tuple<int, std::uint16_t, std::uint32_t, double> rows[] = {{100, 2, 22050, 1.503},
                                                                          {101, 1, 44100, 0.772},
                                                                          {102, 1, 44100, 0.788},
                                                                          {103, 1, 44100, 0.954}};
    for (const auto& [id, channels, rate, seconds] : rows) {
        const qsizetype block = qsizetype{2} * channels;
        const QByteArray wave = platform::LoadResData(id, QStringLiteral("WAVE"));
        const bool cue = id != 100;
        const qsizetype data = cue ? 512 : 44;
        using namespace testwave;
        const QByteArray header = "RIFF" + le(std::uint32_t(wave.size() - 8)) + "WAVE" +
                                  chunk("fmt ", format(channels, rate, cue)) +
                                  (cue ? chunk("JUNK", QByteArray(458, '\0')) : QByteArray()) +
                                  "data" + le(std::uint32_t(wave.size() - data));
        EXPECT_EQ(wave.left(data), header) << "WAVE " << id;
        EXPECT_EQ((wave.size() - data) % block, 0) << "whole sample frames, WAVE " << id;
        EXPECT_NEAR(double(wave.size() - data) / block / rate, seconds, seconds / 10) << id;
        EXPECT_GT(rms(wave, data, block, rate, seconds), 0.02) << "audible, WAVE " << id;
    }
    const auto size = [](int id) {
        return platform::LoadResData(id, QStringLiteral("WAVE")).size();
    };
    EXPECT_TRUE(size(101) < size(102) && size(102) < size(103) && size(103) < size(100));
}
