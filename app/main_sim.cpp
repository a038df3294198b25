// The simulated range: the whole program with a simulated camera looking at
// a paper target, and a "Range" window to fire laser shots at it with the
// mouse.

#include "app/RunProgram.h"
#include "app/Vantorel.h"
#include "cameras/sim/RangeWindow.h"
#include "cameras/sim/SimulatedCamera.h"

#include <QApplication>
#include <QScreen>
#include <algorithm>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    platform::SimulatedCamera camera;
    return app::RunProgram(camera, [&camera](app::Vantorel& window) {
        auto range = std::make_unique<app::RangeWindow>(camera);
        // Beside the main window, on the side where the screen has room.
        const QRect frame = window.frameGeometry();
        const QRect screen = window.screen()->availableGeometry();
        int x = frame.right() + 10;
        if (x + range->width() > screen.right())
            x = std::max(screen.left(), frame.left() - range->width() - 10);
        range->move(x, frame.top());
        range->show();
        return std::unique_ptr<QWidget>(std::move(range));
    });
}
