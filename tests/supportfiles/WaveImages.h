#pragma once
// WAVE images made in the test, in the two header layouts the program's
// clips use: a 16-byte "fmt " chunk followed by "data", or an 18-byte one
// with a JUNK chunk between it and "data".

#include <QByteArray>
#include <cstdint>

namespace testwave {

struct Shape {
    std::uint16_t formatTag = 1;
    std::uint16_t channels = 1;
    std::uint32_t sampleRate = 44100;
    std::uint16_t bitsPerSample = 16;
    bool extendedFormat = false; // 18-byte "fmt " and a JUNK chunk
    std::uint32_t junkSize = 458;
};

QByteArray chunk(const char (&tag)[5], const QByteArray& body);
QByteArray formatBody(const Shape& shape);
// A whole RIFF WAVE image around the given chunks.
QByteArray riff(const QByteArray& chunks);
// A WAVE image of the given shape around these sample bytes.
QByteArray image(const Shape& shape, const QByteArray& samples);
// 16-bit mono samples of a sine tone.
QByteArray sineSamples(double frequency, double seconds, std::uint32_t sampleRate = 44100,
                       double amplitude = 0.5);

} // namespace testwave
