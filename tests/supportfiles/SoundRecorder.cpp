#include "tests/supportfiles/SoundRecorder.h"

#include <QDeadlineTimer>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace testsound {
namespace {
constexpr int Rate = 44100;
constexpr qsizetype WindowSamples = Rate / 100;
} // namespace

QString unavailableReason() {
    QProcess info;
    info.start(QStringLiteral("pactl"),
               {QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sinks")});
    if (!info.waitForStarted(5000))
        return QStringLiteral("pactl (pulseaudio-utils) is not installed");
    if (!info.waitForFinished(10000) || info.exitCode() != 0)
        return QStringLiteral("no sound server can be reached");
    if (!info.readAllStandardOutput().contains("test_sink"))
        return QStringLiteral("the sound server has no test_sink null output");
    return {};
}

SoundRecorder::~SoundRecorder() {
    if (recorder_.state() != QProcess::NotRunning) {
        recorder_.kill();
        recorder_.waitForFinished(5000);
    }
}

bool SoundRecorder::start() {
    QObject::connect(&recorder_, &QProcess::readyReadStandardOutput,
                     [this] { samples_ += recorder_.readAllStandardOutput(); });
    recorder_.start(QStringLiteral("parecord"),
                    {QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
                     QStringLiteral("--channels=1"), QStringLiteral("--rate=44100"),
                     QStringLiteral("--latency-msec=20"), QStringLiteral("-d"),
                     QStringLiteral("test_sink.monitor")});
    if (!recorder_.waitForStarted(5000))
        return false;
    // The monitor delivers silence while nothing plays: data flowing means
    // the recording is running.
    const QDeadlineTimer deadline(5000);
    while (samples_.isEmpty() && !deadline.hasExpired() && recorder_.state() == QProcess::Running)
        QTest::qWait(20);
    samples_.clear();
    return recorder_.state() == QProcess::Running;
}

QByteArray SoundRecorder::stop() {
    recorder_.terminate();
    recorder_.waitForFinished(5000);
    samples_ += recorder_.readAllStandardOutput();
    return samples_;
}

namespace {
std::int16_t sampleAt(const QByteArray& samples, qsizetype i) {
    std::int16_t v = 0;
    std::memcpy(&v, samples.constData() + 2 * i, 2);
    return v;
}
} // namespace

double toneSeconds(const QByteArray& samples, double frequency, double threshold) {
    const qsizetype count = samples.size() / 2;
    const double k = 2 * std::cos(2 * std::numbers::pi * frequency / Rate);
    qsizetype loudWindows = 0;
    for (qsizetype start = 0; start + WindowSamples <= count; start += WindowSamples) {
        double s1 = 0;
        double s2 = 0;
        for (qsizetype i = start; i < start + WindowSamples; ++i) {
            const double s = sampleAt(samples, i) + k * s1 - s2;
            s2 = s1;
            s1 = s;
        }
        const double power = s1 * s1 + s2 * s2 - k * s1 * s2;
        if (2 * std::sqrt(std::max(power, 0.0)) / WindowSamples > threshold)
            ++loudWindows;
    }
    return double(loudWindows * WindowSamples) / Rate;
}

double loudSeconds(const QByteArray& samples, double threshold) {
    const qsizetype count = samples.size() / 2;
    qsizetype loudWindows = 0;
    for (qsizetype start = 0; start + WindowSamples <= count; start += WindowSamples) {
        double sum = 0;
        for (qsizetype i = start; i < start + WindowSamples; ++i) {
            const double v = sampleAt(samples, i);
            sum += v * v;
        }
        if (std::sqrt(sum / WindowSamples) > threshold)
            ++loudWindows;
    }
    return double(loudWindows * WindowSamples) / Rate;
}

} // namespace testsound
