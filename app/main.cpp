// The program with the computer's cameras as its capture drivers.

#include "app/Vantorel.h"
#include "platform/CaptureService.h"
#include "platform/QtCameraSource.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantorel"));

    platform::QtCameraSource cameras;
    platform::installCaptureDriverSource(&cameras);

    int status = 0;
    {
        app::Vantorel window;
        window.Form_Load();
        if (window.Ended())
            return 0;
        window.show();
        status = QApplication::exec();
    }
    platform::installCaptureDriverSource(nullptr);
    return status;
}
