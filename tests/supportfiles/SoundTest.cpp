// The sound effects: which clip plays, clips cutting each other off,
// silence without an audio device, and playback heard for real through the
// private test sound server.

#include "support/Sound.h"
#include "platform/SoundOutput.h"
#include "tests/supportfiles/SoundRecorder.h"
#include "tests/supportfiles/WaveImages.h"

#include <QCoreApplication>
#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// A server address that cannot answer: the sound output finds no device.
const QString NoServer = QStringLiteral("unix:/nonexistent/vantorel-test/native");

// Keeps the clips handed to the output while it lives.
class PlayLog {
public:
    PlayLog() {
        platform::SoundOutput::setPlayObserver(
            [this](const QByteArray& image) { played.append(image); });
    }
    ~PlayLog() { platform::SoundOutput::setPlayObserver({}); }
    PlayLog(const PlayLog&) = delete;
    PlayLog& operator=(const PlayLog&) = delete;
    QList<QByteArray> played;
};

class SoundEffects : public ::testing::Test {
protected:
    void SetUp() override { Sound::LoadSounds(); }
    void TearDown() override { Sound::FreeSounds(); }
};

// A macro, so that the skip leaves the test itself.
#define SKIP_WITHOUT_SOUND_SERVER()                                                                \
    do {                                                                                           \
        const QString reason = testsound::unavailableReason();                                     \
        if (!reason.isEmpty())                                                                     \
            GTEST_SKIP() << "Not heard: " << reason.toStdString()                                  \
                         << " (scripts/test.sh starts a private one with a null output)";          \
    } while (false)

QByteArray tone(double frequency, double seconds) {
    return testwave::image(testwave::Shape{}, testwave::sineSamples(frequency, seconds));
}
} // namespace

TEST_F(SoundEffects, LoadingFillsTheFourBuffersFromTheClips) {
    for (std::int32_t k = 0; k < Sound::EffectCount; ++k) {
        const QByteArray buffer = Sound::EffectBuffer(k);
        EXPECT_TRUE(buffer.startsWith("RIFF")) << "effect " << k;
    }
    EXPECT_EQ(Sound::EffectBuffer(0).size(), 132628);
    EXPECT_EQ(Sound::EffectBuffer(1).size(), 68644);
    EXPECT_EQ(Sound::EffectBuffer(2).size(), 70052);
    EXPECT_EQ(Sound::EffectBuffer(3).size(), 84644);
}

TEST_F(SoundEffects, EachIndexPlaysItsOwnClip) {
    PlayLog log;
    for (std::int32_t k : {3, 0, 2, 1})
        Sound::PlayEffect(k);
    ASSERT_EQ(log.played.size(), 4);
    EXPECT_EQ(log.played[0], Sound::EffectBuffer(3));
    EXPECT_EQ(log.played[1], Sound::EffectBuffer(0));
    EXPECT_EQ(log.played[2], Sound::EffectBuffer(2));
    EXPECT_EQ(log.played[3], Sound::EffectBuffer(1));
}

TEST_F(SoundEffects, IndexesOutsideTheFourDoNothing) {
    PlayLog log;
    for (std::int32_t index : {4, -1, 100, INT32_MIN, INT32_MAX})
        Sound::PlayEffect(index);
    EXPECT_TRUE(log.played.isEmpty());
    EXPECT_FALSE(platform::SoundOutput::instance().isPlaying());
}

TEST_F(SoundEffects, FreeingStopsThePlayingEffectAndEmptiesTheBuffers) {
    Sound::PlayEffect(0);
    Sound::FreeSounds();
    EXPECT_FALSE(platform::SoundOutput::instance().isPlaying());
    for (std::int32_t k = 0; k < Sound::EffectCount; ++k)
        EXPECT_TRUE(Sound::EffectBuffer(k).isEmpty());
    PlayLog log;
    Sound::PlayEffect(1); // outside the loaded state: an empty clip, silent
    EXPECT_FALSE(platform::SoundOutput::instance().isPlaying());
}

TEST(SoundOutput, DamagedClipStaysSilent) {
    QByteArray image = tone(440, 0.5);
    image.truncate(image.size() / 2);
    platform::SoundOutput::instance().play(image);
    EXPECT_FALSE(platform::SoundOutput::instance().isPlaying());
}

