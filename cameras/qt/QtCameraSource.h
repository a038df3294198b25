#pragma once
// The capture drivers of the real cameras: the cameras Qt Multimedia lists
// when the source is made, at most ten, driver i for the i-th. Each index
// keeps its camera's name: a camera unplugged and plugged in again comes back
// under a new device, which its old index then opens. Cameras plugged in
// later take the free indexes.

#include "cameras/qt/QtCameraSettings.h"
#include "capture/service/CaptureDriver.h"

#include <QCameraDevice>
#include <QList>
#include <QMediaDevices>
#include <QPointer>
#include <array>
#include <memory>
#include <vector>

namespace qtcamera {

class QtCameraFeed;

class QtCameraSource : public capture::CaptureDriverSource {
public:
    QtCameraSource(); // the cameras of QMediaDevices::videoInputs(), followed
    ~QtCameraSource() override;

    // Name: the camera's description; version: the camera backend and the
    // camera's id (the device path of a V4L2 camera).
    bool describe(int index, std::string& name, std::string& version) override;
    // Null for an index without a camera or a camera that cannot be opened.
    // The camera is looked up afresh: a device no longer listed is never used.
    std::unique_ptr<capture::CaptureDriver> open(int index) override;

    int count() const { return static_cast<int>(cameras_.size()); }
    // The device the index opens now; null while its camera is unplugged.
    QCameraDevice device(int index) const;
    // What the format dialog chose for the camera at the index.
    std::shared_ptr<QtCameraSettings> settings(int index) const;

    // "gstreamer" on Linux; QT_MEDIA_BACKEND names another backend.
    static QString backendName();

private:
    void follow(const QList<QCameraDevice>& listed);

    struct Camera {
        QString description;
        QCameraDevice device;
    };
    std::vector<Camera> cameras_;
    std::unique_ptr<QMediaDevices> devices_;
    std::array<std::shared_ptr<QtCameraSettings>, capture::DriverIndexes> settings_;
    // The camera each index has open, released when the index connects anew.
    std::array<QPointer<QtCameraFeed>, capture::DriverIndexes> open_;
};

} // namespace qtcamera
