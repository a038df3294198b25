// The frame recorder: which frames it writes, that they come back exactly,
// and a new run folder for every start.

#include "record/FrameRecorder.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using record::FrameRecorder;

// A bottom-up 160 x 120 x 24 frame whose bytes all differ from frame to frame.
std::vector<std::uint8_t> frameNumber(int number) {
    std::vector<std::uint8_t> frame(std::size_t{160} * 120 * 3);
    for (std::size_t i = 0; i < frame.size(); ++i)
        frame[i] = static_cast<std::uint8_t>(i * 7 + static_cast<std::size_t>(number) * 13);
    return frame;
}

QStringList written(const FrameRecorder& recorder) {
    return QDir(recorder.folder()).entryList(QDir::Files, QDir::Name);
}

// The names of the frames first to last.
QStringList names(int first, int last) {
    QStringList list;
    for (int number = first; number <= last; ++number)
        list << QStringLiteral("frame-%1.png").arg(number, 8, 10, QLatin1Char('0'));
    return list;
}

// Around hits, then every frame in the next run folders.
TEST(FrameRecorder, AroundHitsOrAllFramesEachStartInANewRunFolder) {
    const QTemporaryDir dir;
    const QString frames = dir.filePath("frames");
    QString error;
    const auto recorder = FrameRecorder::start(frames, FrameRecorder::Mode::AroundHits, error);
    ASSERT_TRUE(recorder) << error.toStdString();
    EXPECT_EQ(recorder->folder(), QDir::cleanPath(frames + "/run-001"));
    // Hits on frames 40 and 80 (close enough to share frames) and 200.
    for (int number = 0; number < 300; ++number) {
        recorder->writeFrame(frameNumber(number));
        if (number == 40 || number == 80 || number == 200)
            recorder->HitScored();
    }
    recorder->writeFrame(std::vector<std::uint8_t>(100)); // too short to be a frame: skipped
    EXPECT_EQ(written(*recorder), names(10, 110) + names(170, 230));
    EXPECT_TRUE(recorder->error().isEmpty());

    // Lossless: the picture gives back the very bytes of the frame.
    const QImage back = QImage(recorder->folder() + '/' + names(200, 200)[0])
                            .convertToFormat(QImage::Format_BGR888)
                            .mirrored(false, true);
    const std::vector<std::uint8_t> frame = frameNumber(200);
    EXPECT_TRUE(back.size() == QSize(160, 120) &&
                std::equal(frame.begin(), frame.end(), back.constBits()));

    ASSERT_TRUE(QDir(frames).mkpath("run-007")); // numbers go on from the highest
    const auto all = FrameRecorder::start(frames, FrameRecorder::Mode::AllFrames, error);
    const auto next = FrameRecorder::start(frames, FrameRecorder::Mode::AllFrames, error);
    ASSERT_TRUE(all && next);
    EXPECT_TRUE(all->folder().endsWith("/run-008") && next->folder().endsWith("/run-009"));
    for (int number = 0; number < 3; ++number)
        all->writeFrame(frameNumber(number));
    EXPECT_EQ(written(*all), names(0, 2));
    // (A folder that cannot be made: TheProgramsOptions in
    // tests/app/ProgramLifeTest.cpp.)
}

} // namespace
