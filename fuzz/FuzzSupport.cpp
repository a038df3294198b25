#include "fuzz/FuzzSupport.h"

#include "capture/AVICAP.h"
#include "capture/service/CaptureService.h"
#include "capture/service/CaptureWindow.h"
#include "capture/service/HeadlessCaptureWindow.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

namespace fuzz {

void startQt() {
    static const bool started = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // The parameter setters save at once: never into the user's settings,
        // and in memory where it can be, since a disk's sync costs far more
        // than a run of the target.
        static const QTemporaryDir settings(QDir(QStringLiteral("/dev/shm")).exists()
                                                ? QStringLiteral("/dev/shm/vantorel-fuzz-XXXXXX")
                                                : QDir::tempPath() +
                                                      QStringLiteral("/vantorel-fuzz-XXXXXX"));
        qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        static const QApplication app(argc, argv);
        return true;
    }();
    (void)started;
}

FuzzCapture& fuzzCapture() {
    static FuzzCapture capture = [] {
        startQt();
        static replay::ReplayDriverSource source;
        // The service's table of windows is made first, so that it outlives
        // the window that goes at exit.
        capture::findCaptureWindow(0);
        static const capture::HeadlessCaptureWindow window(source);
        static const capture::CaptureWindow::ImmediateDelivery immediate;
        FuzzCapture made;
        made.window = window.handle();
        if (!window.connected() || source.driver() == nullptr)
            std::abort();
        made.driver = source.driver();
        AVICAP::SetPreview(made.window, true);
        return made;
    }();
    return capture;
}

} // namespace fuzz
