// The program with the computer's cameras as its capture drivers.

#include "app/RunProgram.h"
#include "cameras/qt/QtCameraSource.h"

#include <QApplication>

int main(int argc, char** argv) {
    const QString program = QStringLiteral("vantorel");
    app::ProgramOptions options;
    if (const std::optional<int> status = app::readCommandLine(program, argc, argv, options))
        return *status;
    QApplication application(argc, argv);
    qtcamera::QtCameraSource cameras;
    return app::runProgram(program, options, cameras);
}
