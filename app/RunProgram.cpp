#include "app/RunProgram.h"

#include "app/Vantorel.h"
#include "capture/service/CaptureService.h"

#include <QApplication>

namespace app {

int RunProgram(platform::CaptureDriverSource& drivers, const Companion& beside) {
    QApplication::setApplicationName(QStringLiteral("Vantorel"));
    platform::installCaptureDriverSource(&drivers);
    int status = 0;
    {
        Vantorel window;
        window.Form_Load();
        if (!window.Ended()) {
            window.show();
            const std::unique_ptr<QWidget> companion = beside ? beside(window) : nullptr;
            status = QApplication::exec();
        }
    }
    platform::installCaptureDriverSource(nullptr);
    return status;
}

} // namespace app
