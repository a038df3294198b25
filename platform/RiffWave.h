#pragma once
// Reading the header of an in-memory RIFF WAVE image: walks its chunks to
// find the sample format and the sample bytes, whatever other chunks (such
// as JUNK padding) stand between them. Reads nothing outside the image.

#include <QByteArrayView>
#include <cstdint>
#include <optional>

namespace platform {

struct WaveClip {
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint16_t blockAlign = 0; // bytes of one sample frame, all channels
    qsizetype dataOffset = 0;     // where the sample bytes start in the image
    qsizetype dataSize = 0;       // whole sample frames only
};

// The playable description of a PCM clip (8, 16 or 32 bits, 1 to 8
// channels), or nothing when the image is damaged or not plain PCM: too
// short, wrong signatures, a chunk running past the end, no "fmt " or "data"
// chunk, inconsistent sizes, or no whole sample frame to play.
std::optional<WaveClip> parseWave(QByteArrayView image);

} // namespace platform
