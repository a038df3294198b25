#include "tests/supportfiles/WaveImages.h"

#include <QtEndian>
#include <cmath>
#include <numbers>

namespace testwave {
namespace {
void appendU16(QByteArray& out, std::uint16_t value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}
void appendU32(QByteArray& out, std::uint32_t value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}
} // namespace

QByteArray chunk(const char (&tag)[5], const QByteArray& body) {
    QByteArray out(tag, 4);
    appendU32(out, static_cast<std::uint32_t>(body.size()));
    out += body;
    if (body.size() % 2)
        out += '\0';
    return out;
}

QByteArray formatBody(const Shape& shape) {
    QByteArray body;
    const auto blockAlign = static_cast<std::uint16_t>(shape.channels * shape.bitsPerSample / 8);
    appendU16(body, shape.formatTag);
    appendU16(body, shape.channels);
    appendU32(body, shape.sampleRate);
    appendU32(body, shape.sampleRate * blockAlign);
    appendU16(body, blockAlign);
    appendU16(body, shape.bitsPerSample);
    if (shape.extendedFormat)
        appendU16(body, 0);
    return body;
}

QByteArray riff(const QByteArray& chunks) {
    QByteArray out("RIFF");
    appendU32(out, static_cast<std::uint32_t>(chunks.size() + 4));
    out += "WAVE";
    out += chunks;
    return out;
}

QByteArray image(const Shape& shape, const QByteArray& samples) {
    QByteArray chunks = chunk("fmt ", formatBody(shape));
    if (shape.extendedFormat)
        chunks += chunk("JUNK", QByteArray(static_cast<qsizetype>(shape.junkSize), '\0'));
    chunks += chunk("data", samples);
    return riff(chunks);
}

QByteArray sineSamples(double frequency, double seconds, std::uint32_t sampleRate,
                       double amplitude) {
    const auto count = static_cast<qsizetype>(std::lround(seconds * sampleRate));
    QByteArray out;
    out.reserve(count * 2);
    for (qsizetype i = 0; i < count; ++i) {
        const double v = amplitude * std::sin(2 * std::numbers::pi * frequency * i / sampleRate);
        appendU16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(v * 32767)));
    }
    return out;
}

} // namespace testwave
