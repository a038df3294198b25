// The four clips carried as WAVE 100..103: their formats, lengths, chunk
// layouts and shapes, read with a small RIFF walk of their own.

#include "platform/ResourceReader.h"

#include <QByteArray>
#include <QString>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

std::uint32_t U32(const QByteArray& b, qsizetype at) {
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
           std::uint32_t(std::uint8_t(b[at + 2])) << 16 |
           std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}

std::uint16_t U16(const QByteArray& b, qsizetype at) {
    return std::uint16_t(std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8);
}

struct Chunk {
    std::string tag;
    std::uint32_t size;
    qsizetype offset; // of the payload
};

// The chunks after "RIFF" size "WAVE", in file order; empty when a chunk runs
// past the end.
std::vector<Chunk> Chunks(const QByteArray& wave) {
    std::vector<Chunk> chunks;
    if (wave.size() < 12 || wave.left(4) != "RIFF" || wave.mid(8, 4) != "WAVE") {
        return chunks;
    }
    qsizetype at = 12;
    while (at + 8 <= wave.size()) {
        const std::uint32_t size = U32(wave, at + 4);
        if (size > std::uint64_t(wave.size() - at - 8)) {
            return {};
        }
        chunks.push_back({wave.mid(at, 4).toStdString(), size, at + 8});
        at += 8 + qsizetype(size) + qsizetype(size & 1);
    }
    return chunks;
}

struct ClipCase {
    int id;
    const char* name;
    int channels;
    std::uint32_t rate;
    double seconds;
    std::vector<std::pair<std::string, std::uint32_t>> layout; // tag, size (0: any)
};

std::string CaseName(const ::testing::TestParamInfo<ClipCase>& info) {
    return info.param.name;
}

class Clip : public ::testing::TestWithParam<ClipCase> {
protected:
    void SetUp() override {
        wave_ = platform::LoadResData(GetParam().id, QStringLiteral("WAVE"));
        ASSERT_FALSE(wave_.isEmpty());
        chunks_ = Chunks(wave_);
        ASSERT_FALSE(chunks_.empty()) << "not a readable RIFF WAVE image";
    }
    const Chunk& Find(const std::string& tag) const {
        for (const Chunk& c : chunks_) {
            if (c.tag == tag) {
                return c;
            }
        }
        static const Chunk none{"", 0, 0};
        return none;
    }
    // Sample frame k of channel 0, scaled to -1..1.
    double Sample(qsizetype frame) const {
        const Chunk& data = Find("data");
        const qsizetype at = data.offset + frame * GetParam().channels * 2;
        return std::int16_t(U16(wave_, at)) / 32768.0;
    }
    qsizetype Frames() const { return Find("data").size / (GetParam().channels * 2); }
    double Rms(double from, double to) const {
        const auto first = qsizetype(from * GetParam().rate);
        const auto last = std::min(Frames(), qsizetype(to * GetParam().rate));
        double sum = 0;
        for (qsizetype k = first; k < last; ++k) {
            sum += Sample(k) * Sample(k);
        }
        return last > first ? std::sqrt(sum / double(last - first)) : 0.0;
    }

    QByteArray wave_;
    std::vector<Chunk> chunks_;
};

TEST_P(Clip, RiffSizeCoversTheWholeImage) {
    EXPECT_EQ(U32(wave_, 4), std::uint32_t(wave_.size() - 8));
}

TEST_P(Clip, HasItsChunkLayout) {
    const auto& layout = GetParam().layout;
    ASSERT_EQ(chunks_.size(), layout.size());
    for (std::size_t i = 0; i < layout.size(); ++i) {
        EXPECT_EQ(chunks_[i].tag, layout[i].first) << i;
        if (layout[i].second != 0) {
            EXPECT_EQ(chunks_[i].size, layout[i].second) << chunks_[i].tag;
        }
    }
    // The header is the 12-byte RIFF head plus every chunk before "data".
    const qsizetype header = GetParam().channels == 2 ? 44 : 12 + 26 + 466 + 8;
    EXPECT_EQ(Find("data").offset, header);
}

