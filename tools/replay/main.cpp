// vantorel-replay: runs recorded frames through the capture window and the
// frame analysis, and prints every hit that reaches the target; or, with
// --tune, finds the detection parameters that give a recording's shots.
// --apply stores the values in the settings of vantorel.

#include "detection/MotionDetection.h"
#include "platform/Product.h"
#include "tools/replay/FrameSource.h"
#include "tools/replay/ReplayOptions.h"
#include "tools/replay/ReplaySession.h"
#include "tools/replay/SettingsUpdate.h"
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

namespace {

// Prints every hit the frames make; answers the exit status.
int replayFrames(replay::FrameSource& frames, const replay::ReplayOptions& options) {
    replay::ReplaySession session({options.sampleEvery, options.compareEvery, options.tolerance,
                                   options.maxBeam, options.enhanced});
    if (!session.connected())
        return fail(QStringLiteral("cannot connect the capture window"));
    int status = 0;
    QString error;
    replay::SourceFrame frame;
    // --pause: the time of the last hit reported, as the game's pause starts.
    std::optional<double> lastReported;
    const double pauseSeconds = options.pauseMs / 1000.0;
    for (std::int64_t index = 0; std::ferror(stdout) == 0; ++index) {
        if (!frames.next(frame, error)) {
            if (!error.isEmpty())
                status = fail(error);
            break;
        }
        const capture::FullFrame& picture = frame.picture.frame();
        const std::optional<replay::Hit> hit =
            session.push(frame.pixels, picture.empty() ? nullptr : &picture);
        if (!hit || (lastReported && frame.seconds - *lastReported < pauseSeconds))
            continue;
        lastReported = frame.seconds;
        std::printf("frame=%lld x=%d y=%d score=%.4f ring=%d\n", static_cast<long long>(index),
                    hit->x, hit->y, hit->score,
                    static_cast<int>(MotionDetection::shotScore(hit->score)));
    }
    if (!outputIntact(error))
        return fail(error, replay::ExitOutputLost);
    return status;
}

// The values given on the command line, those alone.
replay::SettingsUpdate givenValues(const replay::ReplayOptions& options) {
    const auto given = [](bool isGiven, std::int32_t value) {
        return isGiven ? std::optional(value) : std::nullopt;
    };
    return {given(options.given.sampleEvery, options.sampleEvery),
            given(options.given.compareEvery, options.compareEvery),
            given(options.given.tolerance, options.tolerance),
            given(options.given.maxBeam, options.maxBeam)};
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
    if (options.help || options.version) {
        std::fputs(options.help
                       ? qPrintable(replay::usageText())
                       : qPrintable(QStringLiteral("vantorel-replay %1\n").arg(platform::Version)),
                   stdout);
        return outputIntact(error) ? 0 : fail(error, replay::ExitOutputLost);
    }
    std::unique_ptr<replay::FrameSource> frames;
    if (!options.paths.empty()) {
        frames = replay::FrameSource::open(options.paths, error);
        if (!frames)
            return fail(error);
    }

    // The setters save at once; they must never touch the user's settings,
    // except for the values --apply stores at the end. The store finds its
    // file from the variable on every call.
    const std::optional<QByteArray> userConfig =
        qEnvironmentVariableIsSet("XDG_CONFIG_HOME")
            ? std::optional<QByteArray>(qgetenv("XDG_CONFIG_HOME"))
            : std::nullopt;
    const QTemporaryDir scratchStore;
    if (!scratchStore.isValid())
        return fail(QStringLiteral("cannot create a temporary folder for the settings"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratchStore.path()));
    const auto useUserSettings = [&userConfig] {
        if (userConfig)
            qputenv("XDG_CONFIG_HOME", *userConfig);
        else
            qunsetenv("XDG_CONFIG_HOME");
    };

    if (options.tuneShots != 0)
        return replay::runTune(*frames, options.tuneShots, options.apply, useUserSettings);

    // What is stored must have been seen: hits that could not be printed,
    // or frames that could not be read, store nothing.
    if (frames)
        if (const int status = replayFrames(*frames, options); status != 0)
            return status;
    if (!options.apply)
        return 0;
    useUserSettings();
    if (const QString problem = replay::storeInSettings(givenValues(options)); !problem.isEmpty())
        return fail(QStringLiteral("the values were not stored: %1").arg(problem),
                    replay::ExitOutputLost);
    std::printf("The values were stored in the settings.\n");
    return outputIntact(error) ? 0 : fail(error, replay::ExitOutputLost);
}
