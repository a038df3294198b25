#pragma once
// A real camera opened through Qt Multimedia: a QCamera in a capture session
// that hands its frames to a video sink. Kept thin on purpose: it cannot run
// without a camera, so everything it does beyond opening the device and
// passing frames on lives in the driver.

#include "cameras/qt/QtCameraFeed.h"
#include "cameras/qt/QtCameraV4l2Controls.h"

#include <QCamera>
#include <QCameraDevice>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QVideoSink>
#include <memory>

namespace qtcamera {

class QtCameraDevice : public QtCameraFeed {
    Q_OBJECT
public:
    // Null when the camera cannot be opened (gone, or no camera backend).
    static std::unique_ptr<QtCameraDevice> open(const QCameraDevice& device);
    ~QtCameraDevice() override;

    void start() override;
    std::vector<CameraMode> modes() const override;
    void useMode(int index) override;
    CameraControls controls() const override;
    void setControl(CameraControl::Kind kind, int value) override;
    void release() override;

private:
    explicit QtCameraDevice(const QCameraDevice& device);

    QCameraDevice device_;
    QMediaDevices devices_; // tells when the camera is unplugged
    QMediaCaptureSession session_;
    QVideoSink sink_;
    std::unique_ptr<QCamera> camera_;
    QtCameraV4l2Controls v4l2_;
};

} // namespace qtcamera
