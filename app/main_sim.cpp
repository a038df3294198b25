// The simulated range: the whole program with a simulated camera looking at
// a paper target, and a "Range" window to fire laser shots at it with the
// mouse.

#include "app/RangeWindow.h"
#include "app/Vantorel.h"
#include "platform/CaptureService.h"
#include "platform/SimulatedCamera.h"

#include <QApplication>
#include <QScreen>
#include <algorithm>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantorel"));

    platform::SimulatedCamera camera;
    platform::installCaptureDriverSource(&camera);

    int status = 0;
    {
        app::Vantorel window;
        window.Form_Load();
        if (window.Ended())
            return 0;
        window.show();

        app::RangeWindow range(camera);
        // Beside the main window, on the side where the screen has room.
        const QRect frame = window.frameGeometry();
        const QRect screen = window.screen()->availableGeometry();
        int x = frame.right() + 10;
        if (x + range.width() > screen.right())
            x = std::max(screen.left(), frame.left() - range.width() - 10);
        range.move(x, frame.top());
        range.show();

        status = QApplication::exec();
    }
    platform::installCaptureDriverSource(nullptr);
    return status;
}
