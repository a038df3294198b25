#include "cameras/qt/QtCameraSource.h"

#include "cameras/qt/QtCameraDevice.h"
#include "cameras/qt/QtCameraDriver.h"
#include "cameras/qt/QtCameraV4l2Controls.h"

#include <QMediaDevices>

namespace qtcamera {

QtCameraSource::QtCameraSource() : devices_(std::make_unique<QMediaDevices>()) {
    follow(QMediaDevices::videoInputs());
    QObject::connect(devices_.get(), &QMediaDevices::videoInputsChanged, devices_.get(),
                     [this] { follow(QMediaDevices::videoInputs()); });
    for (auto& settings : settings_)
        settings = std::make_shared<QtCameraSettings>();
}

void QtCameraSource::follow(const QList<QCameraDevice>& listed) {
    std::vector<bool> taken(static_cast<std::size_t>(listed.size()));
    const auto take = [&](const auto& matches) {
        for (qsizetype i = 0; i < listed.size(); ++i) {
            if (!taken[static_cast<std::size_t>(i)] && matches(listed[i])) {
                taken[static_cast<std::size_t>(i)] = true;
                return listed[i];
            }
        }
        return QCameraDevice();
    };
    // Devices still listed stay; an index whose device is gone takes a new
    // device of its camera's name, if one is listed.
    for (Camera& camera : cameras_) {
        if (!camera.device.isNull())
            camera.device = take([&](const QCameraDevice& d) { return d == camera.device; });
    }
    for (Camera& camera : cameras_) {
        if (camera.device.isNull())
            camera.device =
                take([&](const QCameraDevice& d) { return d.description() == camera.description; });
    }
    for (qsizetype i = 0;
         i < listed.size() && static_cast<int>(cameras_.size()) < capture::DriverIndexes; ++i) {
        if (!taken[static_cast<std::size_t>(i)])
            cameras_.push_back({listed[i].description(), listed[i]});
    }
}

QtCameraSource::~QtCameraSource() = default;

QString QtCameraSource::backendName() {
    QString chosen = qEnvironmentVariable("QT_MEDIA_BACKEND");
    if (!chosen.isEmpty())
        return chosen;
#if defined(Q_OS_WIN)
    return QStringLiteral("windows");
#elif defined(Q_OS_MACOS)
    return QStringLiteral("darwin");
#else
    return QStringLiteral("gstreamer");
#endif
}

bool QtCameraSource::describe(int index, std::string& name, std::string& version) {
    if (index < 0 || index >= count())
        return false;
    const Camera& camera = cameras_[static_cast<std::size_t>(index)];
    name = camera.description.toStdString();
    const QString node = QtCameraV4l2Controls::findNode(camera.device);
    version = (backendName() + QLatin1Char(' ') +
               (node.isEmpty() ? QString::fromUtf8(camera.device.id()) : node))
                  .toStdString();
    return true;
}

QCameraDevice QtCameraSource::device(int index) const {
    return index >= 0 && index < count() ? cameras_[static_cast<std::size_t>(index)].device
                                         : QCameraDevice();
}

std::shared_ptr<QtCameraSettings> QtCameraSource::settings(int index) const {
    if (index < 0 || index >= capture::DriverIndexes)
        return nullptr;
    return settings_[static_cast<std::size_t>(index)];
}

std::unique_ptr<capture::CaptureDriver> QtCameraSource::open(int index) {
    if (index < 0 || index >= count())
        return nullptr;
    // The driver being replaced may still hold the device; a camera cannot
    // be opened twice.
    auto& previous = open_[static_cast<std::size_t>(index)];
    if (previous)
        previous->release();
    // Qt crashes opening a device it no longer lists.
    if (devices_)
        follow(QMediaDevices::videoInputs());
    std::unique_ptr<QtCameraDevice> camera = QtCameraDevice::open(device(index));
    if (!camera)
        return nullptr;
    previous = camera.get();
    return std::make_unique<QtCameraDriver>(std::move(camera),
                                            settings_[static_cast<std::size_t>(index)]);
}

} // namespace qtcamera
