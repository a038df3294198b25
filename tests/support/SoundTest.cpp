// The sound effects: which clip plays, silence without an audio device, and
// playback heard for real through the null output of the private test sound
// server.

#include "support/Sound.h"
#include "platform/SeamGuard.h"
#include "platform/SoundOutput.h"
#include "tests/fixtures/WaveImages.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// Keeps the clips handed to the output, device or not.
class SoundEffects : public ::testing::Test {
protected:
    platform::SoundOutput& output = platform::SoundOutput::instance();
    QList<QByteArray> played;
    const platform::SeamGuard<platform::SoundOutput::PlayObserver> observed{
        platform::SoundOutput::setPlayObserver,
        [this](const QByteArray& clip) { played.append(clip); }};
};

// Seconds in which the level over 10 ms windows stood above threshold (of
// 32767).
double loudSeconds(const QByteArray& bytes, double threshold) {
    const auto* s = reinterpret_cast<const std::int16_t*>(bytes.constData());
    double loud = 0;
    for (qsizetype start = 0; start + 441 <= bytes.size() / 2; start += 441) {
        double sum = 0;
        for (qsizetype i = start; i < start + 441; ++i)
            sum += double(s[i]) * s[i];
        loud += std::sqrt(sum / 441) > threshold ? 0.01 : 0;
    }
    return loud;
}
} // namespace

// With a device, and again in a child process whose sound server address
// leads nowhere, since the audio back end keeps its first connection for the
// life of a process: there every call is silent and returns.
TEST_F(SoundEffects, EachIndexPlaysItsOwnClipAndOthersNothingWithOrWithoutADevice) {
    const QString noServer = QStringLiteral("unix:/nonexistent/vantorel-test/native");
    const bool noDevice = qEnvironmentVariable("PULSE_SERVER") == noServer;
    if (!noDevice) {
        QProcess child;
        // The first of a name counts: ours comes before the caller's.
        child.setEnvironment(QStringList{"PULSE_SERVER=" + noServer} +
                             QProcess::systemEnvironment());
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=SoundEffects.EachIndex*")});
        ASSERT_TRUE(child.waitForFinished(60000));
        const QByteArray report = child.readAllStandardOutput();
        EXPECT_TRUE(child.exitCode() == 0 && report.contains("[  PASSED  ] 1 test"))
            << report.toStdString();
    }
    Sound::LoadSounds();
    for (std::int32_t k : {3, 0, 6, -1, INT32_MIN, INT32_MAX, 2, 5, 1, 4}) {
        Sound::PlayEffect(k);
        EXPECT_FALSE(noDevice && output.isPlaying()) << "effect " << k;
    }
    EXPECT_EQ(played, (QList<QByteArray>{Sound::effectBuffer(3), Sound::effectBuffer(0),
                                         Sound::effectBuffer(2), Sound::effectBuffer(5),
                                         Sound::effectBuffer(1), Sound::effectBuffer(4)}));
    Sound::FreeSounds(); // stops the effect still playing before its buffer goes
    EXPECT_FALSE(output.isPlaying());
    EXPECT_TRUE(Sound::effectBuffer(1).isEmpty());
    Sound::PlayEffect(1);
    // A clip cut short in its samples is not played.
    output.play(testwave::image(1, 44100, false, QByteArray(44100, '\x11')).chopped(22050));
    EXPECT_FALSE(output.isPlaying());
}

// Both header layouts: the shot (plain) and a cue (with JUNK). Only a lower
// bound: another program's sound could only add to it.
TEST(SoundHeard, EffectsAreHeard) {
    QProcess pactl;
    pactl.startCommand(QStringLiteral("pactl list sinks"));
    if (!pactl.waitForFinished(10000) || !pactl.readAllStandardOutput().contains("test_sink"))
        GTEST_SKIP() << "Not heard: no test_sink (scripts/test.sh starts one)";
    Sound::LoadSounds();
    for (const std::int32_t k : {Sound::ShotEffect, Sound::ReadyEffect}) {
        // The null output's monitor (16-bit mono, 44100 Hz) delivers silence
        // while nothing plays: data flowing means it records.
        QProcess parecord;
        parecord.startCommand(
            QStringLiteral("parecord --raw --format=s16le --channels=1 "
                           "--rate=44100 --latency-msec=20 -d test_sink.monitor"));
        parecord.waitForReadyRead(5000);
        parecord.readAllStandardOutput();
        Sound::PlayEffect(k);
        QTest::qWait(1900);
        parecord.terminate();
        parecord.waitForFinished(5000);
        EXPECT_GT(loudSeconds(parecord.readAllStandardOutput(), 300), 0.3) << "effect " << k;
    }
    // A clip cut off by the next, or stopped, never runs the event loop in
    // the caller (the audio back end does as a sink goes): the frame routine
    // plays the shot and must not be entered again from within.
    bool ran = false;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&ran] { ran = true; }, Qt::QueuedConnection);
    Sound::PlayEffect(Sound::ShotEffect);
    Sound::PlayEffect(Sound::ReadyEffect);
    Sound::FreeSounds();
    EXPECT_FALSE(ran);
    QCoreApplication::processEvents();
    EXPECT_TRUE(ran);
}
