// The four detection parameters: held to their ranges, saved at once, and
// read back from their stored text at start-up.

#include "detection/MotionDetection.h"
#include "platform/SettingsStore.h"

#include <algorithm>
#include <limits>

namespace MotionDetection {

namespace {

// 0 until the start-up's setter calls; the frame analysis copes with that.
std::int32_t sampleEveryNthFrame = 0;
std::int32_t compareEveryNthByte = 0;
std::int32_t tolerance = 0;
std::int32_t maxLaserBeam = 0;

// Decimal text with a sign position: a leading blank for 0 or more.
QString storedText(std::int32_t value) {
    return value >= 0 ? QLatin1Char(' ') + QString::number(value) : QString::number(value);
}

void setParameter(std::int32_t& variable, std::int32_t value, const ParameterRange& range) {
    variable = value;
    if (variable < 1)
        variable = 1;
    if (variable > range.max)
        variable = range.max;
    // Saved on every call; the store leaves its file alone when it holds the
    // text already, so an unchanged start rewrites nothing.
    platform::writeSetting(QStringLiteral("Vantorel"), QStringLiteral("Settings"),
                           QString::fromLatin1(range.key), storedText(variable));
}

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

} // namespace

void SetSampleEveryNthFrame(std::int32_t value) {
    setParameter(sampleEveryNthFrame, value, SampleEveryNthFrameRange);
}
void SetCompareEveryNthByte(std::int32_t value) {
    setParameter(compareEveryNthByte, value, CompareEveryNthByteRange);
}
void SetTolerance(std::int32_t value) {
    setParameter(tolerance, value, ToleranceRange);
}
void SetMaxLaserBeam(std::int32_t value) {
    setParameter(maxLaserBeam, value, MaxLaserBeamRange);
}

std::int32_t GetSampleEveryNthFrame() {
    return sampleEveryNthFrame;
}
std::int32_t GetCompareEveryNthByte() {
    return compareEveryNthByte;
}
std::int32_t GetTolerance() {
    return tolerance;
}
std::int32_t GetMaxLaserBeam() {
    return maxLaserBeam;
}

std::int32_t readStoredValue(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && isBlank(text[i]))
        ++i;

    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }

    // The whole part, held just beyond the 32-bit range so a long run of
    // digits in a damaged file cannot overflow.
    constexpr std::int64_t cap = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 2;
    std::int64_t whole = 0;
    bool anyDigit = false;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        anyDigit = true;
        whole = std::min(cap, whole * 10 + (text[i].unicode() - '0'));
        ++i;
    }

    // The fraction decides the rounding exactly: above, at or below one half.
    int fractionVersusHalf = -1;
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        bool first = true;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
            anyDigit = true;
            const int digit = text[i].unicode() - '0';
            if (first) {
                fractionVersusHalf = digit > 5 ? 1 : (digit == 5 ? 0 : -1);
                first = false;
            } else if (fractionVersusHalf == 0 && digit != 0) {
                fractionVersusHalf = 1;
            }
            ++i;
        }
    }
    if (!anyDigit)
        return 0;

    if (fractionVersusHalf > 0 || (fractionVersusHalf == 0 && whole % 2 == 1))
        whole = std::min(cap, whole + 1);
    const std::int64_t value = negative ? -whole : whole;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

} // namespace MotionDetection
