#pragma once
// Where a camera driver's pictures come from: an opened camera that hands
// over every frame it takes, lists its modes and picture controls, and says
// when it fails. The real one wraps a Qt camera; tests feed synthetic frames.

#include "cameras/qt/QtCameraControls.h"
#include "cameras/qt/QtCameraModes.h"

#include <QObject>
#include <QVideoFrame>
#include <vector>

namespace qtcamera {

class QtCameraFeed : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts taking pictures (after useMode, so the camera starts once).
    virtual void start() = 0;
    virtual std::vector<CameraMode> modes() const = 0;
    // Switches the camera to one of modes(); out-of-range indexes are ignored.
    virtual void useMode(int index) = 0;
    virtual CameraControls controls() const = 0;
    virtual void setControl(CameraControl::Kind kind, int value) = 0;
    // Lets go of the device so another connection can open it; no frame
    // comes after this.
    virtual void release() = 0;

signals:
    void frameArrived(const QVideoFrame& frame);
    // The camera stopped for good (unplugged, taken by another program),
    // with the reason as the system gave it.
    void failed(const QString& reason);
};

} // namespace qtcamera
