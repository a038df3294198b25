// vantorel-replay-memory [--video] [frames]: the replay tool's peak resident
// memory on its sample (7 frames), then on the sample's frame02 linked the
// given number of times (3000 unless told otherwise); with --video, on a
// black 640 x 480 video of 30 frames, then of the given number. The tool
// reads its frames one at a time, so the peak must not grow with the count:
// each frame held would take 57,600 bytes, 3000 of them 165 MiB (a decoded
// video frame, eight times that). Exits 1 when the many frames take 64 MiB
// more than the few (not under AddressSanitizer, whose quarantine holds
// freed memory on purpose), or when a run fails.

#include "bench/Sanitizers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

namespace {

constexpr long AllowedGrowthKiB = 64L * 1024;

// The largest resident size of any child so far, in KiB.
long childrenPeakKiB() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss;
}

// Runs the program to its end, its output discarded; exits on a failure.
void runToEnd(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(600'000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        std::fprintf(stderr, "vantorel-replay-memory: %s %s failed: %s\n", qPrintable(program),
                     qPrintable(arguments.join(' ')), process.readAllStandardError().constData());
        std::exit(1);
    }
}

// Runs the tool on the folder or video, its hits discarded; the peak after it.
long peakAfterReplay(const QString& path) {
    runToEnd(QStringLiteral(VANTOREL_REPLAY_TOOL), {path});
    return childrenPeakKiB();
}

// A black video of the frames, JPEG in AVI: quick to make and to decode.
QString blackVideo(const QTemporaryDir& dir, long frames) {
    const QString path = dir.filePath(QStringLiteral("black%1.avi").arg(frames));
    runToEnd(QStringLiteral("gst-launch-1.0"),
             {"-q", "videotestsrc", QStringLiteral("num-buffers=%1").arg(frames), "pattern=black",
              "!", "video/x-raw,width=640,height=480,framerate=30/1", "!", "jpegenc", "!", "avimux",
              "!", "filesink", "location=" + path});
    return path;
}

} // namespace

int main(int argc, char** argv) {
    const QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool video = arguments.removeAll(QStringLiteral("--video")) > 0;
    const long frames = arguments.isEmpty() ? 3000 : arguments.front().toLong();
    const QTemporaryDir many;
    if (frames <= 0 || arguments.size() > 1 || !many.isValid()) {
        std::fprintf(stderr, "usage: vantorel-replay-memory [--video] [frames]\n");
        return 2;
    }
    long fewFrames = 7;
    QString fewPath = QStringLiteral(VANTOREL_SAMPLE_DIR);
    QString manyPath = many.path();
    if (video) {
        // Made first, so that the encoder's own peak is in both figures.
        fewFrames = 30;
        fewPath = blackVideo(many, fewFrames);
        manyPath = blackVideo(many, frames);
    } else {
        const QString frame = QStringLiteral(VANTOREL_SAMPLE_DIR "/frame02.png");
        for (long i = 0; i < frames; ++i)
            QFile::link(frame,
                        many.filePath(QStringLiteral("%1.png").arg(i, 7, 10, QLatin1Char('0'))));
    }
    const long few = peakAfterReplay(fewPath);
    const long peak = peakAfterReplay(manyPath);
    std::printf("peak resident memory: %ld KiB on %ld frames, %ld KiB on %ld\n", few, fewFrames,
                peak, frames);
    if (!fixtures::underAddressSanitizer() && peak >= few + AllowedGrowthKiB) {
        std::fprintf(stderr, "vantorel-replay-memory: %ld frames took 64 MiB or more beyond %ld\n",
                     frames, fewFrames);
        return 1;
    }
    return 0;
}
