// The sound effects: which clip plays, clips cutting each other off,
// silence without an audio device, and playback heard for real through the
// private test sound server's null output (its monitor, test_sink.monitor).

#include "support/Sound.h"
#include "platform/RiffWave.h"
#include "platform/SoundOutput.h"
#include "tests/supportfiles/WaveImages.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace {
// A server address that cannot answer: the sound output finds no device.
const QString NoServer = QStringLiteral("unix:/nonexistent/vantorel-test/native");
platform::SoundOutput& output() {
    return platform::SoundOutput::instance();
}

// Keeps the clips handed to the output while it lives.
struct PlayLog {
    PlayLog() {
        output().setPlayObserver([this](const QByteArray& i) { played.append(i); });
    }
    ~PlayLog() { output().setPlayObserver({}); }
    QList<QByteArray> played;
};

QString noServerReason() {
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("sinks")});
    if (!pactl.waitForFinished(10000) || pactl.exitCode() != 0)
        return QStringLiteral("no sound server (with pactl) can be reached");
    return pactl.readAllStandardOutput().contains("test_sink")
               ? QString()
               : QStringLiteral("the sound server has no test_sink null output");
}

// 16-bit mono samples at 44100 Hz of what the null output played while
// `play` ran. Other test programs may play into it meanwhile.
QByteArray recordWhile(const std::function<void()>& play) {
    QProcess parecord;
    QByteArray samples;
    QObject::connect(&parecord, &QProcess::readyReadStandardOutput,
                     [&] { samples += parecord.readAllStandardOutput(); });
    parecord.start(QStringLiteral("parecord"),
                   QStringLiteral("--raw --format=s16le --channels=1 --rate=44100 "
                                  "--latency-msec=20 -d test_sink.monitor")
                       .split(u' '));
    // The monitor delivers silence while nothing plays: data flowing means
    // the recording runs.
    const QDeadlineTimer deadline(5000);
    while (samples.isEmpty() && !deadline.hasExpired() && parecord.state() != QProcess::NotRunning)
        QTest::qWait(20);
    samples.clear();
    play();
    parecord.terminate();
    parecord.waitForFinished(5000);
    return samples + parecord.readAllStandardOutput();
}

// Seconds in which the level over 10 ms windows stood above threshold (of
// 32767): of a tone of this frequency alone (Goertzel), or of everything
// when the frequency is 0.
double loudSeconds(const QByteArray& bytes, double threshold, double frequency = 0) {
    std::vector<std::int16_t> s(std::size_t(bytes.size() / 2));
    std::memcpy(s.data(), bytes.constData(), s.size() * 2);
    const std::size_t window = 441;
    const double k = 2 * std::cos(2 * std::numbers::pi * frequency / 44100);
    int loud = 0;
    for (std::size_t start = 0; start + window <= s.size(); start += window) {
        double s1 = 0, s2 = 0, sum = 0;
        for (std::size_t i = start; i < start + window; ++i) {
            sum += double(s[i]) * s[i];
            std::tie(s1, s2) = std::pair(s[i] + k * s1 - s2, s1);
        }
        const double level =
            frequency == 0 ? std::sqrt(sum / window)
                           : 2 * std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - k * s1 * s2)) / window;
        loud += level > threshold ? 1 : 0;
    }
    return loud * 0.01;
}

// A macro, so that the skip leaves the test itself.
#define SKIP_WITHOUT_SOUND_SERVER()                                                                \
    if (const QString reason = noServerReason(); !reason.isEmpty())                                \
    GTEST_SKIP() << "Not heard: " << reason.toStdString()                                          \
                 << " (scripts/test.sh starts a private one with a null output)"
} // namespace

