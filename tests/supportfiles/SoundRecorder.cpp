#include "tests/supportfiles/SoundRecorder.h"

#include <QDeadlineTimer>
#include <QTest>
#include <cmath>
#include <cstring>

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

double loudSeconds(const QByteArray& samples, double threshold) {
    const qsizetype count = samples.size() / 2;
    qsizetype loudWindows = 0;
    for (qsizetype start = 0; start + WindowSamples <= count; start += WindowSamples) {
        double sum = 0;
        for (qsizetype i = start; i < start + WindowSamples; ++i) {
            std::int16_t v = 0;
            std::memcpy(&v, samples.constData() + 2 * i, 2);
            sum += double(v) * v;
        }
        if (std::sqrt(sum / WindowSamples) > threshold)
            ++loudWindows;
    }
    return double(loudWindows * WindowSamples) / Rate;
}

} // namespace testsound
