// vantorel-replay: runs recorded frames through the capture window and the
// frame analysis, and prints every hit that reaches the target; or, with
// --tune, finds the detection parameters that give a recording's shots.

#include "detection/MotionDetection.h"
#include "tools/replay/FrameSource.h"
#include "tools/replay/ReplayOptions.h"
#include "tools/replay/ReplaySession.h"
#include "tools/replay/ToolOutput.h"
#include "tools/replay/TuneCommand.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <optional>

using replay::fail;
using replay::outputIntact;

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
        return outputIntact(error) ? 0 : fail(error, replay::ExitOutputLost);
    }
    const std::unique_ptr<replay::FrameSource> frames =
        replay::FrameSource::open(options.paths, error);
    if (!frames)
        return fail(error);

    // The setters save at once; they must never touch the user's settings,
    // except for the values --tune --apply stores at the end. The store
    // finds its file from the variable on every call.
    const std::optional<QByteArray> userConfig =
        qEnvironmentVariableIsSet("XDG_CONFIG_HOME")
            ? std::optional<QByteArray>(qgetenv("XDG_CONFIG_HOME"))
            : std::nullopt;
    const QTemporaryDir scratchStore;
    if (!scratchStore.isValid())
        return fail(QStringLiteral("cannot create a temporary folder for the settings"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratchStore.path()));

    if (options.tuneShots != 0)
        return replay::runTune(*frames, options.tuneShots, options.apply, [&userConfig] {
            if (userConfig)
                qputenv("XDG_CONFIG_HOME", *userConfig);
            else
                qunsetenv("XDG_CONFIG_HOME");
        });

    int status = 0;
    replay::ReplaySession session(
        {options.sampleEvery, options.compareEvery, options.tolerance, options.maxBeam});
    if (!session.connected())
        return fail(QStringLiteral("cannot connect the capture window"));
    replay::SourceFrame frame;
    // --pause: the time of the last hit reported, as the game's pause starts.
    std::optional<double> lastReported;
    const double pauseSeconds = options.pauseMs / 1000.0;
    for (std::int64_t index = 0; std::ferror(stdout) == 0; ++index) {
        if (!frames->next(frame, error)) {
            if (!error.isEmpty())
                status = fail(error);
            break;
        }
        const std::optional<replay::Hit> hit = session.push(frame.pixels);
        if (!hit || (lastReported && frame.seconds - *lastReported < pauseSeconds))
            continue;
        lastReported = frame.seconds;
        std::printf("frame=%lld x=%d y=%d score=%.4f ring=%d\n", static_cast<long long>(index),
                    hit->x, hit->y, hit->score,
                    static_cast<int>(MotionDetection::ShotScore(hit->score)));
    }
    if (!outputIntact(error))
        return fail(error, replay::ExitOutputLost);
    return status;
}
