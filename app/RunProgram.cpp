#include "app/RunProgram.h"

#include "app/FrameTap.h"
#include "app/Vantorel.h"
#include "capture/service/CaptureService.h"
#include "platform/NativeArguments.h"
#include "platform/Product.h"
#include "platform/SeamGuard.h"
#include "record/FrameRecorder.h"

#include <QApplication>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace app {

namespace {

constexpr int ExitOutputLost = 1;
constexpr int ExitBadOption = 2;

} // namespace

std::optional<int> readCommandLine(const QString& program, int argc, const char* const* argv,
                                   ProgramOptions& options) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QString error;
    if (!parseProgramOptions(arguments, options, error)) {
        std::fprintf(stderr, "%s: %s (see --help)\n", qPrintable(program), qPrintable(error));
        return ExitBadOption;
    }
    if (!options.help && !options.version)
        return std::nullopt;
    const QString text = options.help ? programUsage(program)
                                      : QStringLiteral("%1 %2\n").arg(program, platform::Version);
    std::fputs(text.toLocal8Bit().constData(), stdout);
    // A full disk or a closed pipe: the text was not seen, which a script
    // must be able to tell.
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fprintf(stderr, "%s: cannot write to standard output: %s\n", qPrintable(program),
                     std::strerror(errno));
        return ExitOutputLost;
    }
    return 0;
}

int runProgram(const QString& program, const ProgramOptions& options,
               capture::CaptureDriverSource& drivers, const Companion& beside) {
    std::unique_ptr<record::FrameRecorder> recorder;
    if (!options.recordFolder.isEmpty()) {
        QString error;
        // The folder's own bytes, whatever they read as; the run folder in
        // it is named once the first frame is written.
        recorder = record::FrameRecorder::start(platform::nativeArgument(options.recordFolder),
                                                options.recordAll
                                                    ? record::FrameRecorder::Mode::AllFrames
                                                    : record::FrameRecorder::Mode::AroundHits,
                                                error);
        if (!recorder) {
            std::fprintf(stderr, "%s: cannot record frames: %s\n", qPrintable(program),
                         qPrintable(error));
            return ExitBadOption;
        }
    }

    QApplication::setApplicationName(QStringLiteral("Vantorel"));
    const platform::SeamGuard source(capture::installCaptureDriverSource, &drivers);
    const platform::SeamGuard recording(setFrameRecorder, recorder.get());
    Vantorel window;
    window.Form_Load();
    if (window.Ended())
        return 0;
    window.show();
    const std::unique_ptr<QWidget> companion = beside ? beside(window) : nullptr;
    return QApplication::exec();
}

} // namespace app
