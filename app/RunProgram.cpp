#include "app/RunProgram.h"

#include "app/Vantorel.h"
#include "capture/service/CaptureService.h"
#include "platform/SeamGuard.h"

#include <QApplication>

namespace app {

int RunProgram(platform::CaptureDriverSource& drivers, const Companion& beside) {
    QApplication::setApplicationName(QStringLiteral("Vantorel"));
    const platform::SeamGuard source(platform::installCaptureDriverSource, &drivers);
    Vantorel window;
    window.Form_Load();
    if (window.Ended())
        return 0;
    window.show();
    const std::unique_ptr<QWidget> companion = beside ? beside(window) : nullptr;
    return QApplication::exec();
}

} // namespace app
