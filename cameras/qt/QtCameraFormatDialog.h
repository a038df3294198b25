#pragma once
// The camera's format dialog: the output size and bit depth the program
// receives, and the camera's own mode (resolution and frame rate, from the
// modes the camera lists, or chosen automatically).

#include "cameras/qt/QtCameraModes.h"
#include "cameras/qt/QtCameraSettings.h"

#include <QDialog>
#include <vector>

class QComboBox;

namespace qtcamera {

class QtCameraFormatDialog : public QDialog {
    Q_OBJECT
public:
    QtCameraFormatDialog(const std::vector<CameraMode>& modes, const QtCameraSettings& current,
                         QWidget* parent = nullptr);

    // The settings as the dialog shows them now.
    QtCameraSettings chosen() const;

private:
    QtCameraSettings current_;
    QComboBox* outputSize_;
    QComboBox* bitDepth_;
    QComboBox* cameraMode_;
};

} // namespace qtcamera
