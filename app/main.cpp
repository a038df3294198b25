// The program with a real web camera: the cameras Qt Multimedia finds are the
// capture drivers, the first one found is connected at start-up.

#include "app/Vantorel.h"
#include "platform/CaptureService.h"
#include "platform/QtCameraSource.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantorel"));

    // The camera list is taken once, now: cameras plugged in later count from
    // the next start.
    platform::QtCameraSource cameras;
    platform::installCaptureDriverSource(&cameras);

    app::Vantorel window;
    window.Form_Load(); // without a camera, says so and ends here
    if (window.Ended())
        return 0;
    window.show();

    const int status = QApplication::exec();
    platform::installCaptureDriverSource(nullptr);
    return status;
}
