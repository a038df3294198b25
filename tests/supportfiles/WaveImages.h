#pragma once
// WAVE images made in the test, in the two header layouts the program's
// clips use: a 16-byte "fmt " chunk followed by "data", or an 18-byte one
// with a JUNK chunk between it and "data".

#include <QByteArray>
#include <QtEndian>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace testwave {

template <typename T> QByteArray le(T value) {
    QByteArray out(sizeof(T), '\0');
    qToLittleEndian(value, out.data());
    return out;
}

inline QByteArray chunk(const char (&tag)[5], const QByteArray& body) {
    return QByteArray(tag, 4) + le(std::uint32_t(body.size())) + body +
           QByteArray(body.size() % 2, '\0');
}

struct Shape {
    std::uint16_t formatTag = 1;
    std::uint16_t channels = 1;
    std::uint32_t sampleRate = 44100;
    std::uint16_t bitsPerSample = 16;
    bool withJunk = false; // 18-byte "fmt " and 458 bytes of JUNK
};

inline QByteArray formatBody(const Shape& s) {
    const auto align = std::uint16_t(s.channels * s.bitsPerSample / 8);
    return le(s.formatTag) + le(s.channels) + le(s.sampleRate) + le(s.sampleRate * align) +
           le(align) + le(s.bitsPerSample) + (s.withJunk ? le(std::uint16_t(0)) : QByteArray());
}

inline QByteArray riff(const QByteArray& chunks) {
    return "RIFF" + le(std::uint32_t(chunks.size() + 4)) + "WAVE" + chunks;
}

inline QByteArray image(const Shape& s, const QByteArray& samples) {
    return riff(chunk("fmt ", formatBody(s)) +
                (s.withJunk ? chunk("JUNK", QByteArray(458, '\0')) : QByteArray()) +
                chunk("data", samples));
}

// A mono 16-bit sine tone at half scale, 44100 samples a second.
inline QByteArray tone(double frequency, double seconds) {
    QByteArray samples;
    for (int i = 0; i < int(seconds * 44100); ++i)
        samples += le(std::int16_t(16383 * std::sin(2 * std::numbers::pi * frequency * i / 44100)));
    return image(Shape{}, samples);
}

} // namespace testwave
