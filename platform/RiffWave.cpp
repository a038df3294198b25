#include "platform/RiffWave.h"

namespace platform {
namespace {

constexpr std::uint16_t FormatPcm = 1;
constexpr qsizetype ChunkHeaderSize = 8;
constexpr qsizetype RiffHeaderSize = 12;
constexpr qsizetype PcmFormatSize = 16;
constexpr std::uint16_t MaxChannels = 8;

std::uint16_t readU16(QByteArrayView bytes, qsizetype at) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + at;
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t readU32(QByteArrayView bytes, qsizetype at) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + at;
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool tagIs(QByteArrayView bytes, qsizetype at, const char (&tag)[5]) {
    return bytes.sliced(at, 4) == QByteArrayView(tag, 4);
}

// Fills the format fields from a "fmt " chunk body; false when it is not
// plain PCM that an audio output can take.
bool readFormat(QByteArrayView body, WaveClip& clip) {
    if (body.size() < PcmFormatSize || readU16(body, 0) != FormatPcm)
        return false;
    clip.channels = readU16(body, 2);
    clip.sampleRate = readU32(body, 4);
    clip.blockAlign = readU16(body, 12);
    clip.bitsPerSample = readU16(body, 14);
    const bool knownDepth =
        clip.bitsPerSample == 8 || clip.bitsPerSample == 16 || clip.bitsPerSample == 32;
    return knownDepth && clip.channels >= 1 && clip.channels <= MaxChannels &&
           clip.sampleRate > 0 && clip.blockAlign == clip.channels * clip.bitsPerSample / 8;
}

} // namespace

std::optional<WaveClip> parseWave(QByteArrayView image) {
    if (image.size() < RiffHeaderSize || !tagIs(image, 0, "RIFF") || !tagIs(image, 8, "WAVE"))
        return std::nullopt;
    // The RIFF size may claim less than the buffer holds; never more.
    const qint64 riffEnd = qint64{readU32(image, 4)} + ChunkHeaderSize;
    if (riffEnd > image.size())
        return std::nullopt;
    const QByteArrayView riff = image.first(static_cast<qsizetype>(riffEnd));

    WaveClip clip;
    bool haveFormat = false;
    bool haveData = false;
    qint64 at = RiffHeaderSize;
    while (at + ChunkHeaderSize <= riff.size() && !(haveFormat && haveData)) {
        const qsizetype header = static_cast<qsizetype>(at);
        const qint64 size = readU32(riff, header + 4);
        const qint64 bodyStart = at + ChunkHeaderSize;
        if (size > riff.size() - bodyStart)
            return std::nullopt; // truncated, or a size that points outside
        const QByteArrayView body =
            riff.sliced(static_cast<qsizetype>(bodyStart), static_cast<qsizetype>(size));
        if (!haveFormat && tagIs(riff, header, "fmt ")) {
            if (!readFormat(body, clip))
                return std::nullopt;
            haveFormat = true;
        } else if (!haveData && tagIs(riff, header, "data")) {
            clip.dataOffset = static_cast<qsizetype>(bodyStart);
            clip.dataSize = body.size();
            haveData = true;
        }
        at = bodyStart + size + (size & 1); // odd chunks carry a pad byte
    }
    if (!haveFormat || !haveData)
        return std::nullopt;
    clip.dataSize -= clip.dataSize % clip.blockAlign;
    if (clip.dataSize == 0)
        return std::nullopt;
    return clip;
}

} // namespace platform
