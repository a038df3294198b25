#pragma once
// Exposure, gain and brightness through the V4L2 controls of a camera's
// device node, for cameras whose Qt backend does not offer them. The node is
// opened a second time beside the streaming one, which V4L2 allows.

#include "cameras/qt/QtCameraControls.h"

#include <QString>

class QCameraDevice;

namespace qtcamera {

class QtCameraV4l2Controls {
public:
    // A path that is not a V4L2 device gives an empty control list.
    explicit QtCameraV4l2Controls(const QString& devicePath);
    ~QtCameraV4l2Controls();
    QtCameraV4l2Controls(const QtCameraV4l2Controls&) = delete;
    QtCameraV4l2Controls& operator=(const QtCameraV4l2Controls&) = delete;

    // The device node of a Qt camera: its id when that is a node, else the
    // capture node named like the camera in sysfs (the n-th of that name
    // for the n-th listed camera of that name). Empty when there is none.
    static QString findNode(const QCameraDevice& camera);
    static QString findNode(const QString& id, const QString& description, int sameNameBefore,
                            const QString& sysClass = QStringLiteral("/sys/class/video4linux"));

    // The controls the device offers now (disabled ones are left out).
    CameraControls list() const;
    // Sets a control; exposure switches the camera to manual exposure first.
    bool set(CameraControl::Kind kind, int value);

private:
    int fd_ = -1;
};

} // namespace qtcamera
