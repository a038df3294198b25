// vantorel-replay: runs recorded frames through the capture window and the
// frame analysis, and prints every hit that reaches the target.

#include "detection/MotionDetection.h"
#include "tools/replay/FrameSource.h"
#include "tools/replay/ReplayOptions.h"
#include "tools/replay/ReplaySession.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr int exitOutputLost = 1;
constexpr int exitBadInput = 2;

int fail(const QString& message, int status = exitBadInput) {
    std::fprintf(stderr, "vantorel-replay: %s\n", message.toLocal8Bit().constData());
    return status;
}

// The results printed so far are on their way, or the reason they are lost.
bool outputIntact(QString& why) {
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0)
        return true;
    why = QStringLiteral("cannot write the results: %1")
              .arg(QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    // Nothing is shown: the offscreen platform needs no window system,
    // whatever the caller's session names.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt would take arguments such as "-platform" or "-style" for itself.
    int qtArgc = 1;
    const QApplication app(qtArgc, argv);

    replay::ReplayOptions options;
    QString error;
    if (!replay::parseOptions(std::vector<QByteArray>(argv + 1, argv + argc), options, error))
        return fail(error);
    if (options.help) {
        std::fputs(qPrintable(replay::usageText()), stdout);
        return outputIntact(error) ? 0 : fail(error, exitOutputLost);
    }
    const std::unique_ptr<replay::FrameSource> frames =
        replay::FrameSource::open(options.paths, error);
    if (!frames)
        return fail(error);

    // The setters save at once; they must never touch the user's settings.
    const QTemporaryDir scratchStore;
    if (!scratchStore.isValid())
        return fail(QStringLiteral("cannot create a temporary folder for the settings"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratchStore.path()));

    int status = 0;
    replay::ReplaySession session(
        {options.sampleEvery, options.compareEvery, options.tolerance, options.maxBeam});
    if (!session.connected())
        return fail(QStringLiteral("cannot connect the capture window"));
    replay::SourceFrame frame;
    for (std::int64_t index = 0; std::ferror(stdout) == 0; ++index) {
        if (!frames->next(frame, error)) {
            if (!error.isEmpty())
                status = fail(error);
            break;
        }
        if (const std::optional<replay::Hit> hit = session.push(frame.pixels))
            std::printf("frame=%lld x=%d y=%d score=%.4f ring=%d\n", static_cast<long long>(index),
                        hit->x, hit->y, hit->score,
                        static_cast<int>(MotionDetection::ShotScore(hit->score)));
    }
    if (!outputIntact(error))
        return fail(error, exitOutputLost);
    return status;
}
