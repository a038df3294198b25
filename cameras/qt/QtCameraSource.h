#pragma once
// The capture drivers of the real cameras: the cameras Qt Multimedia lists
// when the source is made, at most ten, driver i for the i-th. A camera that
// appears or disappears later changes nothing until the next start.

#include "cameras/qt/QtCameraSettings.h"
#include "capture/service/CaptureDriver.h"

#include <QCameraDevice>
#include <QList>
#include <QPointer>
#include <array>
#include <memory>

namespace platform {

class QtCameraFeed;

class QtCameraSource : public CaptureDriverSource {
public:
    QtCameraSource(); // the cameras of QMediaDevices::videoInputs()
    explicit QtCameraSource(QList<QCameraDevice> cameras);
    ~QtCameraSource() override;

    // Name: the camera's description; version: the camera backend and the
    // camera's id (the device path of a V4L2 camera).
    bool describe(int index, std::string& name, std::string& version) override;
    // Null for an index without a camera or a camera that cannot be opened.
    std::unique_ptr<CaptureDriver> open(int index) override;

    int count() const { return static_cast<int>(cameras_.size()); }
    // What the format dialog chose for the camera at the index.
    std::shared_ptr<QtCameraSettings> settings(int index) const;

    // "gstreamer" on Linux; QT_MEDIA_BACKEND names another backend.
    static QString backendName();

private:
    QList<QCameraDevice> cameras_;
    std::array<std::shared_ptr<QtCameraSettings>, DriverIndexes> settings_;
    // The camera each index has open, released when the index connects anew.
    std::array<QPointer<QtCameraFeed>, DriverIndexes> open_;
};

} // namespace platform
