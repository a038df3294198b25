#pragma once
// Exposure, gain and brightness through the V4L2 controls of a camera's
// device node, for cameras whose Qt backend does not offer them. The node is
// opened a second time beside the streaming one, which V4L2 allows.

#include "cameras/qt/QtCameraControls.h"

#include <QString>

namespace platform {

class QtCameraV4l2Controls {
public:
    // A path that is not a V4L2 device gives an empty control list.
    explicit QtCameraV4l2Controls(const QString& devicePath);
    ~QtCameraV4l2Controls();
    QtCameraV4l2Controls(const QtCameraV4l2Controls&) = delete;
    QtCameraV4l2Controls& operator=(const QtCameraV4l2Controls&) = delete;

    // The controls the device offers now (disabled ones are left out).
    CameraControls list() const;
    // Sets a control; exposure switches the camera to manual exposure first.
    bool set(CameraControl::Kind kind, int value);

private:
    int fd_ = -1;
};

} // namespace platform
