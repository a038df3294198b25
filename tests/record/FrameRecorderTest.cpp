// The frame recorder: which frames it writes, that they come back exactly
// and small, a new run folder for every start that records, names of any
// bytes, and a disk that fills up.

#include "record/FrameRecorder.h"
#include "tests/fixtures/ScratchHome.h"
#include "tests/fixtures/SmallDisk.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using record::FrameRecorder;

constexpr std::size_t FrameBytes = std::size_t{160} * 120 * 3;

// A bottom-up 160 x 120 x 24 frame whose bytes all differ from frame to frame.
std::vector<std::uint8_t> frameNumber(int number) {
    std::vector<std::uint8_t> frame(FrameBytes);
    for (std::size_t i = 0; i < frame.size(); ++i)
        frame[i] = static_cast<std::uint8_t>(i * 7 + static_cast<std::size_t>(number) * 13);
    return frame;
}

// What a camera gives in a dim room: a dark picture with a few levels of
// noise in every byte, the hardest for the compression.
std::vector<std::uint8_t> noisyFrame(int number) {
    std::vector<std::uint8_t> frame(FrameBytes);
    std::uint32_t state = 2463534242U + static_cast<std::uint32_t>(number);
    for (std::uint8_t& byte : frame) {
        state ^= state << 13U;
        state ^= state >> 17U;
        state ^= state << 5U;
        byte = static_cast<std::uint8_t>(20 + (state & 7U));
    }
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
    // Hits on frames 40 and 80 (close enough to share frames) and 200.
    for (int number = 0; number < 300; ++number) {
        recorder->writeFrame(frameNumber(number));
        if (number == 40 || number == 80 || number == 200)
            recorder->hitScored();
    }
    EXPECT_EQ(recorder->folder(), QDir::cleanPath(frames + "/run-001"));
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

    // Numbers go on from the highest; a planted folder with a number no run
    // gets (it would count on past the largest number) is passed over.
    ASSERT_TRUE(QDir(frames).mkpath("run-007") && QDir(frames).mkpath("run-2147483647") &&
                QDir(frames).mkpath("run-99999999999999999999"));
    const auto all = FrameRecorder::start(frames, FrameRecorder::Mode::AllFrames, error);
    const auto next = FrameRecorder::start(frames, FrameRecorder::Mode::AllFrames, error);
    ASSERT_TRUE(all && next);
    for (int number = 0; number < 3; ++number) {
        all->writeFrame(frameNumber(number));
        next->writeFrame(frameNumber(number));
    }
    EXPECT_EQ(all->folder(), QDir::cleanPath(frames + "/run-008"));
    EXPECT_EQ(next->folder(), QDir::cleanPath(frames + "/run-009"));
    EXPECT_EQ(written(*all), names(0, 2));
}

// A start that records nothing (no hit, or the program ended before a
// frame) leaves no empty run folder behind; a folder that cannot be made
// says why at the start.
TEST(FrameRecorder, NothingRecordedLeavesNoRunFolderAndAFolderThatCannotBeSaysWhy) {
    const QTemporaryDir dir;
    QString error;
    {
        const auto recorder =
            FrameRecorder::start(dir.filePath("frames"), FrameRecorder::Mode::AroundHits, error);
        ASSERT_TRUE(recorder) << error.toStdString();
        for (int number = 0; number < 100; ++number)
            recorder->writeFrame(frameNumber(number)); // no hit
        EXPECT_TRUE(recorder->folder().isEmpty());
    }
    EXPECT_EQ(QDir(dir.filePath("frames")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList());

    ASSERT_TRUE(fixtures::writeFile(dir.filePath("file"), "a file, not a folder"));
    EXPECT_FALSE(
        FrameRecorder::start(dir.filePath("file/frames"), FrameRecorder::Mode::AllFrames, error));
    EXPECT_EQ(error,
              "cannot create the folder " + dir.filePath("file/frames") + ": Not a directory");
}

// Qt's PNG quality 100 is no compression at all: 57,945 bytes a frame. At
// the intended fast level a camera's noisy frame takes well under that and
// the test pattern a fraction of it.
TEST(FrameRecorder, FramesAreCompressed) {
    const QTemporaryDir dir;
    QString error;
    const auto recorder = FrameRecorder::start(dir.path(), FrameRecorder::Mode::AllFrames, error);
    ASSERT_TRUE(recorder);
    recorder->writeFrame(noisyFrame(0));
    recorder->writeFrame(frameNumber(1));
    const QString folder = recorder->folder() + '/';
    const qint64 noisy = QFileInfo(folder + names(0, 0)[0]).size();
    const qint64 pattern = QFileInfo(folder + names(1, 1)[0]).size();
    EXPECT_TRUE(noisy > 0 && noisy < 40'000) << noisy;
    EXPECT_TRUE(pattern > 0 && pattern < 10'000) << pattern;
}

// A folder named by bytes that are not UTF-8 is the folder recorded into,
// not one whose name merely reads the same.
TEST(FrameRecorder, AFolderNameOfAnyBytesKeepsThem) {
    const QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path()) + "/frames-\xff\xfe";
    ASSERT_NE(QFile::encodeName(QFile::decodeName(folder)), folder) << "Qt would garble it";
    QString error;
    const auto recorder = FrameRecorder::start(folder, FrameRecorder::Mode::AllFrames, error);
    ASSERT_TRUE(recorder) << error.toStdString();
    recorder->writeFrame(frameNumber(0));
    EXPECT_TRUE(recorder->error().isEmpty()) << recorder->error().toStdString();
    EXPECT_EQ(::access((folder + "/run-001/frame-00000000.png").constData(), R_OK), 0);
    // Qt cannot remove names that are no UTF-8 with its temporary folder.
    ::unlink((folder + "/run-001/frame-00000000.png").constData());
    ::rmdir((folder + "/run-001").constData());
    EXPECT_EQ(::rmdir(folder.constData()), 0) << "nothing else made in it";
}

// A disk that fills up while recording: the frame it cut short is removed,
// the reason is the system's, and the frames before it are whole.
TEST(FrameRecorder, AFrameCutByAFullDiskIsRemovedAndTheReasonGiven) {
    const fixtures::SmallDisk disk;
    if (disk.unavailable())
        GTEST_SKIP() << disk.why().toStdString();
    if (!disk.inside())
        return;
    QString error;
    const auto recorder =
        FrameRecorder::start(disk.folder(), FrameRecorder::Mode::AllFrames, error);
    ASSERT_TRUE(recorder);
    recorder->writeFrame(noisyFrame(0)); // makes the run folder
    disk.fill(qint64{4096} * 6);         // room for some frames, not a hundred
    int number = 1;
    for (; number < 100 && recorder->error().isEmpty(); ++number)
        recorder->writeFrame(noisyFrame(number));
    EXPECT_TRUE(recorder->error().endsWith(": No space left on device"))
        << recorder->error().toStdString();
    const QStringList frames = written(*recorder);
    ASSERT_FALSE(frames.isEmpty());
    EXPECT_EQ(frames, names(0, static_cast<int>(frames.size()) - 1)) << "the cut frame is gone";
    for (const QString& name : frames) {
        const QImage picture(recorder->folder() + '/' + name);
        EXPECT_EQ(picture.size(), QSize(160, 120)) << name.toStdString();
    }
    recorder->writeFrame(noisyFrame(number)); // stopped: nothing more
    EXPECT_EQ(written(*recorder), frames);
}

} // namespace
