// The program with the computer's cameras as its capture drivers.

#include "app/RunProgram.h"
#include "cameras/qt/QtCameraSource.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    qtcamera::QtCameraSource cameras;
    return app::runProgram(cameras);
}
