#pragma once
// WAVE images made in the test, in the two header layouts the program's
// clips use: a 16-byte "fmt " chunk followed by "data", or an 18-byte one
// with 458 bytes of "JUNK" between it and "data".

#include <QByteArray>
#include <QtEndian>
#include <cstdint>

namespace testwave {
template <typename T> QByteArray le(T value) {
    QByteArray out(sizeof(T), '\0');
    qToLittleEndian(value, out.data());
    return out;
}
inline QByteArray chunk(const char (&tag)[5], const QByteArray& body) {
    return tag + le(std::uint32_t(body.size())) + body + QByteArray(body.size() % 2, '\0');
}
// 16-bit PCM; the 18-byte form ends in an empty extra size.
inline QByteArray format(std::uint16_t channels, std::uint32_t rate, bool extended) {
    return le(std::uint16_t(1)) + le(channels) + le(rate) + le(rate * channels * 2) +
           le(std::uint16_t(channels * 2)) + le(std::uint16_t(16)) +
           QByteArray(extended ? 2 : 0, '\0');
}
inline QByteArray riff(const QByteArray& chunks) {
    return "RIFF" + le(std::uint32_t(chunks.size() + 4)) + "WAVE" + chunks;
}
inline QByteArray image(std::uint16_t channels, std::uint32_t rate, bool withJunk,
                        const QByteArray& samples) {
    return riff(chunk("fmt ", format(channels, rate, withJunk)) +
                (withJunk ? chunk("JUNK", QByteArray(458, '\0')) : QByteArray()) +
                chunk("data", samples));
}
} // namespace testwave
