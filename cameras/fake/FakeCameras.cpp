#include "cameras/fake/FakeCameras.h"

#include <QCameraDevice>
#include <QDir>
#include <QFile>
#include <QMediaDevices>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

namespace fakecamera {
namespace {

QString configFile() {
    static QTemporaryDir folder;
    static const QString file = [] {
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
        qputenv("GST_PLUGIN_PATH", VANTOREL_FAKE_CAMERA_DIR);
        // Beside the plugin, never the user's; shared by the test processes.
        qputenv("GST_REGISTRY", VANTOREL_FAKE_CAMERA_DIR "/registry.bin");
        // A real camera on the machine must not join the tests' cameras.
        qputenv("GST_PLUGIN_FEATURE_RANK",
                "v4l2deviceprovider:NONE,pipewiredeviceprovider:NONE,libcameraprovider:NONE");
        QString path = folder.filePath(QStringLiteral("cameras.txt"));
        qputenv("FAKE_CAMERA_CONFIG", QFile::encodeName(path));
        return path;
    }();
    return file;
}

// Writes the cameras and waits until Qt lists their names.
bool writeCameras(const QList<FakeCamera>& cameras) {
    QSaveFile file(configFile());
    QStringList names;
    file.open(QIODevice::WriteOnly);
    for (const FakeCamera& camera : cameras) {
        file.write(camera.line().toUtf8() + '\n');
        names << camera.name;
    }
    file.commit();
    names.sort();
    return QTest::qWaitFor([&] { return listedCameras() == names; }, 5000);
}

} // namespace

QStringList listedCameras() {
    QStringList names;
    for (const QCameraDevice& camera : QMediaDevices::videoInputs())
        names << camera.description();
    names.sort();
    return names;
}

bool plugCameras(const QList<FakeCamera>& cameras) {
    static QList<FakeCamera> plugged;
    // Unplugged first, so a camera replaced by another of its name is seen
    // to go before the new one counts as listed.
    QList<FakeCamera> kept;
    for (const FakeCamera& camera : plugged)
        if (cameras.contains(camera))
            kept << camera;
    const bool done =
        (kept.size() == plugged.size() || writeCameras(kept)) && writeCameras(cameras);
    plugged = cameras;
    return done;
}

} // namespace fakecamera
