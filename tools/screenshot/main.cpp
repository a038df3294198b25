// vantorel-screenshot OUT.png: runs the simulated range off screen, fires a
// full series of ten shots and saves a picture of the main window.
//
// It uses a private, temporary home (settings, font folder) and no sound
// server, so it leaves the user's own folders alone and stays silent.

#include "app/Vantorel.h"
#include "cameras/sim/SimulatedCamera.h"
#include "capture/service/CaptureService.h"
#include "platform/MessageBox.h"
#include "platform/SeamGuard.h"

#include <QApplication>
#include <QPixmap>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

namespace {

struct Shot {
    double dx; // steps of 5 pixels from the picture's centre, right
    double dy; // and up; 0, 0 is the bull's eye
};

// A fair series: a tight group around the centre with a few fliers.
const std::vector<Shot> Series{{0, 0},      {1.5, 1.5}, {-1.5, 2.5}, {2.5, -1.5}, {-2.5, -2.5},
                               {1.5, -3.5}, {3.5, 1.5}, {-3.5, 1.5}, {4.5, 3.5},  {-1.5, -1.5}};

void deliver(simcamera::SimulatedCamera& camera, int frames) {
    for (int i = 0; i < frames; ++i)
        camera.deliverNextFrame();
}

// A dot of radius 4, on the bull's eye the simulated camera's own 7.5: each
// spans many compared pixels and stays well below Maximal Laser Beam
// Diameter.
void fire(simcamera::SimulatedCamera& camera, const Shot& shot) {
    const bool centre = shot.dx == 0.0 && shot.dy == 0.0;
    camera.scene().dotRadius = centre ? 7.5 : 4.0;
    camera.firePulseFromCentre(QPointF(shot.dx, shot.dy) * 5.0, 3);
    deliver(camera, 4);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vantorel-screenshot OUT.png\n");
        return 2;
    }
    QTemporaryDir home;
    if (!home.isValid()) {
        std::fprintf(stderr, "vantorel-screenshot: no temporary folder\n");
        return 1;
    }
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toLocal8Bit());
    qputenv("PULSE_SERVER", (home.path() + QStringLiteral("/no-sound-server")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantorel"));
    // Nothing should ask; if something does, say so rather than wait.
    const platform::SeamGuard answers(
        platform::setMessageHandler, [](const platform::MessageRequest& request) {
            std::fprintf(stderr, "vantorel-screenshot: %s\n", qPrintable(request.text));
            return platform::IDNO;
        });

    simcamera::SimulatedCamera camera;
    const platform::SeamGuard source(capture::installCaptureDriverSource, &camera);
    int status = 0;
    {
        app::Vantorel window;
        window.Form_Load();
        if (window.Ended())
            return 1;
        window.show();
        QApplication::processEvents();

        deliver(camera, 3); // the analysis needs a settled picture first
        window.Command1_Click();
        window.Timer1_Timer(); // the pause after "New Game" ends
        for (const Shot& shot : Series) {
            fire(camera, shot);
            window.Timer1_Timer();
        }
        if (window.ShotCount() != static_cast<int>(Series.size()))
            std::fprintf(stderr, "vantorel-screenshot: only %d shots were scored\n",
                         window.ShotCount());
        camera.scene().dotRadius = 2.5;
        deliver(camera, 2); // a live picture without a dot
        QApplication::processEvents();

        if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
            std::fprintf(stderr, "vantorel-screenshot: cannot write %s\n", argv[1]);
            status = 1;
        }
    }
    return status;
}
