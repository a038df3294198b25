// The simulated range: the whole program with a simulated camera looking at
// a paper target, and a "Range" window to fire laser shots at it with the
// mouse.

#include "app/RunProgram.h"
#include "app/Vantorel.h"
#include "cameras/sim/RangeWindow.h"
#include "cameras/sim/SimulatedCamera.h"

#include <QApplication>

int main(int argc, char** argv) {
    const QString program = QStringLiteral("vantorel-sim");
    app::ProgramOptions options;
    if (const std::optional<int> status = app::readCommandLine(program, argc, argv, options))
        return *status;
    QApplication application(argc, argv);
    simcamera::SimulatedCamera camera;
    return app::runProgram(program, options, camera, [&camera](app::Vantorel& window) {
        auto range = std::make_unique<simcamera::RangeWindow>(camera);
        range->showBeside(window);
        return std::unique_ptr<QWidget>(std::move(range));
    });
}