TEST_P(Clip, IsSixteenBitPcmOfItsRateAndChannels) {
    const Chunk& fmt = Find("fmt ");
    const ClipCase& c = GetParam();
    EXPECT_EQ(U16(wave_, fmt.offset), 1) << "format tag PCM";
    EXPECT_EQ(U16(wave_, fmt.offset + 2), c.channels);
    EXPECT_EQ(U32(wave_, fmt.offset + 4), c.rate);
    EXPECT_EQ(U32(wave_, fmt.offset + 8), c.rate * c.channels * 2) << "bytes a second";
    EXPECT_EQ(U16(wave_, fmt.offset + 12), c.channels * 2) << "block align";
    EXPECT_EQ(U16(wave_, fmt.offset + 14), 16);
    if (fmt.size == 18) {
        EXPECT_EQ(U16(wave_, fmt.offset + 16), 0) << "extra size";
    }
}

TEST_P(Clip, LastsAboutItsLength) {
    const ClipCase& c = GetParam();
    const double seconds = double(Frames()) / c.rate;
    EXPECT_NEAR(seconds, c.seconds, c.seconds * 0.10);
    EXPECT_EQ(Find("data").size % (c.channels * 2), 0u) << "whole sample frames only";
}

TEST_P(Clip, IsAudible) {
    EXPECT_GT(Rms(0.0, GetParam().seconds), 0.02);
}

TEST_P(Clip, PaddingIsZeroFilled) {
    for (const Chunk& chunk : chunks_) {
        if (chunk.tag == "JUNK") {
            EXPECT_EQ(wave_.mid(chunk.offset, chunk.size), QByteArray(qsizetype(chunk.size), '\0'));
        }
    }
}

const std::vector<std::pair<std::string, std::uint32_t>> kShotLayout{{"fmt ", 16}, {"data", 0}};
const std::vector<std::pair<std::string, std::uint32_t>> kCueLayout{
    {"fmt ", 18}, {"JUNK", 458}, {"data", 0}};

INSTANTIATE_TEST_SUITE_P(SoundResources, Clip,
                         ::testing::Values(ClipCase{100, "Shot", 2, 22050, 1.503, kShotLayout},
                                           ClipCase{101, "Ready", 1, 44100, 0.772, kCueLayout},
                                           ClipCase{102, "Next", 1, 44100, 0.788, kCueLayout},
                                           ClipCase{103, "Finish", 1, 44100, 0.954, kCueLayout}),
                         CaseName);

TEST(SoundResources, EachIdHoldsItsOwnClip) {
    // Ready, Next and Finish grow longer in that order, and the shot is the
    // longest clip of all: a mix-up of ids shows as a broken order.
    const auto size = [](int id) {
        return platform::LoadResData(id, QStringLiteral("WAVE")).size();
    };
    EXPECT_LT(size(101), size(102));
    EXPECT_LT(size(102), size(103));
    EXPECT_LT(size(103), size(100));
}

class ShotClip : public Clip {};

TEST_P(ShotClip, IsLoudAtOnceAndDiesAwayOverTheClip) {
    const double start = Rms(0.0, 0.05);
    const double middle = Rms(0.6, 0.7);
    const double end = Rms(1.4, 1.5);
    EXPECT_GT(start, 0.1) << "a sharp attack";
    EXPECT_GT(start, 5 * middle);
    EXPECT_GT(middle, end);
    EXPECT_LT(end, 0.01) << "nearly silent by the end";
    EXPECT_GT(end, 0.0) << "still dying away, not cut off early";
}

INSTANTIATE_TEST_SUITE_P(SoundResources, ShotClip,
                         ::testing::Values(ClipCase{100, "Shot", 2, 22050, 1.503, kShotLayout}),
                         CaseName);

} // namespace
