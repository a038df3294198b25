// vantorel-replay-memory [frames]: the replay tool's peak resident memory on
// its sample (7 frames), then on the sample's frame02 linked the given number
// of times (3000 unless told otherwise). The tool reads its frames one at a
// time, so the peak must not grow with the count: each frame held would take
// 57,600 bytes, 3000 of them 165 MiB. Exits 1 when the many frames take
// 64 MiB more than the few (not under AddressSanitizer, whose quarantine
// holds freed memory on purpose), or when a run fails.

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

// Runs the tool on the folder, its hits discarded; the peak after it.
long peakAfterReplay(const QString& folder) {
    QProcess replay;
    replay.setStandardOutputFile(QProcess::nullDevice());
    replay.start(QStringLiteral(VANTOREL_REPLAY_TOOL), {folder});
    if (!replay.waitForFinished(600'000) || replay.exitStatus() != QProcess::NormalExit ||
        replay.exitCode() != 0) {
        std::fprintf(stderr, "vantorel-replay-memory: the replay of %s failed: %s\n",
                     qPrintable(folder), replay.readAllStandardError().constData());
        std::exit(1);
    }
    return childrenPeakKiB();
}

} // namespace

int main(int argc, char** argv) {
    const QCoreApplication app(argc, argv);
    const long frames = argc > 1 ? std::atol(argv[1]) : 3000;
    const QTemporaryDir many;
    if (frames <= 0 || !many.isValid()) {
        std::fprintf(stderr, "usage: vantorel-replay-memory [frames]\n");
        return 2;
    }
    const QString frame = QStringLiteral(VANTOREL_SAMPLE_DIR "/frame02.png");
    for (long i = 0; i < frames; ++i)
        QFile::link(frame, many.filePath(QStringLiteral("%1.png").arg(i, 7, 10, QLatin1Char('0'))));
    const long few = peakAfterReplay(QStringLiteral(VANTOREL_SAMPLE_DIR));
    const long peak = peakAfterReplay(many.path());
    std::printf("peak resident memory: %ld KiB on 7 frames, %ld KiB on %ld\n", few, peak, frames);
    if (!testsupport::underAddressSanitizer() && peak >= few + AllowedGrowthKiB) {
        std::fprintf(stderr, "vantorel-replay-memory: %ld frames took 64 MiB or more beyond 7\n",
                     frames);
        return 1;
    }
    return 0;
}
