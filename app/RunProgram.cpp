#include "app/RunProgram.h"

#include "app/FrameTap.h"
#include "app/ProgramOptions.h"
#include "app/Vantorel.h"
#include "capture/service/CaptureService.h"
#include "platform/NativeArguments.h"
#include "platform/SeamGuard.h"
#include "record/FrameRecorder.h"

#include <QApplication>
#include <QFileInfo>
#include <cstdio>

namespace app {

namespace {

constexpr int ExitBadOption = 2;

} // namespace

int runProgram(capture::CaptureDriverSource& drivers, const Companion& beside) {
    const QString program = QFileInfo(QApplication::arguments().value(0)).fileName();
    ProgramOptions options;
    QString error;
    if (!parseProgramOptions(QApplication::arguments().mid(1), options, error)) {
        std::fprintf(stderr, "%s: %s (see --help)\n", qPrintable(program), qPrintable(error));
        return ExitBadOption;
    }
    if (options.help) {
        std::fputs(qPrintable(programUsage(program)), stdout);
        return 0;
    }
    std::unique_ptr<record::FrameRecorder> recorder;
    if (!options.recordFolder.isEmpty()) {
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