// Runs in a child process of this test program whose sound server address
// leads nowhere, since the audio back end keeps its first connection for
// the life of a process.
TEST(SoundWithoutDevice, EveryCallIsSilentAndReturns) {
    if (qEnvironmentVariable("PULSE_SERVER") == NoServer) {
        PlayLog log;
        Sound::LoadSounds();
        for (std::int32_t k : {0, 1, 2, 3, 0, 4, -1}) {
            Sound::PlayEffect(k);
            EXPECT_FALSE(platform::SoundOutput::instance().isPlaying()) << "effect " << k;
        }
        platform::SoundOutput::instance().play(tone(440, 0.2));
        EXPECT_FALSE(platform::SoundOutput::instance().isPlaying());
        Sound::FreeSounds();
        EXPECT_EQ(log.played.size(), 6); // all asked for, none sounded
        return;
    }
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PULSE_SERVER"), NoServer);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=SoundWithoutDevice.EveryCallIsSilentAndReturns")});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QByteArray output = child.readAllStandardOutput();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

// Each test listens for a tone of its own frequency, since other test
// programs may play into the same output meanwhile.
TEST(SoundHeard, ClipPlaysForItsLength) {
    SKIP_WITHOUT_SOUND_SERVER();
    testsound::SoundRecorder recorder;
    ASSERT_TRUE(recorder.start());
    platform::SoundOutput::instance().play(tone(1250, 0.6));
    EXPECT_TRUE(platform::SoundOutput::instance().isPlaying());
    QTest::qWait(1300);
    const double heard = testsound::toneSeconds(recorder.stop(), 1250);
    platform::SoundOutput::instance().stop();
    RecordProperty("heardSeconds", std::to_string(heard));
    // The first tenth of a second may be lost on the way in.
    EXPECT_GT(heard, 0.4);
    EXPECT_LT(heard, 0.75);
}

TEST(SoundHeard, NewClipCutsOffThePlayingOne) {
    SKIP_WITHOUT_SOUND_SERVER();
    testsound::SoundRecorder recorder;
    ASSERT_TRUE(recorder.start());
    platform::SoundOutput::instance().play(tone(1750, 3.0));
    QTest::qWait(500);
    platform::SoundOutput::instance().play(tone(2750, 0.5));
    QTest::qWait(1500);
    const QByteArray samples = recorder.stop();
    platform::SoundOutput::instance().stop();
    const double first = testsound::toneSeconds(samples, 1750);
    const double second = testsound::toneSeconds(samples, 2750);
    RecordProperty("firstSeconds", std::to_string(first));
    RecordProperty("secondSeconds", std::to_string(second));
    // About half a second of the first, nowhere near its three seconds, and
    // all of the second.
    EXPECT_GT(first, 0.2);
    EXPECT_LT(first, 0.8);
    EXPECT_GT(second, 0.3);
    EXPECT_LT(second, 0.65);
}

TEST(SoundHeard, StopSilencesAtOnce) {
    SKIP_WITHOUT_SOUND_SERVER();
    testsound::SoundRecorder recorder;
    ASSERT_TRUE(recorder.start());
    platform::SoundOutput::instance().play(tone(2250, 3.0));
    QTest::qWait(500);
    platform::SoundOutput::instance().stop();
    EXPECT_FALSE(platform::SoundOutput::instance().isPlaying());
    QTest::qWait(1000);
    const double heard = testsound::toneSeconds(recorder.stop(), 2250);
    RecordProperty("heardSeconds", std::to_string(heard));
    EXPECT_GT(heard, 0.2);
    EXPECT_LT(heard, 0.8);
}

class SoundEffectHeard : public ::testing::TestWithParam<std::int32_t> {};

// Both header layouts: the shot (plain) and the three cues (with JUNK).
// Only a lower bound: another program's sound could only add to it.
TEST_P(SoundEffectHeard, EffectIsHeard) {
    SKIP_WITHOUT_SOUND_SERVER();
    Sound::LoadSounds();
    testsound::SoundRecorder recorder;
    ASSERT_TRUE(recorder.start());
    Sound::PlayEffect(GetParam());
    QTest::qWait(1900);
    const double loud = testsound::loudSeconds(recorder.stop(), 300);
    Sound::FreeSounds();
    RecordProperty("loudSeconds", std::to_string(loud));
    EXPECT_GT(loud, 0.3) << "effect " << GetParam();
}

INSTANTIATE_TEST_SUITE_P(SoundHeard, SoundEffectHeard, ::testing::Values(0, 1, 2, 3));