TEST(SoundEffects, EachIndexPlaysItsOwnClipAndOthersNothing) {
    Sound::LoadSounds();
    const qsizetype sizes[] = {132628, 68644, 70052, 84644};
    for (std::int32_t k = 0; k < Sound::EffectCount; ++k) {
        EXPECT_EQ(Sound::EffectBuffer(k).size(), sizes[k]) << "effect " << k;
        EXPECT_TRUE(platform::parseWave(Sound::EffectBuffer(k))) << "effect " << k;
    }
    PlayLog log;
    for (std::int32_t k : {3, 0, 4, -1, INT32_MIN, INT32_MAX, 2, 1})
        Sound::PlayEffect(k);
    EXPECT_EQ(log.played, (QList<QByteArray>{Sound::EffectBuffer(3), Sound::EffectBuffer(0),
                                             Sound::EffectBuffer(2), Sound::EffectBuffer(1)}));
    // Freeing stops the effect still playing before its buffer goes.
    Sound::FreeSounds();
    EXPECT_FALSE(output().isPlaying());
    EXPECT_TRUE(Sound::EffectBuffer(1).isEmpty());
    Sound::PlayEffect(1);
    EXPECT_FALSE(output().isPlaying());
}

TEST(SoundEffects, DamagedClipStaysSilent) {
    output().play(testwave::tone(440, 0.5).chopped(22050));
    EXPECT_FALSE(output().isPlaying());
}

// Runs again in a child process whose sound server address leads nowhere,
// since the audio back end keeps its first connection for the life of a
// process.
TEST(SoundEffects, WithoutADeviceEveryCallIsSilentAndReturns) {
    if (qEnvironmentVariable("PULSE_SERVER") == NoServer) {
        PlayLog log;
        Sound::LoadSounds();
        for (std::int32_t k : {0, 1, 2, 3, 0, 4}) {
            Sound::PlayEffect(k);
            EXPECT_FALSE(output().isPlaying()) << "effect " << k;
        }
        Sound::FreeSounds();
        EXPECT_EQ(log.played.size(), 5); // all asked for, none sounded
        return;
    }
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PULSE_SERVER"), NoServer);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=SoundEffects.WithoutADevice*")});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QByteArray report = child.readAllStandardOutput();
    EXPECT_EQ(child.exitCode(), 0) << report.toStdString();
    EXPECT_TRUE(report.contains("[  PASSED  ] 1 test")) << report.toStdString();
}

// Three tones of their own frequencies: the first cut off by the second after
// half a second, the second played whole, the third stopped after half a
// second. The first tenth of a second of each may be lost on the way in.
TEST(SoundHeard, ClipsPlayWholeUnlessCutOffOrStopped) {
    SKIP_WITHOUT_SOUND_SERVER();
    const QByteArray heard = recordWhile([] {
        output().play(testwave::tone(1750, 3.0));
        QTest::qWait(500);
        output().play(testwave::tone(2750, 0.5));
        QTest::qWait(1000);
        output().play(testwave::tone(2250, 3.0));
        QTest::qWait(500);
        output().stop();
        EXPECT_FALSE(output().isPlaying());
        QTest::qWait(800);
    });
    for (const double frequency : {1750, 2750, 2250}) {
        const double seconds = loudSeconds(heard, 5000, frequency);
        RecordProperty("heard" + std::to_string(int(frequency)), std::to_string(seconds));
        EXPECT_GT(seconds, 0.3) << frequency << " Hz";
        EXPECT_LT(seconds, 0.75) << frequency << " Hz";
    }
}

// Both header layouts: the shot (plain) and the three cues (with JUNK). Only
// a lower bound: another program's sound could only add to it.
TEST(SoundHeard, EveryEffectIsHeard) {
    SKIP_WITHOUT_SOUND_SERVER();
    Sound::LoadSounds();
    for (std::int32_t k = 0; k < Sound::EffectCount; ++k) {
        const QByteArray heard = recordWhile([k] {
            Sound::PlayEffect(k);
            QTest::qWait(1900);
        });
        EXPECT_GT(loudSeconds(heard, 300), 0.3) << "effect " << k;
    }
    Sound::FreeSounds();
}
