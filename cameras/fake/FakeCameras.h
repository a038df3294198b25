#pragma once
// Plugging in the fake GStreamer cameras of this folder's plugin, under Qt
// Multimedia's real camera path. The first use points Qt at the GStreamer backend with the
// fake plugin, a private plugin registry and no real camera provider, so it
// must come before anything touches Qt Multimedia's devices.

#include <QString>
#include <QStringList>

namespace fakecamera {

// One camera as the fake plugin reads it: "name | modes | folder".
struct FakeCamera {
    QString name;
    QString modes;  // "YUY2 640x480, MJPG 1280x720"; empty for every raw mode
    QString folder; // pictures to play; empty for a drawn target
    QString line() const { return name + " | " + modes + " | " + folder; }
    bool operator==(const FakeCamera&) const = default;
};

// Plugs in exactly these cameras (the others are unplugged) and waits until
// Qt lists them; before Qt's first look, they are there from the start.
// False when Qt did not follow within 5 s.
bool plugCameras(const QList<FakeCamera>& cameras);

// The descriptions Qt lists now, sorted.
QStringList listedCameras();

} // namespace fakecamera
